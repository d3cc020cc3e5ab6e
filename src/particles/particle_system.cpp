#include "particles/particle_system.h"

#include <limits>
#include <string>

#include "engine/dx_error.h"
#include "engine/effect_cache.h"
#include "particles/attractor.h"
#include "particles/simulation_step_fast.h"
#include "platform/gl/gl_device.h"
#include "platform/message_box.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {
namespace {

constexpr const char* kCanvasFailure = "Failed to create float4 RT\nTry smaller or lower precision Canvas.";

} // namespace

void CParticleSystem::Init(const ParticleSystemInit& init)
{
    Release();

    m_width = init.width;
    m_height = init.height;
    m_count = init.count;
    m_canvasIndex = false;
    m_colour.Start(g_particleSettings.colorIndex);

    // A count read from a hand-edited file may be more than the machine can hold:
    // say so and stay inert rather than fail later.
    if (init.count > 0)
        m_particles = ParticleArray::Allocate(static_cast<std::size_t>(init.count));
    if (init.count < 0 || (init.count > 0 && m_particles.empty())) {
        ShowDxError("Not enough memory for " + std::to_string(init.count) + " particles.\nTry less Particle.",
                    E_OUTOFMEMORY);
        Release();
        return;
    }

    if (!CreateDeviceResources())
        return;

    m_multiThreaded = CanvasSettingsRecord().multiThreaded;
    if (m_multiThreaded && FAILED(StartWorkers())) {
        ShowMessageBox("Error create threads!", {}, MessageIcon::Error);
        Release();
        return;
    }

    m_initialised = true;
    const float* mouse = m_engine.GetMousePosition();
    Emit(mouse[0], mouse[1]);
}

void CParticleSystem::GetCycleColor(float* out) const
{
    if (!out)
        return;
    for (int c = 0; c < 4; ++c)
        out[c] = m_colour.Cycle()[c];
}

bool CParticleSystem::CreateDeviceResources()
{
    GlDevice* device = m_engine.GetGlDevice();
    CEffectCache* cache = m_engine.GetEffectCache();
    if (!device || !cache)
        return true; // a simulation without drawing

    HRESULT hr = cache->Acquire(EffectFilePath(), &m_effect);
    if (FAILED(hr)) {
        ShowDxError("Failed to create Effect", hr);
        Release();
        return false;
    }

    // The quad is made before the canvases; it cannot fail for any reason the user can
    // mend, but a device that cannot make 96 bytes of vertices cannot draw the canvas.
    m_screenQuad = std::make_unique<CScreenQuad>();
    hr = m_screenQuad->Create(*device, m_width, m_height);
    if (FAILED(hr)) {
        Release();
        ShowDxError("Failed to create the screen quad", hr);
        return false;
    }

    for (auto [texture, surface] : {std::pair{&m_canvasTextureA, &m_canvasSurfaceA},
                                    std::pair{&m_canvasTextureB, &m_canvasSurfaceB}}) {
        hr = device->CreateTexture(m_width, m_height, CanvasSettingsRecord().format, texture);
        if (SUCCEEDED(hr))
            hr = (*texture)->GetSurfaceLevel(0, surface);
        if (FAILED(hr)) {
            Release();
            ShowDxError(kCanvasFailure, hr);
            return false;
        }
    }

    const auto bytes = static_cast<std::uint64_t>(m_count) * sizeof(Particle);
    hr = bytes > std::numeric_limits<std::uint32_t>::max()
             ? D3DERR_OUTOFVIDEOMEMORY
             : device->CreateVertexBuffer(static_cast<std::uint32_t>(bytes), &m_vertexBuffer);
    if (FAILED(hr)) {
        ShowDxError("Create Vertex Buffer Error!\nTry less Particle.", hr);
        Release();
        return false;
    }
    return true;
}

void CParticleSystem::Release()
{
    // An armed step that no worker has started yet is dropped; one in progress finishes
    // before the array it writes is freed.
    m_initialised = false;
    m_workers.DropPendingSteps();
    StopWorkers();
    m_multiThreaded = false;

    m_canvasIndex = false;
    m_particles = ParticleArray();
    m_width = m_height = m_count = 0;

    m_vertexBuffer.reset();
    m_canvasTextureA.reset();
    m_canvasSurfaceA.reset();
    m_canvasTextureB.reset();
    m_canvasSurfaceB.reset();
    m_screenQuad.reset();
    if (m_effect) {
        if (CEffectCache* cache = m_engine.GetEffectCache())
            cache->Release(&m_effect);
        m_effect = nullptr;
    }
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
    MakeStepColor(m_colour.Current(), g_particleSettings.invert, m_stepInputs.color);
    m_stepInputs.speed = g_particleSettings.speed;
    m_stepInputs.drag = g_particleSettings.drag;
    m_stepInputs.gravityAmount = g_particleSettings.gravityAmount;
    m_stepInputs.gravityPower = g_particleSettings.gravityPower;
}

void CParticleSystem::Simulate(int first, int last)
{
    if (!m_particles.empty())
        SimulateFast(m_particles.data(), first, last, m_stepInputs);
}

} // namespace lumeno
