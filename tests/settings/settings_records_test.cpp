#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {
namespace {

TEST(SettingsRecords, TablesHoldTheDialogValuesInOrder)
{
    EXPECT_EQ(CanvasWidths.size(), 13u);
    EXPECT_EQ(CanvasWidths.front(), 800);
    EXPECT_EQ(CanvasWidths[2], 1024);
    EXPECT_EQ(CanvasWidths.back(), 2560);
    EXPECT_EQ(CanvasHeights.size(), 11u);
    EXPECT_EQ(CanvasHeights.front(), 600);
    EXPECT_EQ(CanvasHeights[2], 768);
    EXPECT_EQ(CanvasHeights.back(), 2048);
    EXPECT_EQ(CanvasFormats, (std::array<std::int32_t, 3>{21, 113, 116}));
    EXPECT_EQ(QualityNames[0], "Integer(8bit)");
    EXPECT_EQ(QualityNames[1], "Float(16bit)");
    EXPECT_EQ(QualityNames[2], "Float(32bit)");
}

TEST(SettingsRecords, DefaultsAreTheSinglePrecisionValuesOfTheDecimals)
{
    CanvasSettings canvas;
    EXPECT_EQ(canvas.width, 1024);
    EXPECT_EQ(canvas.height, 768);
    EXPECT_TRUE(canvas.format == 21 || canvas.format == 113 || canvas.format == 116);
    EXPECT_EQ(canvas.particleCount, 20000);
    EXPECT_FALSE(canvas.multiThreaded);

    ParticleSettings p;
    EXPECT_EQ(p.antiAlias, 1);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(p.drag), 0x3F7D70A4u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(p.gravityAmount), 0x3AC49BA6u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(p.gravityPower), 0x3E99999Au);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(p.radius), 0x3F19999Au);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(p.power), 0x3C23D70Au);
    EXPECT_EQ(p.colorFadingSpeed, 6.5f);
    EXPECT_TRUE(p.invert);
    EXPECT_FALSE(p.debug);
    EXPECT_EQ(p.createMethod, 0);
    EXPECT_EQ(p.colorIndex, 3);
    EXPECT_EQ(p.colors[0].r, 1.0f);
    EXPECT_EQ(p.colors[1].g, 1.0f);
    EXPECT_EQ(p.colors[2].b, 1.0f);
    EXPECT_EQ(p.colors[0].g + p.colors[0].b + p.colors[1].r + p.colors[1].b + p.colors[2].r + p.colors[2].g, 0.0f);
}

TEST(SettingsRecords, SetDefaultsRestoresEveryField)
{
    ParticleSettings p;
    p.speed = 4.0f;
    p.colors[1] = {0.5f, 0.5f, 0.5f};
    p.invert = false;
    p.SetDefaults();
    EXPECT_EQ(p.speed, 1.0f);
    EXPECT_EQ(p.colors[1].r, 0.0f);
    EXPECT_TRUE(p.invert);

    CanvasSettings c;
    c.particleCount = 8;
    c.multiThreaded = true;
    c.SetDefaults();
    EXPECT_EQ(c.particleCount, 20000);
    EXPECT_FALSE(c.multiThreaded);
}

} // namespace
} // namespace lumeno
