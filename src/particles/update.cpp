#include "particles/particle_system.h"
#include "settings/particle_settings.h"

namespace lumeno {

void CParticleSystem::Update()
{
    if (!m_initialised)
        return;

    // A ratio that is not a number counts as "no fading".
    if (g_particleSettings.fadeOutRatio <= 0.99999f)
        m_canvasIndex = !m_canvasIndex;

    if (m_multiThreaded) {
        WaitForStep();
    } else {
        AdvanceAttractor();
        FixStepInputs();
        Simulate(0, m_count);
    }

    UpdateColor();

    if (m_multiThreaded) {
        AdvanceAttractor();
        FixStepInputs();
        m_low.busy.store(true, std::memory_order_release);
        m_high.busy.store(true, std::memory_order_release);
    }
}

} // namespace lumeno
