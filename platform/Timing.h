#pragma once

#include <cstdint>

namespace vzt {

// Milliseconds since an arbitrary start, wrapping at 2^32 like the system tick counter.
std::uint32_t GetTickCount();

// Milliseconds elapsed from `since` to `now`, correct across a wrap of the counter.
inline std::uint32_t TicksSince(std::uint32_t since, std::uint32_t now) { return now - since; }

void SleepMs(std::uint32_t ms);

}  // namespace vzt
