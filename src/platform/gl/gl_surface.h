#pragma once
// Render-target textures and their level-0 surfaces. Both are handed out by the device as
// shared references, like the reference-counted interfaces they stand in for: dropping the
// last reference frees the GL objects (while the device lives; after it, its context is
// gone and they are only forgotten). A surface keeps its texture's storage alive.

#include <memory>

#include "platform/gl/d3d_constants.h"
#include "platform/gl/gl_name.h"
#include "platform/hresult.h"

namespace lumeno {

class GlDevice;

// Shared by the device and everything it made: expired once the device is destroyed.
using GlDeviceLife = std::weak_ptr<const int>;

class GlSurface {
public:
    ~GlSurface();
    GlSurface(const GlSurface&) = delete;
    GlSurface& operator=(const GlSurface&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    D3DFORMAT Format() const { return m_format; }
    GlHandle Framebuffer() const { return m_framebuffer.Get(); }
    GlHandle Texture() const { return m_texture.Get(); }

private:
    friend class GlDevice;
    GlSurface(GlDeviceLife life, int width, int height, D3DFORMAT format);

    GlDeviceLife m_life;
    int m_width;
    int m_height;
    D3DFORMAT m_format;
    GlTextureName m_texture;         // created first
    GlFramebufferName m_framebuffer; // freed first
};

class GlTexture {
public:
    // Level 0 is the only level; any other gives D3DERR_INVALIDCALL and a null surface.
    [[nodiscard]] HRESULT GetSurfaceLevel(unsigned level, std::shared_ptr<GlSurface>* surface) const;

    int Width() const { return m_level0->Width(); }
    int Height() const { return m_level0->Height(); }
    D3DFORMAT Format() const { return m_level0->Format(); }
    GlHandle Name() const { return m_level0->Texture(); }

private:
    friend class GlDevice;
    explicit GlTexture(std::shared_ptr<GlSurface> level0) : m_level0(std::move(level0)) {}

    std::shared_ptr<GlSurface> m_level0;
};

} // namespace lumeno
