#include "engine/frame_rate.h"

namespace lumeno {
namespace {
float g_fpsAccumulator = 0.0f;
std::int32_t g_fpsSamples = 0;
} // namespace

float AddFrameRateSample(std::uint32_t intervalMs, float shown)
{
    // Two frames within one millisecond would add an infinite rate and show "inf" for a
    // whole block; such a frame counts as 1 ms, the fastest the clock can tell apart.
    const std::uint32_t measurable = intervalMs == 0 ? 1u : intervalMs;
    g_fpsAccumulator += 1.0f / (static_cast<float>(measurable) * 0.001f);
    if (g_fpsSamples >= 5) {
        shown = g_fpsAccumulator / static_cast<float>(g_fpsSamples);
        g_fpsAccumulator = 0.0f;
        g_fpsSamples = 0;
    }
    ++g_fpsSamples;
    return shown;
}

void ResetFrameRateForTesting()
{
    g_fpsAccumulator = 0.0f;
    g_fpsSamples = 0;
}

} // namespace lumeno
