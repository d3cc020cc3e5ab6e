#pragma once
// Move-only owners of OpenGL object names. Empty (name 0) until created, they need no
// context while empty; a non-empty owner must be destroyed while its context is current,
// or abandoned once that context is gone.

#include <utility>

#include "platform/gl/gl_handle.h"

namespace lumeno {

template <class Traits>
class GlName {
public:
    GlName() = default;
    explicit GlName(GlHandle name) : m_name(name) {}
    ~GlName() { Reset(); }
    GlName(GlName&& other) noexcept : m_name(std::exchange(other.m_name, 0)) {}
    GlName& operator=(GlName&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_name = std::exchange(other.m_name, 0);
        }
        return *this;
    }
    GlName(const GlName&) = delete;
    GlName& operator=(const GlName&) = delete;

    GlHandle Get() const { return m_name; }
    explicit operator bool() const { return m_name != 0; }

    void Reset()
    {
        if (m_name != 0)
            Traits::Delete(m_name);
        m_name = 0;
    }
    // Forgets the name without deleting it: its context no longer exists.
    void Abandon() { m_name = 0; }

private:
    GlHandle m_name = 0;
};

struct GlTextureTraits {
    static void Delete(GlHandle name);
};
struct GlBufferTraits {
    static void Delete(GlHandle name);
};
struct GlFramebufferTraits {
    static void Delete(GlHandle name);
};
struct GlVertexArrayTraits {
    static void Delete(GlHandle name);
};
struct GlShaderTraits {
    static void Delete(GlHandle name);
};
struct GlProgramTraits {
    static void Delete(GlHandle name);
};

using GlTextureName = GlName<GlTextureTraits>;
using GlBufferName = GlName<GlBufferTraits>;
using GlFramebufferName = GlName<GlFramebufferTraits>;
using GlVertexArrayName = GlName<GlVertexArrayTraits>;
using GlShaderName = GlName<GlShaderTraits>;
using GlProgramName = GlName<GlProgramTraits>;

// Each a fresh name from the current context.
GlTextureName GenTexture();
GlBufferName GenBuffer();
GlFramebufferName GenFramebuffer();
GlVertexArrayName GenVertexArray();

} // namespace lumeno
