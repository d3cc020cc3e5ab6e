// Opening a settings file the user names: exactly 115 bytes or a refusal that names the
// file and changes no field; and the shipped presets, which must all open.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_open.h"
#include "support/temp_folder.h"

namespace lumeno {
namespace {

void WriteBytes(const std::string& path, const std::vector<std::byte>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::byte> RandomBytes(std::size_t count)
{
    std::mt19937 generator(14);
    std::vector<std::byte> bytes(count);
    for (std::byte& b : bytes)
        b = static_cast<std::byte>(generator() & 0xff);
    return bytes;
}

TEST(SettingsOpen, AnyFileOfExactly115BytesLoadsAsTheStartUpLoadReadsIt)
{
    test::TempFolder folder;
    const std::string path = folder.File("random.ar");
    const std::vector<std::byte> bytes = RandomBytes(kSettingsFileSize);
    WriteBytes(path, bytes);

    CanvasSettings canvas, expectedCanvas;
    ParticleSettings particles, expectedParticles;
    ASSERT_TRUE(LoadSettingsFromBytes(bytes, expectedCanvas, expectedParticles));
    const SettingsOpenResult result = OpenSettingsFile(path, canvas, particles);

    EXPECT_EQ(result.status, SettingsOpenStatus::Loaded);
    EXPECT_EQ(EncodeSettings(canvas, particles), EncodeSettings(expectedCanvas, expectedParticles));
    EXPECT_EQ(DescribeSettingsOpenFailure(result, path), "");
}

// The short file, the folder and the missing file are opened through the menu in the
// application's tests; these are the cases only the file level sees.
TEST(SettingsOpen, WhatIsNotOneSettingsFileIsRefusedByNameAndChangesNothing)
{
    test::TempFolder folder;
    const std::string dir = folder.Path().string() + "/";
    std::vector<std::byte> longer = EncodeSettings(CanvasSettings(), ParticleSettings());
    longer.resize(4000);
    WriteBytes(dir + "long.ar", longer);
    WriteBytes(dir + "empty.ar", {});
    WriteBytes(dir + "one.ar", {std::byte{1}});
    ASSERT_EQ(::mkfifo((dir + "pipe.ar").c_str(), 0644), 0);

    const struct {
        const char* name;
        SettingsOpenStatus status;
        std::string message; // after the path
    } cases[] = {
        // The whole length, not the 116 bytes read to find that it is too long.
        {"long.ar", SettingsOpenStatus::WrongSize,
         " is not a settings file: it holds 4000 bytes, and a settings file holds exactly 115. Nothing was changed."},
        {"empty.ar", SettingsOpenStatus::WrongSize,
         " is not a settings file: it holds 0 bytes, and a settings file holds exactly 115. Nothing was changed."},
        {"one.ar", SettingsOpenStatus::WrongSize,
         " is not a settings file: it holds 1 byte, and a settings file holds exactly 115. Nothing was changed."},
        // Never read: a pipe could block the program for good.
        {"pipe.ar", SettingsOpenStatus::NotAFile,
         " is not a settings file: it is not a regular file. Nothing was changed."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CanvasSettings canvas;
        canvas.width = 1280;
        ParticleSettings particles;
        const std::vector<std::byte> before = EncodeSettings(canvas, particles);

        const SettingsOpenResult result = OpenSettingsFile(dir + c.name, canvas, particles);

        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(DescribeSettingsOpenFailure(result, dir + c.name), dir + c.name + c.message);
        EXPECT_EQ(EncodeSettings(canvas, particles), before);
    }
}

// Permission bits hold only without privileges: the check runs in a child process that
// gives them up when the tests run as root.
TEST(SettingsOpenDeathTest, AFileThatCannotBeReadIsRefusedAsAccessDenied)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempFolder folder;
    const std::string path = folder.File("locked.ar");
    WriteBytes(path, EncodeSettings(CanvasSettings(), ParticleSettings()));
    ::chmod(path.c_str(), 0000);

    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(3);
            CanvasSettings canvas;
            ParticleSettings particles;
            const SettingsOpenResult result = OpenSettingsFile(path, canvas, particles);
            const bool refused = result.status == SettingsOpenStatus::Unreadable &&
                                 DescribeSettingsOpenFailure(result, path) ==
                                     path + " could not be read: access was denied. Nothing was changed.";
            std::_Exit(refused ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// A broken generator (a field out of order, a wrong type) shows as values no dialog makes.
TEST(ShippedPresets, EachIs115BytesOpensAndHoldsValuesTheDialogCanShow)
{
    const auto within = [](float value, float low, float high) { return value >= low && value <= high; };
    const auto listed = [](const auto& table, std::int32_t value) { return std::ranges::count(table, value) == 1; };
    std::vector<std::vector<std::byte>> seen;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(LUMENO_SOURCE_DIR) / "presets")) {
        SCOPED_TRACE(entry.path().filename().string());
        ASSERT_EQ(entry.path().extension(), ".ar");
        ASSERT_EQ(entry.file_size(), kSettingsFileSize);
        CanvasSettings c;
        ParticleSettings p;
        ASSERT_EQ(OpenSettingsFile(entry.path().string(), c, p).status, SettingsOpenStatus::Loaded);
        const std::vector<std::byte> bytes = EncodeSettings(c, p);
        EXPECT_EQ(std::ranges::count(seen, bytes), 0) << "no two presets alike";
        seen.push_back(bytes);

        EXPECT_TRUE(listed(CanvasWidths, c.width) && listed(CanvasHeights, c.height) && listed(CanvasFormats, c.format));
        EXPECT_TRUE(c.particleCount >= 1000 && c.particleCount <= 3375000) << c.particleCount;
        EXPECT_TRUE((p.antiAlias == 0 || p.antiAlias == 1) && p.scale == 1.0f && !p.debug);
        EXPECT_TRUE(p.createMethod >= 0 && p.createMethod <= 2 && p.colorIndex >= 0 && p.colorIndex <= 3);
        for (float value : {p.alphaIntensity, p.fadeOutRatio, p.radius})
            EXPECT_TRUE(within(value, 0.0f, 1.0f)) << value;
        EXPECT_TRUE(within(p.drag, 0.67624f, 1.0f)) << p.drag;
        for (const ColorRGB& colour : p.colors)
            EXPECT_TRUE(within(colour.r, 0, 1) && within(colour.g, 0, 1) && within(colour.b, 0, 1));
    }
    EXPECT_TRUE(seen.size() >= 6 && seen.size() <= 10) << seen.size();
}

} // namespace
} // namespace lumeno
