#include "platform/gl/gl_effect.h"

#include <vector>

namespace lumeno {

GlEffect::GlEffect(GlDevice& device) : m_device(device), m_life(device.Life()) {}

GlEffect::~GlEffect()
{
    const bool deviceAlive = !m_life.expired();
    if (m_inPass && deviceAlive)
        m_device.UseProgram(0, -1);
    // Backwards: the reverse of creation.
    for (auto technique = m_techniques.rbegin(); technique != m_techniques.rend(); ++technique) {
        if (!deviceAlive) {
            technique->program.Abandon();
            technique->captureProgram.Abandon();
        }
        technique->captureProgram.Reset();
        technique->program.Reset();
    }
}

// Lists the program's float and sampler uniforms and gives each sampler its own unit.
void GlEffect::AddTechnique(std::string name, GlProgramName program, GlProgramName capture)
{
    Technique technique;
    technique.name = std::move(name);
    if (capture) {
        const GLuint name = capture.Get();
        technique.capture.program = name;
        technique.capture.targetSize = glGetUniformLocation(name, "lumeno_TargetSize");
        technique.capture.vertexCount = glGetUniformLocation(name, "lumeno_VertexCount");
        technique.capture.firstTexel = glGetUniformLocation(name, "lumeno_FirstTexel");
        technique.capture.texelsPerVertex = glGetUniformLocation(name, "lumeno_TexelsPerVertex");
        technique.capture.rowInvocations = glGetUniformLocation(name, "lumeno_RowInvocations");
        GLint size[3] = {1, 1, 1};
        glGetProgramiv(name, GL_COMPUTE_WORK_GROUP_SIZE, size);
        technique.capture.groupSize = static_cast<GLuint>(size[0] * size[1] * size[2]);
        glProgramUniform1i(name, glGetUniformLocation(name, "lumeno_Stream"), static_cast<GLint>(LineCapture::kStreamUnit));
        GLint count = 0;
        glGetProgramiv(name, GL_ACTIVE_UNIFORMS, &count);
        for (GLint i = 0; i < count; ++i) {
            char uniform[128];
            GLint uniformSize = 0;
            GLenum type = GL_NONE;
            glGetActiveUniform(name, static_cast<GLuint>(i), sizeof uniform, nullptr, &uniformSize, &type, uniform);
            if (type == GL_FLOAT && uniformSize == 1)
                technique.captureFloats.push_back({uniform, glGetUniformLocation(name, uniform), 0});
        }
        technique.captureProgram = std::move(capture);
    }
    technique.targetSizeLocation = glGetUniformLocation(program.Get(), "lumeno_TargetSize");
    GLint count = 0;
    GLint nameLength = 0;
    glGetProgramiv(program.Get(), GL_ACTIVE_UNIFORMS, &count);
    glGetProgramiv(program.Get(), GL_ACTIVE_UNIFORM_MAX_LENGTH, &nameLength);
    std::vector<char> buffer(static_cast<std::size_t>(nameLength) + 1);
    GLint previousProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
    glUseProgram(program.Get());
    for (GLint i = 0; i < count; ++i) {
        GLint size = 0;
        GLenum type = GL_NONE;
        glGetActiveUniform(program.Get(), static_cast<GLuint>(i), static_cast<GLsizei>(buffer.size()), nullptr, &size,
                           &type, buffer.data());
        const std::string uniform(buffer.data());
        const GLint location = glGetUniformLocation(program.Get(), uniform.c_str());
        if (type == GL_FLOAT && size == 1) {
            technique.floats.push_back({uniform, location, 0});
        } else if (type == GL_SAMPLER_2D && size == 1) {
            const int unit = static_cast<int>(technique.samplers.size());
            glUniform1i(location, unit);
            technique.samplers.push_back({uniform, location, unit});
        }
    }
    glUseProgram(static_cast<GLuint>(previousProgram));
    technique.program = std::move(program);
    m_techniques.push_back(std::move(technique));
}

HRESULT GlEffect::SetTechnique(std::string_view name)
{
    for (std::size_t i = 0; i < m_techniques.size(); ++i) {
        if (m_techniques[i].name == name) {
            m_current = i;
            return S_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

std::string_view GlEffect::CurrentTechnique() const
{
    return m_techniques.empty() ? std::string_view() : std::string_view(m_techniques[m_current].name);
}

HRESULT GlEffect::SetFloat(std::string_view name, float value)
{
    const auto found = m_floats.find(name);
    if (found != m_floats.end())
        found->second = value;
    else
        m_floats.emplace(std::string(name), value);
    return S_OK;
}

HRESULT GlEffect::SetTexture(std::string_view name, std::shared_ptr<GlTexture> texture)
{
    const auto found = m_textures.find(name);
    if (found != m_textures.end())
        found->second = std::move(texture);
    else
        m_textures.emplace(std::string(name), std::move(texture));
    return S_OK;
}

HRESULT GlEffect::Begin(unsigned* passes, std::uint32_t /*flags*/)
{
    if (passes != nullptr)
        *passes = 1;
    return m_techniques.empty() ? D3DERR_INVALIDCALL : S_OK;
}

HRESULT GlEffect::BeginPass(unsigned pass)
{
    if (pass != 0 || m_techniques.empty() || m_life.expired())
        return D3DERR_INVALIDCALL;
    const Technique& technique = m_techniques[m_current];
    m_device.UseProgram(technique.program.Get(), technique.targetSizeLocation,
                        technique.captureProgram ? &technique.capture : nullptr);
    for (const Uniform& uniform : technique.floats) {
        const auto value = m_floats.find(uniform.name);
        if (value != m_floats.end())
            glUniform1f(uniform.location, value->second);
    }
    for (const Uniform& uniform : technique.captureFloats) {
        const auto value = m_floats.find(uniform.name);
        if (value != m_floats.end())
            glProgramUniform1f(technique.capture.program, uniform.location, value->second);
    }
    for (const Uniform& sampler : technique.samplers) {
        const auto texture = m_textures.find(sampler.name);
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(sampler.unit));
        glBindTexture(GL_TEXTURE_2D, texture != m_textures.end() && texture->second ? texture->second->Name() : 0);
    }
    glActiveTexture(GL_TEXTURE0);
    m_inPass = true;
    return S_OK;
}

HRESULT GlEffect::EndPass()
{
    if (!m_inPass)
        return D3DERR_INVALIDCALL;
    m_inPass = false;
    if (!m_life.expired())
        m_device.UseProgram(0, -1);
    return S_OK;
}

HRESULT GlEffect::End() { return S_OK; }

} // namespace lumeno
