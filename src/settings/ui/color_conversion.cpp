#include "settings/ui/color_conversion.h"

#include "settings/ui/trackbar_mappings.h"

namespace lumeno {
namespace {

constexpr double kByteToUnit = 1.0f / 255.0f; // 0.003921568859368563

// Unsigned so that the wrap-around of an out-of-range channel is defined; the bits are
// those of the signed 32-bit sum.
std::uint32_t ChannelByte(float channel) { return static_cast<std::uint32_t>(TruncateToInt(channel * 255.0)); }

float UnitFromByte(std::uint8_t k) { return static_cast<float>(k * kByteToUnit); }

} // namespace

COLORREF ColorRefFromFloats(float r, float g, float b)
{
    return ChannelByte(r) + 256u * ChannelByte(g) + 65536u * ChannelByte(b);
}

ColorRGB FloatsFromColorRef(COLORREF color)
{
    return ColorRGB{UnitFromByte(RedOf(color)), UnitFromByte(GreenOf(color)), UnitFromByte(BlueOf(color))};
}

} // namespace lumeno
