#pragma once
// The versions of the current GL context that the device's capability checks compare.

namespace lumeno {

struct ContextVersion {
    int glMajor = 0, glMinor = 0;     // the OpenGL version
    int glslMajor = 0, glslMinor = 0; // the shading-language version
};

// Needs a current context.
ContextVersion ReadCurrentContextVersion();

} // namespace lumeno
