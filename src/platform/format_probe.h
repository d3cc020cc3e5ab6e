#pragma once
// Which canvas format the machine can blend into after the pixel shader: 116 (RGBA32F),
// 113 (RGBA16F) or 21 (RGBA8). The canvas defaults ask it; the first asking probes, at
// start-up, and Restore Default gets the same answer.

namespace lumeno {

// The adapter does not change while the program runs, so the machine is probed once per
// process and later calls give the same answer.
int ProbeBlendableCanvasFormat();

// The probe itself, on every call: a headless context on a thread of its own, so that
// whatever context the caller has current (a window's, through GLX or EGL) is neither in
// the probe's way nor disturbed by it. 21 when no context or thread can be had.
int ProbeBlendableCanvasFormatNow();

} // namespace lumeno
