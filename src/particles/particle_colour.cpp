// The particle colour: one of three preset colours or a slowly cycling fourth one,
// reached through a blend that lasts colorFadingSpeed seconds.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "particles/particle_system.h"
#include "settings/particle_settings.h"

namespace lumeno {
namespace {

constexpr int kCycleSlot = 3;

// A slot outside 0..3 (only a hand-edited settings file gives one) shows the cycling
// colour, the slot a fresh start shows, rather than reading outside the table.
int SafeSlot(int slot) { return slot >= 0 && slot <= kCycleSlot ? slot : kCycleSlot; }

} // namespace

void CParticleSystem::UpdateColor()
{
    const float fadeSeconds = g_particleSettings.colorFadingSpeed;
    const auto frame = static_cast<std::uint32_t>(m_engine.GetFrameCount());
    const float phase = static_cast<float>(frame) / fadeSeconds * 10.0f;
    m_cycleColor[0] = (std::sin(0.003f * phase) + 1.0f) * 0.5f;
    m_cycleColor[1] = (std::sin(0.005f * phase) + 1.0f) * 0.5f;
    m_cycleColor[2] = (std::sin(0.007f * phase) + 1.0f) * 0.5f;
    m_cycleColor[3] = 1.0f;

    float table[4][4];
    for (std::size_t i = 0; i < 3; ++i) {
        const ColorRGB& preset = g_particleSettings.colors[i];
        table[i][0] = preset.r;
        table[i][1] = preset.g;
        table[i][2] = preset.b;
        table[i][3] = 1.0f;
    }
    for (int c = 0; c < 4; ++c)
        table[kCycleSlot][c] = m_cycleColor[c];

    const float* target = table[SafeSlot(m_targetSlot)];
    if (m_blend < 1.0f) {
        for (int c = 0; c < 4; ++c)
            m_currentColor[c] = m_currentColor[c] + m_blend * (target[c] - m_currentColor[c]);
        m_blend = m_blend + m_engine.GetFrameTime() / fadeSeconds;
    } else {
        // Also a blend progress that is not a number ends at the target.
        for (int c = 0; c < 4; ++c)
            m_currentColor[c] = target[c];
    }
}

void CParticleSystem::SetColorIndex(int index)
{
    m_targetSlot = index;
    m_blend = 0.0f;
}

void CParticleSystem::GetCycleColor(float* out) const
{
    if (!out)
        return;
    for (int c = 0; c < 4; ++c)
        out[c] = m_cycleColor[c];
}

} // namespace lumeno
