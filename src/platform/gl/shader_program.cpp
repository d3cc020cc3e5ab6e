#include "platform/gl/shader_program.h"

#include <epoxy/gl.h>

#include <vector>

namespace lumeno {
namespace {

std::string ShaderLog(GLuint shader)
{
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (length <= 1)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length));
    glGetShaderInfoLog(shader, length, nullptr, text.data());
    return std::string(text.data());
}

std::string ProgramLog(GLuint program)
{
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    if (length <= 1)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length));
    glGetProgramInfoLog(program, length, nullptr, text.data());
    return std::string(text.data());
}

} // namespace

GlShaderName CompileShader(GLenum stage, std::string_view source, std::string* log)
{
    GlShaderName shader(glCreateShader(stage));
    if (!shader)
        return shader;
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader.Get(), 1, &text, &length);
    glCompileShader(shader.Get());
    *log = ShaderLog(shader.Get());
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader.Get(), GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE)
        shader.Reset();
    return shader;
}

GlProgramName LinkProgram(const GlShaderName& vertex, const GlShaderName& fragment, std::string* log)
{
    GlProgramName program(glCreateProgram());
    if (!program)
        return program;
    glAttachShader(program.Get(), vertex.Get());
    glAttachShader(program.Get(), fragment.Get());
    glLinkProgram(program.Get());
    *log = ProgramLog(program.Get());
    GLint linked = GL_FALSE;
    glGetProgramiv(program.Get(), GL_LINK_STATUS, &linked);
    // Detached, the stages are freed when their owners go; the program keeps its binary.
    glDetachShader(program.Get(), vertex.Get());
    glDetachShader(program.Get(), fragment.Get());
    if (linked != GL_TRUE)
        program.Reset();
    return program;
}

GlProgramName LinkComputeProgram(const GlShaderName& compute, std::string* log)
{
    GlProgramName program(glCreateProgram());
    if (!program)
        return program;
    glAttachShader(program.Get(), compute.Get());
    glLinkProgram(program.Get());
    *log = ProgramLog(program.Get());
    GLint linked = GL_FALSE;
    glGetProgramiv(program.Get(), GL_LINK_STATUS, &linked);
    glDetachShader(program.Get(), compute.Get());
    if (linked != GL_TRUE)
        program.Reset();
    return program;
}

bool LogHasText(std::string_view log)
{
    return log.find_first_not_of(" \t\r\n") != std::string_view::npos;
}

} // namespace lumeno
