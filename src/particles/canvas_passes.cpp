// The canvas passes: particle lines into the draw canvas, the fade into the spare canvas,
// the canvas onto the frame with the exposure, and the debug lines onto the frame. Every
// pass saves the render states it changes and restores them, and render target 0, after.

#include <array>

#include "particles/particle.h"
#include "particles/particle_system.h"
#include "platform/frame_profiler.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_effect.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {
namespace {

// Three texture sets: position and velocity of two floats, colour of four.
constexpr std::uint32_t kParticleFVF = D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE4(2);
constexpr std::uint32_t kParticleStride = sizeof(ParticleVertex);

D3DCOLOR BackgroundColour() { return g_particleSettings.invert ? 0x00FFFFFF : 0x00000000; }

// Saves states on construction, in the order given, and restores them in the same order.
template <std::size_t N>
class SavedStates {
public:
    SavedStates(GlDevice& device, const std::array<D3DRENDERSTATETYPE, N>& states) : m_device(device), m_states(states)
    {
        for (std::size_t i = 0; i < N; ++i)
            (void)m_device.GetRenderState(m_states[i], &m_values[i]);
    }
    ~SavedStates()
    {
        for (std::size_t i = 0; i < N; ++i)
            (void)m_device.SetRenderState(m_states[i], m_values[i]);
    }
    SavedStates(const SavedStates&) = delete;
    SavedStates& operator=(const SavedStates&) = delete;

private:
    GlDevice& m_device;
    std::array<D3DRENDERSTATETYPE, N> m_states;
    std::array<std::uint32_t, N> m_values{};
};

// Remembers render target 0 and puts it back, dropping the reference, on destruction.
class SavedRenderTarget {
public:
    explicit SavedRenderTarget(GlDevice& device) : m_device(device) { (void)m_device.GetRenderTarget(0, &m_saved); }
    ~SavedRenderTarget()
    {
        if (m_saved)
            (void)m_device.SetRenderTarget(0, m_saved);
    }
    SavedRenderTarget(const SavedRenderTarget&) = delete;
    SavedRenderTarget& operator=(const SavedRenderTarget&) = delete;

private:
    GlDevice& m_device;
    std::shared_ptr<GlSurface> m_saved;
};

// Blended particle lines, anti-aliased as the settings say, with nothing culled or tested.
void SetLineStates(GlDevice& device, std::uint32_t destinationBlend)
{
    (void)device.SetRenderState(D3DRS_ANTIALIASEDLINEENABLE, static_cast<std::uint32_t>(g_particleSettings.antiAlias));
    (void)device.SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    (void)device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    (void)device.SetRenderState(D3DRS_ZWRITEENABLE, 0);
    (void)device.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    (void)device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    (void)device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    (void)device.SetRenderState(D3DRS_DESTBLEND, destinationBlend);
}

void RunTechnique(GlDevice& device, GlEffect& effect, std::string_view technique, D3DPRIMITIVETYPE type,
                  std::uint32_t count)
{
    (void)effect.SetTechnique(technique);
    effect.Begin(nullptr, D3DXFX_DONOTSAVESTATE);
    effect.BeginPass(0);
    (void)device.DrawPrimitive(type, 0, count);
    effect.EndPass();
    effect.End();
}

} // namespace

void CParticleSystem::SetParticleEffectParameters()
{
    m_effect->SetFloat("g_fParticleCount", static_cast<float>(CanvasSettingsRecord().particleCount));
    m_effect->SetFloat("g_fAlphaIntensity", g_particleSettings.alphaIntensity);
    m_effect->SetFloat("g_fScreenAspectRatio", m_engine.GetAspect());
}

const std::shared_ptr<GlSurface>& CParticleSystem::CanvasSurfaceReference() const
{
    return m_canvasIndex ? m_canvasSurfaceB : m_canvasSurfaceA;
}

GlSurface* CParticleSystem::GetCanvasSurface() const { return CanvasSurfaceReference().get(); }

void CParticleSystem::ClearCanvases()
{
    GlDevice* device = m_engine.GetGlDevice();
    if (!m_initialised || !device || !m_canvasSurfaceA)
        return;
    SavedRenderTarget target(*device);
    for (const auto* surface : {&m_canvasSurfaceA, &m_canvasSurfaceB}) {
        (void)device->SetRenderTarget(0, *surface);
        (void)device->Clear(BackgroundColour());
    }
}

