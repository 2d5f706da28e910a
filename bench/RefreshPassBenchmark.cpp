// The cost of one refresh pass: one packet element, nine live items all due. The pass must
// make exactly one packet read and no heap allocation. See docs/benchmarks.md.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"

namespace {

std::atomic<long> allocations{0};

// A link that answers packet reads from memory and only counts them.
class PacketLink final : public vzt::TSerialLink {
 public:
  int GetPort() override { return 4; }
  void SetupBegin(int) override {}
  void SelectPort(int) override {}
  void ReleaseLink() override {}
  int IsOpen() override { return 1; }
  int Open() override { return 1; }
  void Close() override {}
  int GetStatus() override { return 0; }
  void UseDefaultMode() override {}
  void UseAlternateMode() override {}
  bool ReadValue(int, int*) override { return false; }
  bool ReadElement(int, int*, int) override { return false; }
  bool ReadPacket(int, void* data, int*) override {
    ++packets;
    std::memcpy(data, bytes, sizeof bytes);
    return true;
  }
  bool WriteValue(int, int) override { return false; }
  bool WriteElement(int, int, int) override { return false; }
  bool WriteMatrixElement(int, int, int, int) override { return false; }
  bool ReadIdentification(unsigned char*) override { return false; }
  void SetupEnd(int) override {}
  bool WriteByAddress(int, int, int) override { return false; }
  bool ReadMatrixElement(int, int*, int, int) override { return false; }
  bool ReadByAddress(int, int, int*) override { return false; }

  long packets = 0;
  unsigned char bytes[9] = {200, 30, 40, 50, 60, 70, 1, 2, 128};
};

void RefreshPassNineLiveItems(benchmark::State& state) {
  PacketLink link;
  vzt::TQorConnection connection;
  connection.AttachLink(&link);
  vzt::TDataRefresher refresher;
  refresher.SetConnection(&connection);
  std::uint32_t now = 1000;
  refresher.Thread()->SetClock([&now] { return now; });
  std::vector<std::unique_ptr<vzt::TQorPacketData>> items;
  for (int offset = 0; offset < 9; ++offset) {
    auto item = std::make_unique<vzt::TQorPacketData>();
    item->SetTransformationType(vzt::ttFormula);
    item->SetCoeffsList({5, 0, 0, 255});
    item->SetPrecision(0.01);
    item->SetOffset(offset);
    item->SetTimeInterval(100);
    item->SetDataRefresher(&refresher);
    item->SetActive(true);
    items.push_back(std::move(item));
  }
  refresher.SetEnabled(true);
  refresher.Thread()->RefreshPass();  // warm up: the first delivery may size small buffers

  const long packetsBefore = link.packets;
  const long allocationsBefore = allocations.load();
  long passes = 0;
  for (auto _ : state) {
    now += 101;  // every item is due again
    refresher.Thread()->RefreshPass();
    ++passes;
  }
  state.counters["packet_reads_per_pass"] =
      static_cast<double>(link.packets - packetsBefore) / static_cast<double>(passes);
  state.counters["allocations_per_pass"] =
      static_cast<double>(allocations.load() - allocationsBefore) / static_cast<double>(passes);
  refresher.SetEnabled(false);
  items.clear();
  connection.AttachLink(nullptr);
}

BENCHMARK(RefreshPassNineLiveItems);

}  // namespace

// Counting allocator: every allocation of the process passes here.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
