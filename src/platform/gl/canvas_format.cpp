#include "platform/gl/canvas_format.h"

#include <array>
#include <cmath>
#include <string>

#include "platform/gl/gl_name.h"
#include "platform/gl/shader_program.h"

namespace lumeno {
namespace {

constexpr std::array<CanvasFormatInfo, 3> kCanvasFormats = {{
    {D3DFMT_A8R8G8B8, GL_RGBA8, GL_UNSIGNED_BYTE, 4},
    {D3DFMT_A16B16G16R16F, GL_RGBA16F, GL_FLOAT, 16},
    {D3DFMT_A32B32G32R32F, GL_RGBA32F, GL_FLOAT, 16},
}};

constexpr int kProbeSize = 4;

// A triangle over the whole target, made from the vertex index: no buffers needed.
constexpr const char* kProbeVertex = R"(#version 330 core
void main() { gl_Position = vec4(float(gl_VertexID % 2) * 4.0 - 1.0, float(gl_VertexID / 2) * 4.0 - 1.0, 0.0, 1.0); }
)";
constexpr const char* kProbeFragment = R"(#version 330 core
out vec4 colour;
void main() { colour = vec4(0.5); }
)";

// Everything the probe render changes, put back on destruction.
class SavedGlState {
public:
    SavedGlState()
    {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &m_drawFramebuffer);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &m_readFramebuffer);
        glGetIntegerv(GL_CURRENT_PROGRAM, &m_program);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &m_vertexArray);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &m_texture);
        glGetIntegerv(GL_VIEWPORT, m_viewport.data());
        glGetFloatv(GL_COLOR_CLEAR_VALUE, m_clearColour.data());
        glGetIntegerv(GL_BLEND_SRC_RGB, &m_blendSrcRgb);
        glGetIntegerv(GL_BLEND_DST_RGB, &m_blendDstRgb);
        glGetIntegerv(GL_BLEND_SRC_ALPHA, &m_blendSrcAlpha);
        glGetIntegerv(GL_BLEND_DST_ALPHA, &m_blendDstAlpha);
        glGetIntegerv(GL_BLEND_EQUATION_RGB, &m_equationRgb);
        glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &m_equationAlpha);
        glGetIntegerv(GL_POLYGON_MODE, m_polygonMode.data());
        glGetIntegerv(GL_PACK_ALIGNMENT, &m_packAlignment);
        m_blend = glIsEnabled(GL_BLEND);
        m_cull = glIsEnabled(GL_CULL_FACE);
        m_depth = glIsEnabled(GL_DEPTH_TEST);
        m_stencil = glIsEnabled(GL_STENCIL_TEST);
        m_scissor = glIsEnabled(GL_SCISSOR_TEST);
    }
    ~SavedGlState()
    {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(m_drawFramebuffer));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(m_readFramebuffer));
        glUseProgram(static_cast<GLuint>(m_program));
        glBindVertexArray(static_cast<GLuint>(m_vertexArray));
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(m_texture));
        glViewport(m_viewport[0], m_viewport[1], m_viewport[2], m_viewport[3]);
        glClearColor(m_clearColour[0], m_clearColour[1], m_clearColour[2], m_clearColour[3]);
        glBlendFuncSeparate(static_cast<GLenum>(m_blendSrcRgb), static_cast<GLenum>(m_blendDstRgb),
                            static_cast<GLenum>(m_blendSrcAlpha), static_cast<GLenum>(m_blendDstAlpha));
        glBlendEquationSeparate(static_cast<GLenum>(m_equationRgb), static_cast<GLenum>(m_equationAlpha));
        glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(m_polygonMode[0]));
        glPixelStorei(GL_PACK_ALIGNMENT, m_packAlignment);
        Enable(GL_BLEND, m_blend);
        Enable(GL_CULL_FACE, m_cull);
        Enable(GL_DEPTH_TEST, m_depth);
        Enable(GL_STENCIL_TEST, m_stencil);
        Enable(GL_SCISSOR_TEST, m_scissor);
    }
    SavedGlState(const SavedGlState&) = delete;
    SavedGlState& operator=(const SavedGlState&) = delete;

