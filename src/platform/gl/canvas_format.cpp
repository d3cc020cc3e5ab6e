#include "platform/gl/canvas_format.h"

#include <epoxy/gl.h>

#include <array>
#include <cmath>
#include <string>

#include "platform/gl/gl_name.h"
#include "platform/gl/saved_gl_state.h"
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
    // Everything the probe render changes is put back.
    const SavedGlState saved;
    return ProbeRender(*info);
}

} // namespace lumeno
