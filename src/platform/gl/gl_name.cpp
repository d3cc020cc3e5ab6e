#include "platform/gl/gl_name.h"

#include <epoxy/gl.h>

#include <type_traits>

namespace lumeno {

static_assert(std::is_same_v<GlHandle, GLuint>);
static_assert(std::is_same_v<GlLocation, GLint>);

void GlTextureTraits::Delete(GlHandle name) { glDeleteTextures(1, &name); }
void GlBufferTraits::Delete(GlHandle name) { glDeleteBuffers(1, &name); }
void GlFramebufferTraits::Delete(GlHandle name) { glDeleteFramebuffers(1, &name); }
void GlVertexArrayTraits::Delete(GlHandle name) { glDeleteVertexArrays(1, &name); }
void GlShaderTraits::Delete(GlHandle name) { glDeleteShader(name); }
void GlProgramTraits::Delete(GlHandle name) { glDeleteProgram(name); }

namespace {

template <class Name>
Name Generated(void (*generate)(GLsizei, GLuint*))
{
    GLuint name = 0;
    generate(1, &name);
    return Name(name);
}

} // namespace

GlTextureName GenTexture() { return Generated<GlTextureName>(glGenTextures); }
GlBufferName GenBuffer() { return Generated<GlBufferName>(glGenBuffers); }
GlFramebufferName GenFramebuffer() { return Generated<GlFramebufferName>(glGenFramebuffers); }
GlVertexArrayName GenVertexArray() { return Generated<GlVertexArrayName>(glGenVertexArrays); }

} // namespace lumeno
