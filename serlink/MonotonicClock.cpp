#include "serlink/MonotonicClock.h"

#include <chrono>

namespace vzt {

MonotonicClock SteadyClock() {
  return [] {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  };
}

}  // namespace vzt
