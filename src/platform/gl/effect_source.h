#pragma once
// The effect file's container: GLSL 330 core split into sections by directive lines that
// start with '@' (a character GLSL never uses):
//
//   @common                                  code given to every stage of every technique
//   @vertex NAME                             a vertex shader's code
//   @fragment NAME                           a fragment shader's code
//   @technique NAME VERTEX_NAME FRAGMENT_NAME   a technique of one pass from two sections
//
// Lines before the first directive are the file's notes and are not compiled. A section
// runs to the next directive. Techniques may share sections. The loader writes #version
// itself; sections must not.

#include <string>
#include <string_view>
#include <vector>

namespace lumeno {

struct EffectSection {
    std::string name;
    std::string code;
    int firstLine = 0; // file line of the section's first code line, counted from 1
};

struct EffectTechniqueSource {
    std::string name;
    std::string vertex;
    std::string fragment;
};

struct EffectSource {
    EffectSection common;
    std::vector<EffectSection> vertexSections;
    std::vector<EffectSection> fragmentSections;
    std::vector<EffectTechniqueSource> techniques;
};

// What the loader puts in front of every vertex shader: the version, the size of render
// target 0 (filled at each draw) and the two mappings into GL's clip space.
inline constexpr const char* kVertexPrelude = R"(#version 330 core
uniform vec2 lumeno_TargetSize;
vec4 D3DClipToGl(vec4 clip) { return vec4(clip.x, -clip.y, clip.z, clip.w); }
vec4 PretransformedToGl(vec4 p)
{
    float w = 1.0 / p.w;
    vec2 ndc = (p.xy + 0.5) / lumeno_TargetSize * 2.0 - 1.0;
    return vec4(ndc * w, (p.z * 2.0 - 1.0) * w, w);
}
)";
inline constexpr const char* kFragmentPrelude = "#version 330 core\n";

// False with "PATH(LINE): what is wrong" in *error for a malformed container.
bool ParseEffectSource(std::string_view text, std::string_view path, EffectSource* source, std::string* error);

const EffectSection* FindSection(const std::vector<EffectSection>& sections, std::string_view name);

} // namespace lumeno
