#pragma once
// The numbers the particle passes and the engine pass to the device: formats, render
// states and their values, vertex formats, primitive types and lock flags, with the values
// of the interface the program was designed against, so stored settings and the passes'
// code read the same as in that design.

#include <cstdint>

namespace lumeno {

using D3DCOLOR = std::uint32_t; // 0xAARRGGBB
using D3DFORMAT = int;
using D3DRENDERSTATETYPE = std::uint32_t;

// Canvas and back-buffer formats.
constexpr D3DFORMAT D3DFMT_A8R8G8B8 = 21;
constexpr D3DFORMAT D3DFMT_A16B16G16R16F = 113;
constexpr D3DFORMAT D3DFMT_A32B32G32R32F = 116;

// Render states.
constexpr D3DRENDERSTATETYPE D3DRS_ZENABLE = 7;
constexpr D3DRENDERSTATETYPE D3DRS_FILLMODE = 8;
constexpr D3DRENDERSTATETYPE D3DRS_ZWRITEENABLE = 14;
constexpr D3DRENDERSTATETYPE D3DRS_ALPHATESTENABLE = 15;
constexpr D3DRENDERSTATETYPE D3DRS_SRCBLEND = 19;
constexpr D3DRENDERSTATETYPE D3DRS_DESTBLEND = 20;
constexpr D3DRENDERSTATETYPE D3DRS_CULLMODE = 22;
constexpr D3DRENDERSTATETYPE D3DRS_ALPHABLENDENABLE = 27;
constexpr D3DRENDERSTATETYPE D3DRS_STENCILENABLE = 52;
constexpr D3DRENDERSTATETYPE D3DRS_BLENDOP = 171;
constexpr D3DRENDERSTATETYPE D3DRS_ANTIALIASEDLINEENABLE = 176;

// Render-state values.
constexpr std::uint32_t D3DZB_FALSE = 0;
constexpr std::uint32_t D3DZB_TRUE = 1;
constexpr std::uint32_t D3DFILL_POINT = 1;
constexpr std::uint32_t D3DFILL_WIREFRAME = 2;
constexpr std::uint32_t D3DFILL_SOLID = 3;
constexpr std::uint32_t D3DCULL_NONE = 1;
constexpr std::uint32_t D3DCULL_CW = 2;
constexpr std::uint32_t D3DCULL_CCW = 3;
constexpr std::uint32_t D3DBLEND_ZERO = 1;
constexpr std::uint32_t D3DBLEND_ONE = 2;
constexpr std::uint32_t D3DBLEND_SRCCOLOR = 3;
constexpr std::uint32_t D3DBLEND_INVSRCCOLOR = 4;
constexpr std::uint32_t D3DBLEND_SRCALPHA = 5;
constexpr std::uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr std::uint32_t D3DBLEND_DESTALPHA = 7;
constexpr std::uint32_t D3DBLEND_INVDESTALPHA = 8;
constexpr std::uint32_t D3DBLEND_DESTCOLOR = 9;
constexpr std::uint32_t D3DBLEND_INVDESTCOLOR = 10;
constexpr std::uint32_t D3DBLEND_SRCALPHASAT = 11;
constexpr std::uint32_t D3DBLENDOP_ADD = 1;
constexpr std::uint32_t D3DBLENDOP_SUBTRACT = 2;
constexpr std::uint32_t D3DBLENDOP_REVSUBTRACT = 3;
constexpr std::uint32_t D3DBLENDOP_MIN = 4;
constexpr std::uint32_t D3DBLENDOP_MAX = 5;

// Flexible vertex format bits the program uses.
constexpr std::uint32_t D3DFVF_XYZRHW = 0x004;
constexpr std::uint32_t D3DFVF_TEXCOUNT_MASK = 0xF00;
constexpr std::uint32_t D3DFVF_TEXCOUNT_SHIFT = 8;
constexpr std::uint32_t D3DFVF_TEX1 = 0x100;
constexpr std::uint32_t D3DFVF_TEX3 = 0x300;
constexpr std::uint32_t D3DFVF_TEXTUREFORMAT2 = 0; // two floats, the default
constexpr std::uint32_t D3DFVF_TEXTUREFORMAT1 = 3;
constexpr std::uint32_t D3DFVF_TEXTUREFORMAT3 = 1;
constexpr std::uint32_t D3DFVF_TEXTUREFORMAT4 = 2;
constexpr std::uint32_t D3DFVF_TEXCOORDSIZE4(int set) { return D3DFVF_TEXTUREFORMAT4 << (set * 2 + 16); }

// Primitive types.
enum D3DPRIMITIVETYPE : std::uint32_t {
    D3DPT_LINELIST = 2,
    D3DPT_TRIANGLESTRIP = 5,
};

// Lock and effect flags.
constexpr std::uint32_t D3DLOCK_DISCARD = 0x00002000;
constexpr std::uint32_t D3DXFX_DONOTSAVESTATE = 4;

} // namespace lumeno
