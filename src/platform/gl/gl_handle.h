#pragma once
// The integer types of OpenGL's object names and uniform locations, as the device's
// headers hand them out: the files that draw through the device then compile without the
// GL API, which only the sources of this folder include. gl_name.cpp checks that they
// are GL's own types.

namespace lumeno {

using GlHandle = unsigned int; // GLuint: a texture, buffer, framebuffer, program ... name
using GlLocation = int;        // GLint: a uniform's location, -1 for none

} // namespace lumeno
