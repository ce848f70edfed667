#pragma once
// The system tick counter counts milliseconds in 32 bits and wraps after
// about 49.7 days. Portable.
#include <cstdint>

// Whether Duration milliseconds have passed from Start to Now: the unsigned
// difference is the time elapsed, across a wrap of the counter too.
constexpr bool TicksElapsed(std::uint32_t Start, std::uint32_t Now, std::uint32_t Duration) {
  return static_cast<std::uint32_t>(Now - Start) >= Duration;
}

// Whether Interval milliseconds have passed since Last (by the same rule);
// if so, Last becomes Now. Polls and progress displays use it to act at most
// once an interval.
constexpr bool TickDue(std::uint32_t& Last, std::uint32_t Now, std::uint32_t Interval) {
  if (!TicksElapsed(Last, Now, Interval)) return false;
  Last = Now;
  return true;
}
