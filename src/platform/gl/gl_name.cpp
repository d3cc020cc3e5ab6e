#include "platform/gl/gl_name.h"

#include <epoxy/gl.h>

#include <type_traits>

namespace lumeno {

static_assert(std::is_same_v<GlHandle, GLuint>);
static_assert(std::is_same_v<GlLocation, GLint>);
static_assert(std::is_same_v<GlEnum, GLenum>);

void GlTextureTraits::Delete(GlHandle name) { glDeleteTextures(1, &name); }
void GlBufferTraits::Delete(GlHandle name) { glDeleteBuffers(1, &name); }
void GlFramebufferTraits::Delete(GlHandle name) { glDeleteFramebuffers(1, &name); }
void GlVertexArrayTraits::Delete(GlHandle name) { glDeleteVertexArrays(1, &name); }
void GlShaderTraits::Delete(GlHandle name) { glDeleteShader(name); }
void GlProgramTraits::Delete(GlHandle name) { glDeleteProgram(name); }

GlTextureName GenTexture()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    return GlTextureName(name);
}

GlBufferName GenBuffer()
{
    GLuint name = 0;
    glGenBuffers(1, &name);
    return GlBufferName(name);
}

GlFramebufferName GenFramebuffer()
{
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    return GlFramebufferName(name);
}

GlVertexArrayName GenVertexArray()
{
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    return GlVertexArrayName(name);
}

} // namespace lumeno
