#include "main_app.h"

#include "engine/render_engine.h"
#include "engine_lifetime.h"
#include "main_frame.h"
#include "platform/message_box.h"
#include "settings/settings_file.h"
#include "splash_window.h"

namespace lumeno {
namespace {

// Sees every event of the program before its receiver. Input enters at a window (a
// QWindow) and is then passed on to widgets inside it; looking only at the window keeps
// each key and click to a single look, as a message loop's pre-translation has.
class PreTranslationFilter final : public QObject {
public:
    explicit PreTranslationFilter(CMainApp& app) : QObject(&app), m_app(app) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWindowType())
            return false;
        return m_app.PreTranslateMessage(watched, event);
    }

private:
    CMainApp& m_app;
};

} // namespace

CMainApp::CMainApp(int& argc, char** argv) : QApplication(argc, argv)
{
    installEventFilter(new PreTranslationFilter(*this));
}

CMainApp::~CMainApp() { delete m_frame.data(); }

bool CMainApp::InitInstance()
{
    CSplashWindow::Enable(true);
    m_frame = new CMainFrame([this] { RebuildEngine(); });
    // Closing the window ends the frame, and with the last window the event loop.
    m_frame->setAttribute(Qt::WA_DeleteOnClose);
    m_frame->ShowMaximised();
    m_frame->repaint();
    if (LoadSettings())
        m_frame->RefreshProperties();
    RebuildEngine();
    return true;
}

void CMainApp::RebuildEngine()
{
    DestroyEngine();
    // The surface shows while the engine is built, so that it has its size and is exposed.
    if (m_frame)
        m_frame->ShowCanvas(true);
    g_engine = new CRenderEngine(EngineHooks{.frameRate = &m_frameRate});
    RenderWindow* target = m_renderTargetForTesting != nullptr ? m_renderTargetForTesting
                           : m_frame                          ? m_frame->RenderTarget()
                                                              : nullptr;
    if (FAILED(g_engine->Init(target))) {
        DestroyEngine();
        // Without an engine the view's plain background shows instead of a stale picture.
        if (m_frame)
            m_frame->ShowCanvas(false);
        ShowMessageBox("Init Engine Failed!", "Error!", MessageIcon::Error);
    }
    if (m_frame)
        m_frame->repaint();
}

void CMainApp::MessageBoxShown(bool open)
{
    m_openBoxes += open ? 1 : -1;
    if (open && m_openBoxes == 1 && m_frame && (g_engine == nullptr || !g_engine->IsInitialised())) {
        m_frame->ShowCanvas(false);
        m_canvasHiddenForBoxes = true;
    } else if (!open && m_openBoxes == 0 && m_canvasHiddenForBoxes) {
        m_canvasHiddenForBoxes = false;
        // A failed build has hidden it for good meanwhile; a build under way needs it back.
        if (m_frame && g_engine != nullptr)
            m_frame->ShowCanvas(true);
    }
}

bool CMainApp::PreTranslateMessage(QObject* target, QEvent* event)
{
    if (CSplashWindow::FilterMessage(*event))
        return true;
    if (m_frame)
        m_frame->PreTranslateMessage(target, event);
    return false;
}

} // namespace lumeno
