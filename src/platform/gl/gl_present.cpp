// GlDevice::Present: the back buffer, scaled, into the context's window.
#include "platform/gl/gl_device.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace lumeno {

HRESULT GlDevice::Present(const GlRect* source, const GlRect* destination, D3DCOLOR windowColour)
{
    const int windowWidth = m_context.SurfaceWidth();
    const int windowHeight = m_context.SurfaceHeight();
    if (windowWidth <= 0 || windowHeight <= 0)
        return S_OK; // headless, or a minimised window: nothing to show
    const GlRect from = source != nullptr ? *source : GlRect{0, 0, m_backBuffer->Width(), m_backBuffer->Height()};
    const GlRect to = destination != nullptr ? *destination : GlRect{0, 0, windowWidth, windowHeight};

    const GLuint window = m_context.DefaultFramebuffer();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, window);
    const auto channel = [windowColour](int shift) { return static_cast<float>((windowColour >> shift) & 0xFFu) / 255.0f; };
    glClearColor(channel(16), channel(8), channel(0), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    // The back buffer keeps its top row at GL row 0; the window's row 0 is its bottom. So
    // source rows run top to bottom while destination rows run from the window's top down.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_backBuffer->Framebuffer());
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    // A destination scaled by a hand-edited `scale` may lie anywhere in int's range: flip
    // in 64 bits and saturate, where int arithmetic would overflow.
    const auto flip = [windowHeight](int y) {
        return static_cast<GLint>(std::clamp<std::int64_t>(std::int64_t{windowHeight} - y, INT_MIN, INT_MAX));
    };
    glBlitFramebuffer(from.left, from.top, from.right, from.bottom, to.left, flip(to.top), to.right, flip(to.bottom),
                      GL_COLOR_BUFFER_BIT, GL_LINEAR);

    glBindFramebuffer(GL_FRAMEBUFFER, m_renderTarget->Framebuffer());
    m_context.SwapBuffers();
    return S_OK;
}

} // namespace lumeno
