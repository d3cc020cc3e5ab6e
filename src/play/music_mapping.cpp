#include "play/music_mapping.h"

#include <cmath>

namespace lumeno {

MusicMapping::MusicMapping(int framesPerSecond, int colorSlot)
    : m_minFramesBetweenEmits(static_cast<int>(std::ceil(kMinSecondsBetweenEmits * framesPerSecond))),
      m_framesSinceEmit(m_minFramesBetweenEmits), // the first onset may emit at once
      m_colorSlot(colorSlot)
{
}

MusicInputs MusicMapping::Next(const MusicFrame& frame)
{
    MusicInputs inputs;
    // Silence gives factors of exactly 1, so the user's values pass through bit for bit.
    inputs.speedFactor = 1.0f + kSpeedSwing * frame.loudness;
    inputs.intensityFactor = 1.0f + kIntensitySwing * frame.loudness;

    if (frame.onset && frame.onsetStrength >= kMinEmitStrength && m_framesSinceEmit >= m_minFramesBetweenEmits) {
        inputs.reEmit = true;
        m_framesSinceEmit = 0;
    }
    ++m_framesSinceEmit;

    if (frame.beat) {
        inputs.beat = true;
        if (++m_beats % kBeatsPerColorStep == 0) {
            m_colorSlot = (m_colorSlot + 1) % kColorSlots;
            inputs.colorSlot = m_colorSlot;
        }
    }
    return inputs;
}

} // namespace lumeno
