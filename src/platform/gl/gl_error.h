#pragma once
// OpenGL errors and versions turned into the device's result codes.

#include "platform/hresult.h"

namespace lumeno {

// Takes every pending GL error: S_OK when there was none, D3DERR_OUTOFVIDEOMEMORY when
// one of them was GL_OUT_OF_MEMORY, else GLERR_UNEXPECTED.
[[nodiscard]] HRESULT TakeGlError();

// True when a context is current and offers OpenGL 3.3 or later.
[[nodiscard]] bool CurrentContextHasGl33();

} // namespace lumeno
