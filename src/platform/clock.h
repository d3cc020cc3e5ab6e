#pragma once
// The millisecond clock of the frame timing and the screenshot names: a 32-bit count
// that wraps, as the interval arithmetic expects.

#include <cstdint>
#include <functional>

namespace lumeno {

std::uint32_t TimeGetTime();

// Replaces the clock (a fixed frame interval for reproducible renders, a scripted one
// in tests); an empty function restores the steady clock.
void SetClockSource(std::function<std::uint32_t()> source);

} // namespace lumeno
