#include <gtest/gtest.h>

#include <vector>

#include "render_options.h"

namespace lumeno {
namespace {

bool Parse(std::vector<const char*> args, RenderOptions* options, std::string* error)
{
    args.insert(args.begin(), "lumeno-render");
    return ParseRenderOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(RenderOptions, DefaultsAndEveryOption)
{
    RenderOptions defaults;
    std::string error;
    ASSERT_TRUE(Parse({}, &defaults, &error));
    EXPECT_EQ(defaults.frames, 300);
    EXPECT_FALSE(defaults.mouseX.has_value());
    EXPECT_EQ(defaults.stats, StatsFormat::None);

    RenderOptions o;
    ASSERT_TRUE(Parse({"--settings", "a.ar", "--frames", "12", "--mouse", "10.5,20", "--script", "s.txt",
                       "--frame-ms", "16", "--out", "x.hdr", "--dump-particles", "p.bin", "--save-settings",
                       "b.ar", "--stats=json"},
                      &o, &error))
        << error;
    EXPECT_EQ(*o.settingsPath, "a.ar");
    EXPECT_EQ(o.frames, 12);
    EXPECT_EQ(*o.mouseX, 10.5f);
    EXPECT_EQ(*o.mouseY, 20.0f);
    EXPECT_EQ(*o.scriptPath, "s.txt");
    EXPECT_EQ(*o.frameMs, 16u);
    EXPECT_EQ(*o.outPath, "x.hdr");
    EXPECT_EQ(*o.dumpParticlesPath, "p.bin");
    EXPECT_EQ(*o.saveSettingsPath, "b.ar");
    EXPECT_EQ(o.stats, StatsFormat::Json);
}

TEST(RenderOptions, BadArgumentsNameThemselves)
{
    RenderOptions o;
    std::string error;
    EXPECT_FALSE(Parse({"--frames", "ten"}, &o, &error));
    EXPECT_EQ(error, "invalid value 'ten' for --frames");
    EXPECT_FALSE(Parse({"--mouse", "12"}, &o, &error));
    EXPECT_EQ(error, "invalid value '12' for --mouse");
    EXPECT_FALSE(Parse({"--out", "x.png"}, &o, &error));
    EXPECT_EQ(error, "invalid value 'x.png' for --out (the picture is saved as .bmp or .hdr)");
    EXPECT_FALSE(Parse({"--out"}, &o, &error));
    EXPECT_EQ(error, "--out needs a value");
    EXPECT_FALSE(Parse({"--fast"}, &o, &error));
    EXPECT_EQ(error, "unknown option '--fast'");
}

} // namespace
} // namespace lumeno
