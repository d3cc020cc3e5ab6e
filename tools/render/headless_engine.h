#pragma once
// The engine of one render on a headless window whose client area is the canvas at the
// display scale; g_engine while it lives.

#include <memory>
#include <string>

#include "engine/engine_session.h"
#include "platform/headless_window.h"
#include "platform/window_message.h"

namespace lumeno {

class HeadlessEngine {
public:
    HeadlessEngine() = default;
    ~HeadlessEngine();
    HeadlessEngine(const HeadlessEngine&) = delete;
    HeadlessEngine& operator=(const HeadlessEngine&) = delete;

    // For the canvas record in force, keeping time by `clock` (empty: the steady clock).
    // False with a sentence; the engine's own boxes have said more.
    [[nodiscard]] bool Build(ClockSource clock, std::string* error);

    CRenderEngine& Engine() const { return m_session->Engine(); }
    int ClientWidth() const { return m_window->ClientWidth(); }
    int ClientHeight() const { return m_window->ClientHeight(); }

    // As the main frame passes input on: to the engine, then the frame's own keys.
    void Deliver(const WindowMessage& message) const;

private:
    std::unique_ptr<HeadlessWindow> m_window;
    std::unique_ptr<EngineSession> m_session; // goes before the window it renders into
};

} // namespace lumeno
