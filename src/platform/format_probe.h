#pragma once
// Which canvas format the machine can blend into after the pixel shader: 116 (RGBA32F),
// 113 (RGBA16F) or 21 (RGBA8). The canvas defaults ask it; the first asking probes, at
// start-up, and Restore Default gets the same answer.

#include <string>

#include "platform/gl/d3d_constants.h"

namespace lumeno {

struct CanvasFormatProbe {
    int format = D3DFMT_A8R8G8B8;
    // Empty when the probe ran. When it could not (no context, no thread), 21 is a guess,
    // not an answer, and this says why, so that the 8-bit default does not go unexplained.
    std::string fallbackReason;
};

// The adapter does not change while the program runs, so the machine is probed once per
// process and later calls give the same answer.
int ProbeBlendableCanvasFormat();
// Why that answer is a fallback rather than a probe's; empty when the probe ran.
const std::string& ProbeBlendableCanvasFormatReason();

// The probe itself, on every call: a headless context on a thread of its own, so that
// whatever context the caller has current (a window's, through GLX or EGL) is neither in
// the probe's way nor disturbed by it. 21, with the reason, when no context or thread can
// be had.
CanvasFormatProbe ProbeBlendableCanvasFormatNow();

} // namespace lumeno
