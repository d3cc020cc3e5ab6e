#include "gl_surface_window.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QWidget>

namespace lumeno {

GlSurfaceWindow::GlSurfaceWindow(const QWidget& background) : m_background(background)
{
    setSurfaceType(QSurface::OpenGLSurface);
    // main() set the default format: 3.3 core, swap interval 0.
    setFormat(QSurfaceFormat::defaultFormat());
}

GlSurfaceWindow::~GlSurfaceWindow()
{
    // The engine is gone by now (the frame shuts it down first); the context goes before
    // the native window it was made for.
    if (m_context)
        m_context->doneCurrent();
    m_context.reset();
    m_fallbackSurface.reset();
}

GlContext* GlSurfaceWindow::Context()
{
    if (!m_context && !m_contextFailed) {
        // Before the first context: a cached shader would hide an effect's warnings.
        DisableDriverShaderCache();
        create();
        auto context = std::make_unique<QOpenGLContext>();
        context->setFormat(format());
        if (context->create()) {
            m_context = std::move(context);
            m_fallbackSurface = std::make_unique<QOffscreenSurface>();
            m_fallbackSurface->setFormat(m_context->format());
            m_fallbackSurface->create();
        }
        else
            m_contextFailed = true; // asked once: the platform will not change its mind
    }
    return m_context ? static_cast<GlContext*>(this) : nullptr;
}

int GlSurfaceWindow::ClientWidth() const { return qRound(width() * devicePixelRatio()); }

int GlSurfaceWindow::ClientHeight() const { return qRound(height() * devicePixelRatio()); }

// Asked every frame, so a change of palette or style shows at once.
std::uint32_t GlSurfaceWindow::WindowColour() const
{
    return m_background.palette().color(m_background.backgroundRole()).rgba();
}

bool GlSurfaceWindow::MakeCurrent()
{
    if (!m_context)
        return false;
    if (QOpenGLContext::currentContext() == m_context.get())
        return true;
    if (handle() != nullptr && m_context->makeCurrent(this))
        return true;
    return m_fallbackSurface && m_context->makeCurrent(m_fallbackSurface.get());
}

void GlSurfaceWindow::DoneCurrent()
{
    if (m_context)
        m_context->doneCurrent();
}

void GlSurfaceWindow::SwapBuffers()
{
    // A hidden or minimised window has nothing to show; swapping it is undefined.
    if (m_context && isExposed())
        m_context->swapBuffers(this);
}

unsigned GlSurfaceWindow::DefaultFramebuffer() const
{
    return m_context ? m_context->defaultFramebufferObject() : 0;
}

// Zero while not exposed, so the presentation skips a window nobody can see.
int GlSurfaceWindow::SurfaceWidth() const { return isExposed() ? ClientWidth() : 0; }

int GlSurfaceWindow::SurfaceHeight() const { return isExposed() ? ClientHeight() : 0; }

} // namespace lumeno
