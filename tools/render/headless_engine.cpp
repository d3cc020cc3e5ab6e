#include "headless_engine.h"

#include <cmath>

#include "engine/frame_keys.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {

HeadlessEngine::~HeadlessEngine()
{
    if (m_engine) {
        m_engine->Shutdown();
        g_engine = nullptr;
    }
}

bool HeadlessEngine::Build(std::string* error)
{
    const int clientWidth = static_cast<int>(std::lround(CanvasSettingsRecord().width * g_particleSettings.scale));
    const int clientHeight = static_cast<int>(std::lround(CanvasSettingsRecord().height * g_particleSettings.scale));
    std::string why;
    m_window = HeadlessWindow::Create(clientWidth, clientHeight, &why);
    if (!m_window) {
        *error = "no headless OpenGL context: " + why;
        return false;
    }
    m_engine = std::make_unique<CRenderEngine>();
    g_engine = m_engine.get();
    if (FAILED(m_engine->Init(m_window.get()))) {
        *error = "Init Engine Failed!";
        return false;
    }
    return true;
}

void HeadlessEngine::Deliver(const WindowMessage& message) const
{
    m_engine->HandleMessage(message);
    HandleFrameKeys(message, FrameKeyActions{});
}

} // namespace lumeno
