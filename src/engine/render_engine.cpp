#include "engine/render_engine.h"

#include <atomic>
#include <cstdio>

#include "engine/dx_error.h"
#include "engine/effect_cache.h"
#include "engine/render_device.h"
#include "particles/particle_system.h"
#include "platform/clock.h"
#include "platform/font/text_renderer.h"
#include "platform/gl/gl_device.h"
#include "platform/message_box.h"
#include "settings/canvas_settings.h"

namespace lumeno {

CRenderEngine* g_engine = nullptr;
GlDevice* g_device = nullptr;

namespace {
std::atomic<std::uint64_t> g_enginesMade{0};
} // namespace

CRenderEngine::CRenderEngine(EngineHooks hooks)
    : m_generation(++g_enginesMade), m_clock(hooks.clock ? std::move(hooks.clock) : ClockSource(TimeGetTime)),
      m_claimedVersion(hooks.claimedVersion), m_lastTimestamp(m_clock()),
      m_frameRate(hooks.frameRate ? hooks.frameRate : &m_ownFrameRate)
{
}

void CRenderEngine::SetClock(ClockSource clock)
{
    m_clock = clock ? std::move(clock) : ClockSource(TimeGetTime);
    m_lastTimestamp = m_clock();
}

CRenderEngine::~CRenderEngine() { Shutdown(); }

GlDevice* CRenderEngine::GetGlDevice() const { return m_device ? m_device->GetDevice() : nullptr; }

HRESULT CRenderEngine::Init(RenderWindow* window)
{
    m_window = window;
    m_canvasWidth = CanvasSettingsRecord().width;
    m_canvasHeight = CanvasSettingsRecord().height;
    m_aspect = static_cast<float>(m_canvasHeight) / static_cast<float>(m_canvasWidth);

    m_device = std::make_unique<CRenderDevice>();
    const HRESULT hr = m_device->Create(window, m_canvasWidth, m_canvasHeight, m_claimedVersion);
    if (FAILED(hr)) {
        char text[512];
        std::snprintf(text, sizeof text, "Error: %s", DXGetErrorDescription(hr));
        ShowMessageBox(text, "Init DirectX error!", MessageIcon::Error);
        return E_FAIL;
    }
    g_device = m_device->GetDevice();

    m_effectCache = std::make_unique<CEffectCache>(*g_device);

    // A particle system whose Init failed has said why and stays attached, inert.
    m_particleSystem = std::make_unique<CParticleSystem>(*this);
    m_particleSystem->Init({m_canvasWidth, m_canvasHeight, CanvasSettingsRecord().particleCount});
    m_particleSystem->ClearCanvases();

    // Without a font the frame simply has no text.
    m_font = TextRenderer::Create(*g_device, 14);

    m_initialised = true;
    return S_OK;
}

void CRenderEngine::Shutdown()
{
    m_initialised = false;
    // Nothing may reach this device through the global once it is being released.
    if (m_device && g_device == m_device->GetDevice())
        g_device = nullptr;
    // GL objects are freed in the context that made them.
    if (m_device && m_device->GetDevice())
        (void)m_device->GetDevice()->Context().MakeCurrent();
    if (m_particleSystem) {
        m_particleSystem->Release();
        m_particleSystem.reset();
    }
    m_font.reset();
    m_effectCache.reset();
    if (m_device) {
        m_device->Release();
        m_device.reset();
    }
}

} // namespace lumeno
