#pragma once
// Flexible vertex formats decoded into vertex attributes. Attribute locations, fixed so
// that effect shaders can name them with layout(location = ...):
//   0       position as x, y, z, rhw (pre-transformed pixels; D3DFVF_XYZRHW)
//   1 + n   texture-coordinate set n, one to four floats
// The formats the program draws: 0x200300 (sets 0 and 1 two floats, set 2 four; stride 32)
// and 0x104 (x, y, z, rhw, then set 0 of two floats; stride 24).

#include <array>
#include <cstdint>

namespace lumeno {

constexpr unsigned kPositionTLocation = 0;
constexpr unsigned kTexCoordLocation0 = 1;

struct VertexAttribute {
    unsigned location;
    int floats;
    std::uint32_t offset; // bytes from the start of the vertex
};

struct VertexLayout {
    int attributeCount = 0;
    std::array<VertexAttribute, 9> attributes{};
    std::uint32_t stride = 0; // bytes of one vertex in this format
};

// False for a format that uses anything but XYZRHW and texture coordinates: the program
// draws nothing else, so nothing else is offered.
bool DecodeVertexFormat(std::uint32_t fvf, VertexLayout* layout);

} // namespace lumeno
