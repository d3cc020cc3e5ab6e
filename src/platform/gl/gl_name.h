#pragma once
// Move-only owners of OpenGL object names. Empty (name 0) until created, they need no
// context while empty; a non-empty owner must be destroyed while its context is current,
// or abandoned once that context is gone.

#include <epoxy/gl.h>

#include <utility>

namespace lumeno {

template <class Traits>
class GlName {
public:
    GlName() = default;
    explicit GlName(GLuint name) : m_name(name) {}
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

    GLuint Get() const { return m_name; }
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
    GLuint m_name = 0;
};

struct GlTextureTraits {
    static void Delete(GLuint name) { glDeleteTextures(1, &name); }
};
struct GlBufferTraits {
    static void Delete(GLuint name) { glDeleteBuffers(1, &name); }
};
struct GlFramebufferTraits {
    static void Delete(GLuint name) { glDeleteFramebuffers(1, &name); }
};
struct GlVertexArrayTraits {
    static void Delete(GLuint name) { glDeleteVertexArrays(1, &name); }
};
struct GlShaderTraits {
    static void Delete(GLuint name) { glDeleteShader(name); }
};
struct GlProgramTraits {
    static void Delete(GLuint name) { glDeleteProgram(name); }
};

using GlTextureName = GlName<GlTextureTraits>;
using GlBufferName = GlName<GlBufferTraits>;
using GlFramebufferName = GlName<GlFramebufferTraits>;
using GlVertexArrayName = GlName<GlVertexArrayTraits>;
using GlShaderName = GlName<GlShaderTraits>;
using GlProgramName = GlName<GlProgramTraits>;

inline GlTextureName GenTexture()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    return GlTextureName(name);
}
inline GlBufferName GenBuffer()
{
    GLuint name = 0;
    glGenBuffers(1, &name);
    return GlBufferName(name);
}
inline GlFramebufferName GenFramebuffer()
{
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    return GlFramebufferName(name);
}
inline GlVertexArrayName GenVertexArray()
{
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    return GlVertexArrayName(name);
}

} // namespace lumeno
