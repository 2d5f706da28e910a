// How close the library gets to the wire: every parameter address read once, one transfer
// each, from ecusim emulating a 19200 baud line, against the time the bytes alone need on
// that line plus the controller's turnaround. See docs/benchmarks.md.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <string>

#include "components/comm/Qorconnection.h"
#include "ecusim/EcuParameterTable.h"
#include "ecusim/SimulatorProcess.h"
#include "serlink/WireFrame.h"
#include "serlink/WireProtocol.h"

namespace {

constexpr int kBaud = 19200;
constexpr int kTurnaroundMs = 2;
// A read by address: 2 bytes of address out, a status and the byte back.
constexpr std::size_t kRequestBytes = 6 + 2;
constexpr std::size_t kReplyBytes = 6 + 2;

std::set<int> ParameterAddresses() {
  std::set<int> addresses;
  for (const vzt::EcuParameter& p : vzt::EcuParameters()) addresses.insert(p.address);
  return addresses;
}

double FloorMs(std::size_t transfers) {
  const double wire_ms =
      static_cast<double>((kRequestBytes + kReplyBytes) * vzt::wire::kBitsPerByte) * 1000 / kBaud;
  return static_cast<double>(transfers) * (wire_ms + kTurnaroundMs);
}

bool OpenLink(vzt::TQorConnection& connection) {
  if (!connection.LoadDll()) return false;
  vzt::TSerialLink* link = connection.Link();
  link->SetupBegin(0);
  link->SelectPort(4);
  link->UseDefaultMode();
  link->SetupEnd(0);
  unsigned char record[vzt::LINK_IDENTIFICATION_SIZE] = {};
  return link->ReadIdentification(record) && link->Open() != 0;
}

void ReadAllParameterAddresses(benchmark::State& state) {
  vzt::SimulatorProcess simulator;
  if (!simulator.Start({"--baud", std::to_string(kBaud), "--turnaround",
                        std::to_string(kTurnaroundMs)})) {
    state.SkipWithError("ecusim did not start");
    return;
  }
  ::setenv("SERQOR_DEVICE", simulator.LinkPath().c_str(), 1);
  vzt::TQorConnection connection;
  if (!OpenLink(connection)) {
    state.SkipWithError("the link did not open");
    return;
  }
  vzt::TSerialLink* link = connection.Link();
  const std::set<int> addresses = ParameterAddresses();

  double measured_ms = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (int address : addresses) {
      int value = 0;
      if (!link->ReadByAddress(0, address, &value)) {
        state.SkipWithError("a read failed");
        return;
      }
      benchmark::DoNotOptimize(value);
    }
    const std::chrono::duration<double, std::milli> pass = std::chrono::steady_clock::now() - start;
    measured_ms += pass.count();
    state.SetIterationTime(pass.count() / 1000);
  }
  const double pass_ms = measured_ms / static_cast<double>(state.iterations());
  const double floor_ms = FloorMs(addresses.size());
  state.counters["addresses"] = static_cast<double>(addresses.size());
  state.counters["floor_ms"] = floor_ms;
  state.counters["pass_ms"] = pass_ms;
  state.counters["ratio"] = pass_ms / floor_ms;
}

BENCHMARK(ReadAllParameterAddresses)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
