#include "platform/context_version.h"

#include <cstdio>
#include <epoxy/gl.h>

namespace lumeno {

ContextVersion ReadCurrentContextVersion()
{
    ContextVersion version;
    glGetIntegerv(GL_MAJOR_VERSION, &version.glMajor);
    glGetIntegerv(GL_MINOR_VERSION, &version.glMinor);
    // "4.50", "3.30 NVIDIA ...", "OpenGL ES GLSL ES 3.20": the first two numbers.
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION));
    if (text) {
        while (*text && (*text < '0' || *text > '9'))
            ++text;
        int minor = 0;
        if (std::sscanf(text, "%d.%d", &version.glslMajor, &minor) == 2)
            version.glslMinor = minor >= 10 ? minor / 10 : minor;
    }
    return version;
}

} // namespace lumeno
