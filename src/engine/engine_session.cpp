#include "engine/engine_session.h"

#include <cmath>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {

EngineSession::EngineSession(RenderWindow& window, EngineHooks hooks) : m_engine(std::move(hooks))
{
    g_engine = &m_engine;
    m_initResult = m_engine.Init(&window);
}

EngineSession::~EngineSession()
{
    m_engine.Shutdown();
    g_engine = nullptr;
}

ClientSize CanvasClientSize()
{
    return ClientSize{static_cast<int>(std::lround(CanvasSettingsRecord().width * g_particleSettings.scale)),
                      static_cast<int>(std::lround(CanvasSettingsRecord().height * g_particleSettings.scale))};
}

} // namespace lumeno
