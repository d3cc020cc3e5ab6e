#pragma once
// The effect file's container: GLSL 330 core split into sections by directive lines that
// start with '@' (a character GLSL never uses):
//
//   @common                                  code given to every stage of every technique
//   @vertex NAME                             a vertex shader's code
//   @fragment NAME                           a fragment shader's code
//   @compute NAME                            a compute shader's code (GLSL 430 core)
//   @technique NAME VERTEX_NAME FRAGMENT_NAME [CAPTURE_NAME]
//                                            a technique of one pass from two sections
//
// CAPTURE_NAME, when given, names a compute section that does for every vertex of the
// stream what the vertex section does, handing on the clip position and the colour the
// fragment section writes unchanged (kComputePrelude). With it, the device may draw the
// technique's blended smooth lines with its own rasteriser (gl_software_lines.h); without
// compute shaders (GL below 4.3) the section is not compiled and the driver draws them.
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
    std::string capture; // compute section; empty: the technique's lines are the driver's alone
};

struct EffectSource {
    EffectSection common;
    std::vector<EffectSection> vertexSections;
    std::vector<EffectSection> fragmentSections;
    std::vector<EffectSection> computeSections;
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

// What the loader puts in front of every compute section. One invocation a vertex:
// LumenoVertex() is its index among this dispatch's lumeno_VertexCount vertices (check it:
// the last workgroup runs past the end), LumenoStreamTexel(vertex, n) the vertex's nth
// 16 bytes of the stream (n = 0, 1: position and velocity, colour), LumenoCapture takes
// its clip position (GL's conventions) and its colour.
inline constexpr const char* kComputePrelude = R"(#version 430 core
uniform vec2 lumeno_TargetSize;
uniform int lumeno_VertexCount;
uniform int lumeno_FirstTexel;
uniform int lumeno_TexelsPerVertex;
uniform int lumeno_RowInvocations; // invocations of one row of workgroups
uniform samplerBuffer lumeno_Stream;
layout(std430, binding = 0) writeonly buffer lumeno_CapturedVertices { vec4 lumeno_Captured[]; };
vec4 D3DClipToGl(vec4 clip) { return vec4(clip.x, -clip.y, clip.z, clip.w); }
int LumenoVertex()
{
    return int(gl_GlobalInvocationID.x) + int(gl_GlobalInvocationID.y) * lumeno_RowInvocations;
}
vec4 LumenoStreamTexel(int vertex, int texel)
{
    return texelFetch(lumeno_Stream, lumeno_FirstTexel + vertex * lumeno_TexelsPerVertex + texel);
}
void LumenoCapture(int vertex, vec4 position, vec4 colour)
{
    // Handed on in window coordinates (pixels, row 0 at the bottom) with w kept, so the
    // processor does no division per vertex; w <= 0 (behind the eye) stays recognisable.
    float w = position.w;
    vec2 window = (position.xy / w * 0.5 + 0.5) * lumeno_TargetSize;
    lumeno_Captured[2 * vertex] = vec4(window, position.z / w, w);
    lumeno_Captured[2 * vertex + 1] = colour;
}
)";

// False with "PATH(LINE): what is wrong" in *error for a malformed container.
bool ParseEffectSource(std::string_view text, std::string_view path, EffectSource* source, std::string* error);

const EffectSection* FindSection(const std::vector<EffectSection>& sections, std::string_view name);

} // namespace lumeno