void CParticleSystem::RenderParticles()
{
    GlDevice* device = m_engine.GetGlDevice();
    if (!m_initialised || !device || !m_effect)
        return;
    ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::ParticlePass);
    SavedRenderTarget target(*device);
    (void)device->SetRenderTarget(0, CanvasSurfaceReference());
    {
        SavedStates<9> states(*device, {D3DRS_ANTIALIASEDLINEENABLE, D3DRS_ALPHATESTENABLE, D3DRS_ALPHABLENDENABLE,
                                        D3DRS_ZWRITEENABLE, D3DRS_ZENABLE, D3DRS_CULLMODE, D3DRS_SRCBLEND,
                                        D3DRS_DESTBLEND, D3DRS_BLENDOP});
        SetLineStates(*device, D3DBLEND_ONE);
        // On white, streaks are subtracted: with the complemented step colour they keep
        // their own hue.
        (void)device->SetRenderState(D3DRS_BLENDOP,
                                     g_particleSettings.invert ? D3DBLENDOP_REVSUBTRACT : D3DBLENDOP_ADD);
        (void)device->SetFVF(kParticleFVF);
        (void)device->SetStreamSource(0, m_vertexBuffer, 0, kParticleStride);
        SetParticleEffectParameters();
        RunTechnique(*device, *m_effect, "Lumeno", D3DPT_LINELIST, static_cast<std::uint32_t>(m_count));
    }
}

void CParticleSystem::RenderCanvas()
{
    GlDevice* device = m_engine.GetGlDevice();
    if (!m_initialised || !device || !m_effect)
        return;
    SavedStates<5> states(*device, {D3DRS_ALPHATESTENABLE, D3DRS_ALPHABLENDENABLE, D3DRS_ZWRITEENABLE, D3DRS_ZENABLE,
                                    D3DRS_CULLMODE});
    (void)device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    (void)device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    (void)device->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    (void)device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    (void)device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    (void)device->SetFVF(m_screenQuad->VertexFormat());
    (void)device->SetStreamSource(0, m_screenQuad->VertexBuffer(), 0, m_screenQuad->Stride());
    m_effect->SetFloat("g_fFadeOutRatio", g_particleSettings.fadeOutRatio);
    m_effect->SetFloat("g_fExp", g_particleSettings.exp);

    const std::shared_ptr<GlTexture>& drawTexture = m_canvasIndex ? m_canvasTextureB : m_canvasTextureA;
    if (g_particleSettings.FadesCanvas()) {
        ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::Fade);
        SavedRenderTarget target(*device);
        (void)device->SetRenderTarget(0, m_canvasIndex ? m_canvasSurfaceA : m_canvasSurfaceB);
        m_effect->SetTexture("g_tScene", drawTexture);
        RunTechnique(*device, *m_effect, g_particleSettings.invert ? "FadeInv" : "Fade", D3DPT_TRIANGLESTRIP, 2);
    }
    ScopedPhase phase(m_engine.GetFrameProfiler(), FramePhase::Scene);
    m_effect->SetTexture("g_tScene", drawTexture);
    RunTechnique(*device, *m_effect, "Scene", D3DPT_TRIANGLESTRIP, 2);
}

void CParticleSystem::RenderDebug()
{
    GlDevice* device = m_engine.GetGlDevice();
    if (!m_initialised || !device || !m_effect)
        return;
    SavedStates<8> states(*device, {D3DRS_ANTIALIASEDLINEENABLE, D3DRS_ALPHATESTENABLE, D3DRS_ALPHABLENDENABLE,
                                    D3DRS_ZWRITEENABLE, D3DRS_ZENABLE, D3DRS_CULLMODE, D3DRS_SRCBLEND,
                                    D3DRS_DESTBLEND});
    SetLineStates(*device, D3DBLEND_INVSRCALPHA);
    (void)device->SetFVF(kParticleFVF);
    (void)device->SetStreamSource(0, m_vertexBuffer, 0, kParticleStride);
    SetParticleEffectParameters();
    RunTechnique(*device, *m_effect, "LumenoDebug", D3DPT_LINELIST, static_cast<std::uint32_t>(m_count));
}

} // namespace lumeno
