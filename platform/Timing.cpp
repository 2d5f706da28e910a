#include "Timing.h"

#include <chrono>
#include <thread>

namespace vzt {

std::uint32_t GetTickCount() {
  using namespace std::chrono;
  auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void SleepMs(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace vzt
