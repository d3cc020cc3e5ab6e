#include "particles/particle_system.h"

#include <string>

#include "particles/attractor.h"
#include "platform/message_box.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {

void CParticleSystem::Init(const ParticleSystemInit& init)
{
    Release();

    m_width = init.width;
    m_height = init.height;
    m_count = init.count;
    m_canvasIndex = false;
    m_blend = 1.0f;
    m_targetSlot = g_particleSettings.colorIndex;
    for (float& c : m_cycleColor)
        c = 0.0f;
    const int slot = m_targetSlot;
    if (slot >= 0 && slot < 3) {
        const ColorRGB& preset = g_particleSettings.colors[static_cast<std::size_t>(slot)];
        m_currentColor[0] = preset.r;
        m_currentColor[1] = preset.g;
        m_currentColor[2] = preset.b;
    } else {
        m_currentColor[0] = m_currentColor[1] = m_currentColor[2] = 0.0f;
    }
    m_currentColor[3] = 1.0f;

    // A count read from a hand-edited file may be more than the machine can hold:
    // say so and stay inert rather than fail later.
    if (init.count > 0)
        m_particles = ParticleArray::Allocate(static_cast<std::size_t>(init.count));
    if (init.count < 0 || (init.count > 0 && m_particles.empty())) {
        ShowMessageBox("Not enough memory for " + std::to_string(init.count) +
                           " particles.\nTry less Particle.",
                       "Error", MessageIcon::Error);
        Release();
        return;
    }

    m_multiThreaded = g_canvasSettings.multiThreaded;
    if (m_multiThreaded && FAILED(StartWorkers())) {
        ShowMessageBox("Error create threads!", {}, MessageIcon::Error);
        Release();
        return;
    }

    m_initialised = true;
    const float* mouse = m_engine.GetMousePosition();
    Emit(mouse[0], mouse[1]);
}

void CParticleSystem::Release()
{
    // An armed step that no worker has started yet is dropped; one in progress finishes
    // before the array it writes is freed.
    m_initialised = false;
    m_low.busy.store(false, std::memory_order_release);
    m_high.busy.store(false, std::memory_order_release);
    StopWorkers();
    m_multiThreaded = false;

    m_canvasIndex = false;
    m_particles = ParticleArray();
    m_width = m_height = m_count = 0;
}

void CParticleSystem::AdvanceAttractor()
{
    const float* mouse = m_engine.GetMousePosition();
    SimulationAttractor().Advance(mouse[0], mouse[1], m_width, m_height);
}

void CParticleSystem::FixStepInputs()
{
    const Attractor& attractor = SimulationAttractor();
    m_stepInputs.attractorX = attractor.x;
    m_stepInputs.attractorY = attractor.y;
    MakeStepColor(m_currentColor, g_particleSettings.invert, m_stepInputs.color);
    m_stepInputs.speed = g_particleSettings.speed;
    m_stepInputs.drag = g_particleSettings.drag;
    m_stepInputs.gravityAmount = g_particleSettings.gravityAmount;
    m_stepInputs.gravityPower = g_particleSettings.gravityPower;
}

void CParticleSystem::Simulate(int first, int last)
{
    if (!m_particles.empty())
        SimulateReference(m_particles.data(), first, last, m_stepInputs);
}

} // namespace lumeno
