#pragma once
// The frame-rate figure: the mean of the instantaneous rates over blocks of five frames.
// The accumulator and its sample count belong to the process and survive engine rebuilds.

#include <cstdint>

namespace lumeno {

// Adds the rate of a frame of `intervalMs` and returns the figure to show: a new mean
// when a block completed, else `shown` unchanged.
float AddFrameRateSample(std::uint32_t intervalMs, float shown);

// Back to process start, for tests.
void ResetFrameRateForTesting();

} // namespace lumeno
