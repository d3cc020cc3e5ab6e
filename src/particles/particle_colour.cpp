#include "particles/particle_colour.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "settings/particle_settings.h"

namespace lumeno {
namespace {

constexpr int kCycleSlot = 3;

// A slot outside 0..3 (only a hand-edited settings file gives one) shows the cycling
// colour, the slot a fresh start shows, rather than reading outside the table.
int SafeSlot(int slot) { return slot >= 0 && slot <= kCycleSlot ? slot : kCycleSlot; }

} // namespace

void ParticleColour::Update(int frameCount, float frameSeconds)
{
    const float fadeSeconds = g_particleSettings.colorFadingSpeed;
    const auto frame = static_cast<std::uint32_t>(frameCount);
    const float phase = static_cast<float>(frame) / fadeSeconds * 10.0f;
    m_cycle[0] = (std::sin(0.003f * phase) + 1.0f) * 0.5f;
    m_cycle[1] = (std::sin(0.005f * phase) + 1.0f) * 0.5f;
    m_cycle[2] = (std::sin(0.007f * phase) + 1.0f) * 0.5f;
    m_cycle[3] = 1.0f;

    float table[4][4];
    for (std::size_t i = 0; i < 3; ++i) {
        const ColorRGB& preset = g_particleSettings.colors[i];
        table[i][0] = preset.r;
        table[i][1] = preset.g;
        table[i][2] = preset.b;
        table[i][3] = 1.0f;
    }
    for (int c = 0; c < 4; ++c)
        table[kCycleSlot][c] = m_cycle[c];

    const float* target = table[SafeSlot(m_targetSlot)];
    if (m_blend < 1.0f) {
        for (int c = 0; c < 4; ++c)
            m_current[c] = m_current[c] + m_blend * (target[c] - m_current[c]);
        m_blend = m_blend + frameSeconds / fadeSeconds;
    } else {
        // Also a blend progress that is not a number ends at the target.
        for (int c = 0; c < 4; ++c)
            m_current[c] = target[c];
    }
}

void ParticleColour::Start(int index)
{
    m_blend = 1.0f;
    m_targetSlot = index;
    for (float& c : m_cycle)
        c = 0.0f;
    if (index >= 0 && index < 3) {
        const ColorRGB& preset = g_particleSettings.colors[static_cast<std::size_t>(index)];
        m_current[0] = preset.r;
        m_current[1] = preset.g;
        m_current[2] = preset.b;
    } else {
        m_current[0] = m_current[1] = m_current[2] = 0.0f;
    }
    m_current[3] = 1.0f;
}

void ParticleColour::SetSlot(int index)
{
    m_targetSlot = index;
    m_blend = 0.0f;
}

} // namespace lumeno
