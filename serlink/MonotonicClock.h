#pragma once

#include <cstdint>
#include <functional>

namespace vzt {

// Milliseconds from an arbitrary start that never go back. Injected so that time-outs can
// be tested without waiting.
using MonotonicClock = std::function<std::uint64_t()>;

MonotonicClock SteadyClock();

}  // namespace vzt
