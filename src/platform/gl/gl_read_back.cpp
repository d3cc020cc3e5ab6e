// GlDevice::ReadSurface: a surface into memory for image files and the clipboard.
#include <epoxy/gl.h>

#include <new>

#include "platform/gl/canvas_format.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_error.h"

namespace lumeno {

HRESULT GlDevice::ReadSurface(const GlSurface& surface, GlImage* image) const
{
    const CanvasFormatInfo* info = FindCanvasFormat(surface.Format());
    if (image == nullptr || info == nullptr || surface.m_life.lock() != m_life)
        return D3DERR_INVALIDCALL;
    const std::size_t width = static_cast<std::size_t>(surface.Width());
    const std::size_t height = static_cast<std::size_t>(surface.Height());
    GlImage result;
    result.width = surface.Width();
    result.height = surface.Height();
    result.format = surface.Format();
    result.rowPitch = width * static_cast<std::size_t>(info->bytesPerPixel);
    void* pixels = nullptr;
    try {
        if (info->readType == GL_FLOAT) {
            result.floats.resize(width * height * 4);
            pixels = result.floats.data();
        } else {
            result.bytes.resize(width * height * 4);
            pixels = result.bytes.data();
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }

    GLint readFramebuffer = 0;
    GLint packAlignment = 4;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, surface.Framebuffer());
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // The read waits for the work before it in any case; waiting for all of it here also
    // keeps Mesa's llvmpipe (22.3) from handing back a target's pixels from before a clear
    // made just before the read, as it did for a canvas cleared while other targets were
    // still being drawn into.
    glFinish();
    // GL row 0 is the top row of every target, so rows arrive top first.
    glReadPixels(0, 0, surface.Width(), surface.Height(), GL_RGBA, info->readType, pixels);
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
    const HRESULT error = TakeGlError();
    if (FAILED(error))
        return error;
    *image = std::move(result);
    return S_OK;
}

} // namespace lumeno
