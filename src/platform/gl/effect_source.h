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

// False with "PATH(LINE): what is wrong" in *error for a malformed container.
bool ParseEffectSource(std::string_view text, std::string_view path, EffectSource* source, std::string* error);

const EffectSection* FindSection(const std::vector<EffectSection>& sections, std::string_view name);

} // namespace lumeno
