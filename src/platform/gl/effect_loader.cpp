// CreateEffectFromFile: reading an effect file, compiling and linking its techniques.
#include <epoxy/gl.h>

#include <fstream>
#include <map>
#include <new>
#include <sstream>

#include "platform/gl/effect_source.h"
#include "platform/gl/gl_effect.h"
#include "platform/gl/shader_program.h"

namespace lumeno {
namespace {


bool ReadWholeFile(const std::string& path, std::string* text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad())
        return false;
    *text = contents.str();
    return true;
}

// #line makes the driver's line numbers those of the file.
std::string StageSource(const char* prelude, const EffectSection& common, const EffectSection& section)
{
    std::string source = prelude;
    if (!common.code.empty())
        source += "#line " + std::to_string(common.firstLine) + "\n" + common.code;
    source += "#line " + std::to_string(section.firstLine) + "\n" + section.code;
    return source;
}

void AppendLog(std::string_view text, const std::string& prefix, std::string* log)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (LogHasText(line))
            *log += prefix + std::string(line) + "\n";
        start = end + 1;
    }
}

class TechniqueBuilder {
public:
    TechniqueBuilder(const EffectSource& source, const std::string& path, std::string* log)
        : m_source(source), m_path(path), m_log(log)
    {
    }

    // Compiles each section once, however many techniques share it; its log goes
    // under the first technique that uses it.
    GlProgramName Build(const EffectTechniqueSource& technique)
    {
        const std::string prefix = m_path + " (" + technique.name + "): ";
        const GlShaderName& vertex = Stage(GL_VERTEX_SHADER, technique.vertex, prefix);
        const GlShaderName& fragment = Stage(GL_FRAGMENT_SHADER, technique.fragment, prefix);
        if (!vertex || !fragment)
            return GlProgramName();
        std::string linkLog;
        GlProgramName program = LinkProgram(vertex, fragment, &linkLog);
        AppendLog(linkLog, prefix, m_log);
        if (!program && !LogHasText(linkLog))
            *m_log += prefix + "the program did not link\n";
        return program;
    }

    // The technique's compute section as a program of its own; none without one, and none
    // where the context has no compute shaders (the driver then draws the lines).
    GlProgramName BuildCapture(const EffectTechniqueSource& technique)
    {
        if (technique.capture.empty() || epoxy_gl_version() < 43)
            return GlProgramName();
        const std::string prefix = m_path + " (" + technique.name + "): ";
        const EffectSection* section = FindSection(m_source.computeSections, technique.capture);
        std::string log;
        GlShaderName shader = CompileShader(GL_COMPUTE_SHADER, StageSource(kComputePrelude, m_source.common, *section),
                                            &log);
        AppendLog(log, prefix, m_log);
        if (!shader) {
            if (!LogHasText(log))
                *m_log += prefix + "the compute section " + technique.capture + " did not compile\n";
            return GlProgramName();
        }
        GlProgramName program = LinkComputeProgram(shader, &log);
        AppendLog(log, prefix, m_log);
        if (!program && !LogHasText(log))
            *m_log += prefix + "the compute section " + technique.capture + " did not link\n";
        return program;
    }

private:
    const GlShaderName& Stage(GLenum stage, const std::string& name, const std::string& prefix)
    {
        const bool vertex = stage == GL_VERTEX_SHADER;
        auto& compiled = vertex ? m_vertexShaders : m_fragmentShaders;
        const auto found = compiled.find(name);
        if (found != compiled.end())
            return found->second;
        const EffectSection* section = FindSection(vertex ? m_source.vertexSections : m_source.fragmentSections, name);
        std::string compileLog;
        GlShaderName shader =
            CompileShader(stage, StageSource(vertex ? kVertexPrelude : kFragmentPrelude, m_source.common, *section),
                          &compileLog);
        AppendLog(compileLog, prefix, m_log);
        if (!shader && !LogHasText(compileLog))
            *m_log += prefix + "the " + (vertex ? "vertex" : "fragment") + " section " + name + " did not compile\n";
        return compiled.emplace(name, std::move(shader)).first->second;
    }

    const EffectSource& m_source;
    const std::string& m_path;
    std::string* m_log;
    std::map<std::string, GlShaderName> m_vertexShaders;
    std::map<std::string, GlShaderName> m_fragmentShaders;
};

} // namespace

HRESULT CreateEffectFromFile(GlDevice& device, const std::string& path, std::unique_ptr<GlEffect>* effect,
                             std::string* log)
{
    if (effect == nullptr || log == nullptr)
        return D3DERR_INVALIDCALL;
    effect->reset();
    log->clear();
    try {
        std::string text;
        if (!ReadWholeFile(path, &text))
            return E_FAIL;
        EffectSource source;
        std::string error;
        if (!ParseEffectSource(text, path, &source, &error)) {
            *log = error + "\n";
            return E_FAIL;
        }
        if (!device.Context().MakeCurrent())
            return GLERR_NOCONTEXT;
        std::unique_ptr<GlEffect> made(new GlEffect(device));
        TechniqueBuilder builder(source, path, log);
        for (const EffectTechniqueSource& technique : source.techniques) {
            GlProgramName program = builder.Build(technique);
            GlProgramName capture = builder.BuildCapture(technique);
            if (program)
                made->AddTechnique(technique.name, std::move(program), std::move(capture));
        }
        // Warnings refuse the file as errors do: what compiles with warnings today is
        // what breaks on the next driver.
        if (LogHasText(*log))
            return E_FAIL;
        *effect = std::move(made);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace lumeno
