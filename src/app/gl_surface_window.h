#pragma once
// The surface the device presents into: a native child window with its own OpenGL 3.3
// context, laid over the main frame's client area. It is both the engine's RenderWindow
// and the GL context behind it. Sizes are in physical pixels, so that at scale 1 one
// canvas pixel is one screen pixel on high-density screens too.

#include <memory>

#include <QWindow>

#include "platform/gl/gl_context.h"
#include "platform/render_window.h"

class QOffscreenSurface;
class QOpenGLContext;
class QWidget;

namespace lumeno {

class GlSurfaceWindow final : public QWindow, public RenderWindow, private GlContext {
    Q_OBJECT

public:
    // `background` is the widget the surface lies over; its window colour shows around
    // the presented canvas.
    explicit GlSurfaceWindow(const QWidget& background);
    ~GlSurfaceWindow() override;

    // The context, made on first use; null when this platform gives none (the engine
    // build then fails with its own report).
    GlContext* Context() override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    std::uint32_t WindowColour() const override;

private:
    bool MakeCurrent() override;
    void DoneCurrent() override;
    void SwapBuffers() override;
    unsigned DefaultFramebuffer() const override;
    int SurfaceWidth() const override;
    int SurfaceHeight() const override;

    std::unique_ptr<QOpenGLContext> m_context;
    // Where the context is made current once the window is gone, so that the engine can
    // still release its GL objects.
    std::unique_ptr<QOffscreenSurface> m_fallbackSurface;
    bool m_contextFailed = false;
    const QWidget& m_background;
};

} // namespace lumeno
