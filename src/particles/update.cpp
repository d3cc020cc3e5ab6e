#include <cstring>

#include "particles/particle_system.h"
#include "platform/frame_profiler.h"
#include "platform/gl/gl_device.h"
#include "settings/particle_settings.h"

namespace lumeno {

void CParticleSystem::Upload()
{
    if (!m_vertexBuffer)
        return;
    // Discarding lock: the GPU may still be drawing last frame's copy of this buffer.
    // A lock that fails skips this frame's upload; the last one stays drawn.
    void* data = nullptr;
    if (FAILED(m_vertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD)))
        return;
    std::memcpy(data, m_particles.data(), static_cast<std::size_t>(m_count) * sizeof(Particle));
    (void)m_vertexBuffer->Unlock();
}

void CParticleSystem::Update()
{
    if (!m_initialised)
        return;

    // A ratio that is not a number counts as "no fading".
    if (g_particleSettings.fadeOutRatio <= 0.99999f)
        m_canvasIndex = !m_canvasIndex;

    {
        ScopedPhase phase(FramePhase::Step);
        if (m_multiThreaded) {
            WaitForStep();
        } else {
            AdvanceAttractor();
            FixStepInputs();
            Simulate(0, m_count);
        }
    }
    {
        ScopedPhase phase(FramePhase::Colour);
        UpdateColor();
    }
    {
        ScopedPhase phase(FramePhase::Upload);
        Upload();
    }

    if (m_multiThreaded) {
        AdvanceAttractor();
        FixStepInputs();
        m_low.busy.store(true, std::memory_order_release);
        m_high.busy.store(true, std::memory_order_release);
    }
}

} // namespace lumeno
