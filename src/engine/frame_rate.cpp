#include "engine/frame_rate.h"

namespace lumeno {

float FrameRateAverage::AddSample(std::uint32_t intervalMs, float shown)
{
    // Two frames within one millisecond would add an infinite rate and show "inf" for a
    // whole block; such a frame counts as 1 ms, the fastest the clock can tell apart.
    const std::uint32_t measurable = intervalMs == 0 ? 1u : intervalMs;
    m_accumulator += 1.0f / (static_cast<float>(measurable) * 0.001f);
    if (m_samples >= 5) {
        shown = m_accumulator / static_cast<float>(m_samples);
        m_accumulator = 0.0f;
        m_samples = 0;
    }
    ++m_samples;
    return shown;
}

} // namespace lumeno
