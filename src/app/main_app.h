#pragma once
// The application: brings the program up (InitInstance), rebuilds the engine on demand
// and runs every input event through the pre-translation chain (the splash first, then
// the main frame) before it is delivered. Frames come from the main frame's timer.

#include <QApplication>
#include <QPointer>

#include "engine/frame_rate.h"
#include "main_frame.h"

namespace lumeno {

class RenderWindow;

class CMainApp final : public QApplication {
    Q_OBJECT

public:
    CMainApp(int& argc, char** argv);
    // Closes a main frame still open; its destructor shuts the engine down.
    ~CMainApp() override;

    // Start-up: the splash enabled, the frame created (with its view, dialogs, timer and
    // splash), shown maximised, the settings file loaded and, if it was, shown in the
    // properties dialog, then the engine built. Always true: without an engine the program
    // still runs, with its box said and the frame's plain background.
    bool InitInstance();

    // Replaces g_engine with a new engine built from the settings records for the main
    // frame's surface. A failed build leaves no engine and says so; either way the frame
    // is repainted. The frame-rate average goes on from where the last engine left it.
    void RebuildEngine();

    // True when the event is consumed: only a key or button press that closed the splash.
    bool PreTranslateMessage(QObject* target, QEvent* event);

    CMainFrame* MainFrame() const { return m_frame; }

    // Around every box: while one is open and no engine draws (its build failed or has not
    // ended), the view's plain background stands in for the surface, which paints only
    // through the engine and would keep whatever the screen showed there, the splash among it.
    void MessageBoxShown(bool open);

    // Tests build the engine for a window of their own instead of the frame's surface.
    void SetRenderTargetForTesting(RenderWindow* window) { m_renderTargetForTesting = window; }

private:
    QPointer<CMainFrame> m_frame;
    RenderWindow* m_renderTargetForTesting = nullptr;
    // One for the whole run: every engine adds its frames to it.
    FrameRateAverage m_frameRate;
    int m_openBoxes = 0;
    bool m_canvasHiddenForBoxes = false;
};

} // namespace lumeno
