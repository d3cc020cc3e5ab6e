#pragma once
// The millisecond clock of the frame timing and the screenshot names: a 32-bit count
// that wraps, as the interval arithmetic expects.

#include <cstdint>
#include <functional>

namespace lumeno {

// The steady clock.
std::uint32_t TimeGetTime();

// A clock handed to what keeps time (the engine, the window's listening): the steady
// clock unless a renderer or a test gives another, such as a fixed frame interval.
using ClockSource = std::function<std::uint32_t()>;

} // namespace lumeno
