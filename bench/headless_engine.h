#pragma once
// An engine on a headless window, started in a fresh working folder with the settings
// already in the process-wide records, and shut down with the settings put back to
// their defaults. Set-up only: the benchmarks time what they do with it.

#include <memory>
#include <string>

#include "engine/engine_session.h"
#include "engine_folder.h"
#include "particles/attractor.h"
#include "platform/headless_window.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno::bench {

class HeadlessEngine {
public:
    HeadlessEngine(int windowWidth, int windowHeight)
    {
        SimulationAttractor() = Attractor{};
        if (!m_folder.Ready()) {
            m_error = "no working folder";
            return;
        }
        m_window = HeadlessWindow::Create(windowWidth, windowHeight, &m_error);
        if (!m_window)
            return;
        m_session = std::make_unique<EngineSession>(*m_window);
        if (FAILED(m_session->InitResult())) {
            m_error = "the engine did not start";
            m_session.reset();
        }
    }
    ~HeadlessEngine()
    {
        m_session.reset();
        m_window.reset();
        CanvasSettingsRecord().SetDefaults();
        g_particleSettings.SetDefaults();
    }
    HeadlessEngine(const HeadlessEngine&) = delete;
    HeadlessEngine& operator=(const HeadlessEngine&) = delete;

    // Null when it did not start; Error() then says why.
    CRenderEngine* Engine() const { return m_session ? &m_session->Engine() : nullptr; }
    const std::string& Error() const { return m_error; }

private:
    EngineFolder m_folder;
    std::unique_ptr<HeadlessWindow> m_window;
    std::unique_ptr<EngineSession> m_session;
    std::string m_error;
};

} // namespace lumeno::bench
