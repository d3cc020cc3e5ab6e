#include "headless_engine.h"

#include "engine/frame_keys.h"

namespace lumeno {

HeadlessEngine::~HeadlessEngine() = default;

bool HeadlessEngine::Build(ClockSource clock, std::string* error)
{
    const ClientSize client = CanvasClientSize();
    std::string why;
    m_window = HeadlessWindow::Create(client.width, client.height, &why);
    if (!m_window) {
        *error = "no headless OpenGL context: " + why;
        return false;
    }
    m_session = std::make_unique<EngineSession>(*m_window, EngineHooks{.clock = std::move(clock)});
    if (FAILED(m_session->InitResult())) {
        *error = "Init Engine Failed!";
        return false;
    }
    return true;
}

void HeadlessEngine::Deliver(const WindowMessage& message) const
{
    Engine().HandleMessage(message);
    HandleFrameKeys(message, FrameKeyActions{});
}

} // namespace lumeno
