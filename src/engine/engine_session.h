#pragma once
// The one engine of a window for as long as this object lives: made the process's engine
// (g_engine) before its Init, which makes the window's context current, and on the way
// out shut down first and then no longer the engine. Whatever the engine's code reaches
// through g_engine during Init and Shutdown finds this engine.
//
// For the headless renders, the benchmarks and the tests; the application rebuilds its
// engine itself (app/engine_lifetime.h), with the same order.
//
//   EngineSession session(*window);
//   if (FAILED(session.InitResult())) ... the engine's boxes said why
//   session.Engine().Render();

#include "engine/render_engine.h"

namespace lumeno {

class EngineSession {
public:
    explicit EngineSession(RenderWindow& window, EngineHooks hooks = {});
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    // What Init returned.
    HRESULT InitResult() const { return m_initResult; }
    CRenderEngine& Engine() { return m_engine; }
    const CRenderEngine& Engine() const { return m_engine; }

private:
    CRenderEngine m_engine;
    HRESULT m_initResult;
};

// The client size, in pixels, that shows the canvas of the settings in force at their
// scale, as the window is sized for it.
struct ClientSize {
    int width = 0;
    int height = 0;
};
ClientSize CanvasClientSize();

} // namespace lumeno
