#pragma once
// Saves the GL state that a pass drawing outside the device changes, and puts it back on
// destruction: the device mirrors GL state and trusts it, so whoever draws with raw GL
// between its calls holds one of these for the while.

#include <epoxy/gl.h>

#include <array>

namespace lumeno {

class SavedGlState {
public:
    SavedGlState();
    ~SavedGlState();
    SavedGlState(const SavedGlState&) = delete;
    SavedGlState& operator=(const SavedGlState&) = delete;

private:
    GLint m_drawFramebuffer = 0, m_readFramebuffer = 0, m_program = 0, m_vertexArray = 0, m_arrayBuffer = 0;
    // Drawers sample from unit 0 whichever unit is active, so both bindings are kept.
    GLint m_activeTexture = GL_TEXTURE0, m_activeUnitTexture = 0, m_unitZeroTexture = 0;
    std::array<GLint, 4> m_viewport{};
    std::array<GLfloat, 4> m_clearColour{};
    GLint m_blendSrcRgb = 0, m_blendDstRgb = 0, m_blendSrcAlpha = 0, m_blendDstAlpha = 0;
    GLint m_equationRgb = 0, m_equationAlpha = 0;
    std::array<GLint, 2> m_polygonMode{};
    GLint m_packAlignment = 4, m_unpackAlignment = 4;
    GLboolean m_blend = GL_FALSE, m_cull = GL_FALSE, m_depth = GL_FALSE, m_stencil = GL_FALSE, m_scissor = GL_FALSE;
};

} // namespace lumeno
