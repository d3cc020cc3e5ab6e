#pragma once
// Which canvas format the machine can blend into after the pixel shader: 116 (RGBA32F),
// 113 (RGBA16F) or 21 (RGBA8). Asked once by the canvas defaults, before any window exists.

namespace lumeno {

int ProbeBlendableCanvasFormat();

} // namespace lumeno
