#include "platform/gl/gl_effect.h"

#include <epoxy/gl.h>

#include <string>
#include <vector>

#include "platform/gl/saved_gl_state.h"

namespace lumeno {
namespace {

struct ActiveUniform {
    std::string name;
    GLint location;
    GLenum type;
};

// The program's active uniforms that hold one value (no arrays), by their whole names.
std::vector<ActiveUniform> SingleUniforms(GLuint program)
{
    GLint count = 0;
    GLint longestName = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longestName);
    std::vector<char> name(static_cast<std::size_t>(longestName) + 1);
    std::vector<ActiveUniform> uniforms;
    for (GLint i = 0; i < count; ++i) {
        GLint size = 0;
        GLenum type = GL_NONE;
        glGetActiveUniform(program, static_cast<GLuint>(i), static_cast<GLsizei>(name.size()), nullptr, &size, &type,
                           name.data());
        if (size == 1)
            uniforms.push_back({name.data(), glGetUniformLocation(program, name.data()), type});
    }
    return uniforms;
}

} // namespace

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

void GlEffect::AddTechnique(std::string techniqueName, GlProgramName program, GlProgramName capture)
{
    Technique technique;
    technique.name = std::move(techniqueName);
    if (capture)
        AttachCapture(technique, std::move(capture));
    AttachProgram(technique, std::move(program));
    m_techniques.push_back(std::move(technique));
}

// A compute program, so GL 4.3 at least: its uniforms are set without using it.
void GlEffect::AttachCapture(Technique& technique, GlProgramName capture)
{
    const GLuint program = capture.Get();
    LineCapture& locations = technique.capture;
    locations.program = program;
    locations.targetSize = glGetUniformLocation(program, "lumeno_TargetSize");
    locations.vertexCount = glGetUniformLocation(program, "lumeno_VertexCount");
    locations.firstTexel = glGetUniformLocation(program, "lumeno_FirstTexel");
    locations.texelsPerVertex = glGetUniformLocation(program, "lumeno_TexelsPerVertex");
    locations.rowInvocations = glGetUniformLocation(program, "lumeno_RowInvocations");
    GLint size[3] = {1, 1, 1};
    glGetProgramiv(program, GL_COMPUTE_WORK_GROUP_SIZE, size);
    locations.groupSize = static_cast<GLuint>(size[0] * size[1] * size[2]);
    glProgramUniform1i(program, glGetUniformLocation(program, "lumeno_Stream"),
                       static_cast<GLint>(LineCapture::kStreamUnit));
    for (const ActiveUniform& uniform : SingleUniforms(program)) {
        if (uniform.type == GL_FLOAT)
            technique.captureFloats.push_back({uniform.name, uniform.location, 0});
    }
    technique.captureProgram = std::move(capture);
}

// Each sampler gets a texture unit of its own, set once here: GL 3.3 sets a uniform only
// on the program in use, so the program is used for the while and the previous state
// restored.
void GlEffect::AttachProgram(Technique& technique, GlProgramName program)
{
    technique.targetSizeLocation = glGetUniformLocation(program.Get(), "lumeno_TargetSize");
    const SavedGlState saved;
    glUseProgram(program.Get());
    for (const ActiveUniform& uniform : SingleUniforms(program.Get())) {
        if (uniform.type == GL_FLOAT) {
            technique.floats.push_back({uniform.name, uniform.location, 0});
        } else if (uniform.type == GL_SAMPLER_2D) {
            const int unit = static_cast<int>(technique.samplers.size());
            glUniform1i(uniform.location, unit);
            technique.samplers.push_back({uniform.name, uniform.location, unit});
        }
    }
    technique.program = std::move(program);
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
