#pragma once
// Compiling GLSL stages and linking them, with the compiler's and linker's logs.

#include <epoxy/gl.h>

#include <string>
#include <string_view>

#include "platform/gl/gl_name.h"

namespace lumeno {

// Compiles one stage (GL_VERTEX_SHADER or GL_FRAGMENT_SHADER). The name is empty when
// compilation failed; *log receives whatever the compiler said, warnings included.
GlShaderName CompileShader(GLenum stage, std::string_view source, std::string* log);

// Links the two stages; empty on failure, *log as above.
GlProgramName LinkProgram(const GlShaderName& vertex, const GlShaderName& fragment, std::string* log);

// Links one compute stage; empty on failure, *log as above.
GlProgramName LinkComputeProgram(const GlShaderName& compute, std::string* log);

// True when a log holds more than white space: drivers may end an empty log with a newline.
bool LogHasText(std::string_view log);

} // namespace lumeno
