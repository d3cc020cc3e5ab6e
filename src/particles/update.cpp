#include "particles/particle_system.h"
#include "particles/simulation_step_fast.h"
#include "platform/frame_profiler.h"
#include "platform/gl/gl_device.h"
#include "platform/mapped_copy.h"
#include "settings/particle_settings.h"

namespace lumeno {

HRESULT CParticleSystem::StartWorkers()
{
    return m_workers.Start(m_count, [this](int first, int last, const StepInputs& inputs) {
        if (!m_particles.empty())
            SimulateFast(m_particles.data(), first, last, inputs);
    });
}

void CParticleSystem::Upload()
{
    if (!m_vertexBuffer)
        return;
    // Discarding lock: the GPU may still be drawing last frame's copy of this buffer.
    // A lock that fails skips this frame's upload; the last one stays drawn.
    void* data = nullptr;
    if (FAILED(m_vertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD)))
        return;
    CopyIntoMappedBuffer(data, m_particles.data(), static_cast<std::size_t>(m_count) * sizeof(Particle));
    (void)m_vertexBuffer->Unlock();
}

// Multithreaded: each half is copied as soon as its worker is done, and that worker is
// handed the next step at once, so the low worker steps while the high half is still
// being stepped or copied, and the copy overlaps stepping throughout. The inputs are
// fixed once, before either worker is armed, exactly as they would be after one whole
// copy; the colour reads no particle, so it comes before the wait.
void CParticleSystem::UpdateThreaded()
{
    {
        ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::Colour);
        UpdateColor();
    }
    {
        ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::Step);
        m_workers.WaitForHalf(ParticleWorkers::Half::Low);
    }
    ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::Upload);
    void* data = nullptr;
    const bool locked = m_vertexBuffer && SUCCEEDED(m_vertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD));
    const std::size_t middle = static_cast<std::size_t>(m_count / 2);
    if (locked)
        CopyIntoMappedBuffer(data, m_particles.data(), middle * sizeof(Particle));

    AdvanceAttractor();
    FixStepInputs();
    m_workers.HandOver(ParticleWorkers::Half::Low, m_stepInputs);

    m_workers.WaitForHalf(ParticleWorkers::Half::High);
    if (locked) {
        CopyIntoMappedBuffer(static_cast<unsigned char*>(data) + middle * sizeof(Particle), m_particles.data() + middle,
                             (static_cast<std::size_t>(m_count) - middle) * sizeof(Particle));
        (void)m_vertexBuffer->Unlock();
    }
    m_workers.HandOver(ParticleWorkers::Half::High, m_stepInputs);
}

void CParticleSystem::Update()
{
    if (!m_initialised)
        return;

    if (g_particleSettings.FadesCanvas())
        m_canvasIndex = !m_canvasIndex;

    if (m_multiThreaded) {
        UpdateThreaded();
        return;
    }

    {
        ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::Step);
        AdvanceAttractor();
        FixStepInputs();
        Simulate(0, m_count);
    }
    {
        ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::Colour);
        UpdateColor();
    }
    {
        ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::Upload);
        Upload();
    }
}

} // namespace lumeno
