#pragma once
// The three canvas formats and how OpenGL stores them, and whether a format can be
// blended into after the fragment shader. The blending answers need a current context.

#include <epoxy/gl.h>

#include "platform/gl/d3d_constants.h"

namespace lumeno {

struct CanvasFormatInfo {
    D3DFORMAT format;
    GLenum internalFormat; // GL_RGBA8, GL_RGBA16F, GL_RGBA32F
    GLenum readType;       // what read-back asks for: bytes or floats
    int bytesPerPixel;     // of a read-back pixel
};

// Null for any format but 21, 113 and 116.
const CanvasFormatInfo* FindCanvasFormat(D3DFORMAT format);

// Asks the driver (GL 4.2 or ARB_internalformat_query2), else renders a probe.
bool SupportsPostPixelShaderBlending(D3DFORMAT format);

// The probe render alone: clears a small texture of the format to 0.25, adds 0.5 with
// blending and reads back 0.75. Leaves the context's state as it found it.
bool BlendableByProbeRender(D3DFORMAT format);

} // namespace lumeno
