#include "platform/gl/saved_gl_state.h"

#include <epoxy/gl.h>

namespace lumeno {
namespace {

void Enable(GLenum capability, GLboolean on) { on ? glEnable(capability) : glDisable(capability); }

} // namespace

SavedGlState::SavedGlState()
{
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &m_drawFramebuffer);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &m_readFramebuffer);
    glGetIntegerv(GL_CURRENT_PROGRAM, &m_program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &m_vertexArray);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &m_arrayBuffer);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &m_activeTexture);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &m_activeUnitTexture);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &m_unitZeroTexture);
    glActiveTexture(static_cast<GLenum>(m_activeTexture));
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
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &m_unpackAlignment);
    m_blend = glIsEnabled(GL_BLEND);
    m_cull = glIsEnabled(GL_CULL_FACE);
    m_depth = glIsEnabled(GL_DEPTH_TEST);
    m_stencil = glIsEnabled(GL_STENCIL_TEST);
    m_scissor = glIsEnabled(GL_SCISSOR_TEST);
}

SavedGlState::~SavedGlState()
{
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(m_drawFramebuffer));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(m_readFramebuffer));
    glUseProgram(static_cast<GLuint>(m_program));
    glBindVertexArray(static_cast<GLuint>(m_vertexArray));
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(m_arrayBuffer));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(m_unitZeroTexture));
    glActiveTexture(static_cast<GLenum>(m_activeTexture));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(m_activeUnitTexture));
    glViewport(m_viewport[0], m_viewport[1], m_viewport[2], m_viewport[3]);
    glClearColor(m_clearColour[0], m_clearColour[1], m_clearColour[2], m_clearColour[3]);
    glBlendFuncSeparate(static_cast<GLenum>(m_blendSrcRgb), static_cast<GLenum>(m_blendDstRgb),
                        static_cast<GLenum>(m_blendSrcAlpha), static_cast<GLenum>(m_blendDstAlpha));
    glBlendEquationSeparate(static_cast<GLenum>(m_equationRgb), static_cast<GLenum>(m_equationAlpha));
    glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(m_polygonMode[0]));
    glPixelStorei(GL_PACK_ALIGNMENT, m_packAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, m_unpackAlignment);
    Enable(GL_BLEND, m_blend);
    Enable(GL_CULL_FACE, m_cull);
    Enable(GL_DEPTH_TEST, m_depth);
    Enable(GL_STENCIL_TEST, m_stencil);
    Enable(GL_SCISSOR_TEST, m_scissor);
}

} // namespace lumeno
