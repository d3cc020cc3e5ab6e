#pragma once
// Between the float colours of the settings (channels 0..1) and the 32-bit 0x00BBGGRR
// colour value that the swatches and the colour dialog work in.

#include <cstdint>

#include "settings/particle_settings.h"

namespace lumeno {

using COLORREF = std::uint32_t;

constexpr COLORREF MakeColorRef(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return COLORREF{r} | COLORREF{g} << 8 | COLORREF{b} << 16;
}
constexpr std::uint8_t RedOf(COLORREF c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GreenOf(COLORREF c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(COLORREF c) { return static_cast<std::uint8_t>(c >> 16); }

// Each channel times 255 (in double), truncated; R + 256 G + 65536 B in 32-bit arithmetic,
// so a channel outside 0..1 spills into its neighbours, as the records allow.
COLORREF ColorRefFromFloats(float r, float g, float b);
inline COLORREF ColorRefFromFloats(const ColorRGB& c) { return ColorRefFromFloats(c.r, c.g, c.b); }

// Each byte times the single-precision 1/255, in double, stored as float. Every byte comes
// back unchanged through ColorRefFromFloats.
ColorRGB FloatsFromColorRef(COLORREF color);

} // namespace lumeno
