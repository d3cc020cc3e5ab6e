#include <gtest/gtest.h>

#include <tuple>

#include "settings/particle_settings.h"
#include "settings/ui/color_conversion.h"

namespace lumeno {
namespace {

TEST(ColorConversion, BytesBecomeMultiplesOfTheSinglePrecisionOne255thAndComeBackUnchanged)
{
    for (int k = 0; k <= 255; ++k) {
        const auto byte = static_cast<std::uint8_t>(k);
        const COLORREF color = MakeColorRef(byte, static_cast<std::uint8_t>(255 - k), byte);
        EXPECT_EQ(ColorRefFromFloats(FloatsFromColorRef(color)), color) << k;
    }
    const ColorRGB color = FloatsFromColorRef(MakeColorRef(128, 64, 32));
    EXPECT_EQ(std::tuple(color.r, color.g, color.b),
              std::tuple(0.501960813999176f, 0.250980406999588f, 0.125490203499794f));
    EXPECT_EQ(FloatsFromColorRef(MakeColorRef(255, 0, 0)).r, 1.0f);
}

TEST(ColorConversion, FloatsAreTruncatedToBytesRedLowest)
{
    EXPECT_EQ(ColorRefFromFloats(1.0f, 0.0f, 0.0f), 0x0000FFu);
    EXPECT_EQ(ColorRefFromFloats(0.0f, 0.0f, 1.0f), 0xFF0000u);
    // 0.3f × 255 is 76.49999…: the swatch holds 76, which reads back as about 0.29804.
    EXPECT_EQ(ColorRefFromFloats(0.3f, 0.0f, 0.0f), 76u);
    EXPECT_EQ(FloatsFromColorRef(76u).r, 0.2980392277240753f);
    EXPECT_EQ(ColorRefFromFloats(0.999f, 0.5f, 0.0039f), MakeColorRef(254, 127, 0));
    // Outside 0 to 1 channels spill into their neighbours: 1.5 × 255 = 382 = 0x17E, red
    // 0x7E and one more in green; −1 borrows from the channels above.
    EXPECT_EQ(ColorRefFromFloats(1.5f, 0.0f, 0.0f), 0x00017Eu);
    EXPECT_EQ(ColorRefFromFloats(-1.0f / 255.0f * 1.5f, 0.0f, 0.0f), 0xFFFFFFFFu);
    EXPECT_EQ(ColorRefFromFloats(0.0f, 0.0f, 2.0f), 510u * 65536u);
}

} // namespace
} // namespace lumeno