private:
    static void Enable(GLenum capability, GLboolean on) { on ? glEnable(capability) : glDisable(capability); }

    GLint m_drawFramebuffer = 0, m_readFramebuffer = 0, m_program = 0, m_vertexArray = 0, m_texture = 0;
    std::array<GLint, 4> m_viewport{};
    std::array<GLfloat, 4> m_clearColour{};
    GLint m_blendSrcRgb = 0, m_blendDstRgb = 0, m_blendSrcAlpha = 0, m_blendDstAlpha = 0;
    GLint m_equationRgb = 0, m_equationAlpha = 0;
    std::array<GLint, 2> m_polygonMode{};
    GLint m_packAlignment = 4;
    GLboolean m_blend = GL_FALSE, m_cull = GL_FALSE, m_depth = GL_FALSE, m_stencil = GL_FALSE, m_scissor = GL_FALSE;
};

bool ProbeRender(const CanvasFormatInfo& info)
{
    GlTextureName texture = GenTexture();
    glBindTexture(GL_TEXTURE_2D, texture.Get());
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(info.internalFormat), kProbeSize, kProbeSize, 0, GL_RGBA,
                 info.readType, nullptr);
    GlFramebufferName framebuffer = GenFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.Get());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture.Get(), 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return false;

    std::string log;
    GlShaderName vertex = CompileShader(GL_VERTEX_SHADER, kProbeVertex, &log);
    GlShaderName fragment = CompileShader(GL_FRAGMENT_SHADER, kProbeFragment, &log);
    if (!vertex || !fragment)
        return false;
    GlProgramName program = LinkProgram(vertex, fragment, &log);
    if (!program)
        return false;
    GlVertexArrayName vertexArray = GenVertexArray();

    glViewport(0, 0, kProbeSize, kProbeSize);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glClearColor(0.25f, 0.25f, 0.25f, 0.25f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glBlendEquation(GL_FUNC_ADD);
    glUseProgram(program.Get());
    glBindVertexArray(vertexArray.Get());
    glDrawArrays(GL_TRIANGLES, 0, 3);

    std::array<float, 4> pixel{};
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(1, 1, 1, 1, GL_RGBA, GL_FLOAT, pixel.data());
    if (glGetError() != GL_NO_ERROR)
        return false;
    // Bytes round 0.25 and 0.5 to 64/255 and 128/255; floats add exactly.
    const float tolerance = info.readType == GL_UNSIGNED_BYTE ? 1.5f / 255.0f : 0.0f;
    for (float channel : pixel)
        if (!(std::fabs(channel - 0.75f) <= tolerance))
            return false;
    return true;
}

} // namespace

const CanvasFormatInfo* FindCanvasFormat(D3DFORMAT format)
{
    for (const CanvasFormatInfo& info : kCanvasFormats)
        if (info.format == format)
            return &info;
    return nullptr;
}

bool SupportsPostPixelShaderBlending(D3DFORMAT format)
{
    const CanvasFormatInfo* info = FindCanvasFormat(format);
    if (info == nullptr || epoxy_gl_version() == 0)
        return false;
    if (epoxy_gl_version() >= 42 || epoxy_has_gl_extension("GL_ARB_internalformat_query2")) {
        GLint support = GL_NONE;
        glGetInternalformativ(GL_TEXTURE_2D, info->internalFormat, GL_FRAMEBUFFER_BLEND, 1, &support);
        if (glGetError() == GL_NO_ERROR)
            return support == GL_FULL_SUPPORT || support == GL_CAVEAT_SUPPORT;
    }
    return BlendableByProbeRender(format);
}

bool BlendableByProbeRender(D3DFORMAT format)
{
    const CanvasFormatInfo* info = FindCanvasFormat(format);
    if (info == nullptr || epoxy_gl_version() == 0)
        return false;
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
    }
    const SavedGlState saved;
    return ProbeRender(*info);
}

} // namespace lumeno
