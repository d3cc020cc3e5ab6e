#include "platform/gl/gl_surface.h"

namespace lumeno {

GlSurface::GlSurface(GlDeviceLife life, int width, int height, D3DFORMAT format)
    : m_life(std::move(life)), m_width(width), m_height(height), m_format(format)
{
}

GlSurface::~GlSurface()
{
    if (m_life.expired()) {
        m_framebuffer.Abandon();
        m_texture.Abandon();
    }
    m_framebuffer.Reset();
    m_texture.Reset();
}

HRESULT GlTexture::GetSurfaceLevel(unsigned level, std::shared_ptr<GlSurface>* surface) const
{
    if (surface == nullptr)
        return D3DERR_INVALIDCALL;
    if (level != 0) {
        surface->reset();
        return D3DERR_INVALIDCALL;
    }
    *surface = m_level0;
    return S_OK;
}

} // namespace lumeno
