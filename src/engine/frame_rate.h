#pragma once
// The frame-rate figure: the mean of the instantaneous rates over blocks of five frames.
// The running sum and its sample count live in an object, not in the engine: the
// application keeps one for the whole run and lends it to every engine it builds, so the
// average goes on across rebuilds; an engine given none keeps its own.

#include <cstdint>

namespace lumeno {

class FrameRateAverage {
public:
    // Adds the rate of a frame of `intervalMs` and returns the figure to show: a new mean
    // when a block completed, else `shown` unchanged.
    float AddSample(std::uint32_t intervalMs, float shown);

private:
    float m_accumulator = 0.0f;
    std::int32_t m_samples = 0;
};

} // namespace lumeno
