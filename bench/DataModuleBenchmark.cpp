// The data module against the simulator at an emulated 19200 baud: connect plus read all as
// a ratio to the wire-time floor, and the program's CPU time per second while live data
// runs. See docs/benchmarks.md.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "datamodule/SerialDataModule.h"
#include "ecusim/EcuMemory.h"
#include "ecusim/SimulatorProcess.h"
#include "platform/MainThread.h"
#include "serlink/WireProtocol.h"
#include "tests/fixtures/FakeLink.h"

namespace {

constexpr int kBaud = 19200;
constexpr int kTurnaroundMs = 2;

double WireMs(std::size_t requestBytes, std::size_t replyBytes) {
  return static_cast<double>((requestBytes + replyBytes) * vzt::wire::kBitsPerByte) * 1000 / kBaud +
         kTurnaroundMs;
}

// The transfers a connect makes, counted on an in-process controller holding the
// simulator's factory memory, priced by the protocol's frame sizes (6 bytes of framing).
double ConnectFloorMs() {
  vzt::test::FakeLink link;
  const auto image = vzt::EcuMemory::FactoryImage();
  std::copy(image.begin(), image.end(), link.memory.begin());
  vzt::DataModuleOptions options;
  options.dllName = "";
  options.wait = [](std::uint32_t) {};
  vzt::TSerialDataModule module(options);
  module.QorConnection()->AttachLink(&link);
  module.Connect(4, 0);
  const double identify = WireMs(6, 6 + 1 + 16);
  const double open = WireMs(6, 6 + 1);
  const double byAddress = WireMs(6 + 2, 6 + 1 + 1);
  const double byCode = WireMs(6 + 8, 6 + 1 + 4);
  const double floor = identify + open + link.Count("ReadByAddress") * byAddress +
                       link.Count("ReadValue") * byCode;
  module.QorConnection()->AttachLink(nullptr);
  return floor;
}

struct Bench {
  vzt::SimulatorProcess simulator;
  std::unique_ptr<vzt::TSerialDataModule> module;

  bool Start() {
    if (!simulator.Start({"--baud", std::to_string(kBaud), "--turnaround",
                          std::to_string(kTurnaroundMs)}))
      return false;
    ::setenv("SERQOR_DEVICE", simulator.LinkPath().c_str(), 1);
    vzt::DataModuleOptions options;
    options.wait = [](std::uint32_t) {};
    module = std::make_unique<vzt::TSerialDataModule>(options);
    return true;
  }
};

void ConnectAndReadAll(benchmark::State& state) {
  const double floor = ConnectFloorMs();
  Bench bench;
  if (!bench.Start()) {
    state.SkipWithError("ecusim did not start");
    return;
  }
  double totalMs = 0;
  long runs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const int result = bench.module->Connect(4, 0);
    const auto end = std::chrono::steady_clock::now();
    if (result != vzt::kConnectDone) {
      state.SkipWithError("connect failed");
      return;
    }
    totalMs += std::chrono::duration<double, std::milli>(end - start).count();
    ++runs;
    state.PauseTiming();
    bench.module->Disconnect(false);
    state.ResumeTiming();
  }
  const double mean = totalMs / static_cast<double>(runs);
  state.counters["connect_ms"] = mean;
  state.counters["floor_ms"] = floor;
  state.counters["ratio"] = mean / floor;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void LiveDataCpu(benchmark::State& state) {
  Bench bench;
  if (!bench.Start() || bench.module->Connect(4, vzt::kConnectRefresherOn) != vzt::kConnectDone) {
    state.SkipWithError("no live data");
    return;
  }
  constexpr auto kSpan = std::chrono::seconds(5);
  double cpuPercent = 0;
  for (auto _ : state) {
    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    // The program's main loop in miniature: wait for posted passes and run them.
    while (std::chrono::steady_clock::now() - start < kSpan)
      vzt::MainThread::Instance().WaitAndProcess(std::chrono::milliseconds(50));
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpuPercent = (CpuSeconds() - cpuStart) / wall * 100;
  }
  state.counters["cpu_percent_of_one_core"] = cpuPercent;
  bench.module->PauseRefresher();
}

BENCHMARK(ConnectAndReadAll)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LiveDataCpu)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
