// The settings file: 115 bytes, written in the working directory and read back at start
// up; opened by name only when it holds exactly that; failures named with the file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_limits.h"
#include "settings/settings_open.h"
#include "support/message_box_recorder.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace lumeno {
namespace {

using Bytes = std::vector<std::byte>;

Bytes FromHex(std::string_view hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::byte>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

// Every field at its default with the 32-bit float canvas format, little-endian.
const Bytes kDefaultFile = FromHex(
    "00040000" "00030000" "74000000" "204e0000" "00" // 1024 × 768, format 116, 20000, one thread
    "01000000" "0000803f" "0000803e" "0000803f" "0000803f" "a4707d3f" "a69bc43a" "9a99993e" "0000803f" // to exp
    "00" "00000000" "9a99193f" "0ad7233c" "00000000" "01" "0000d040" // debug to colour fading 6.5
    "0000803f0000000000000000" "000000000000803f00000000" "00000000000000000000803f" "03000000"); // colours

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    const auto* data = reinterpret_cast<const std::byte*>(text.data());
    return Bytes(data, data + text.size());
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Permission bits hold only without privileges: `check` runs in a child process that
// gives them up when the tests run as root.
void ExpectTrueWithoutPrivileges(const std::function<bool()>& check)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(3);
            std::_Exit(check() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(SettingsFile, DefaultsSaveAsTheKnown115BytesInTheWorkingDirectoryAndLoadBack)
{
    test::WorkingFolder folder;
    CanvasSettingsRecord().format = kFormatRGBA32F;
    SaveSettings(g_particleSettings);
    EXPECT_EQ(ReadFile("settings_v4.ar"), kDefaultFile);
    CanvasSettingsRecord().width = 800;
    EXPECT_TRUE(LoadSettings());
    EXPECT_EQ(CanvasSettingsRecord().width, 1024);
}

TEST(SettingsFile, FieldsLoadFromTheirOffsetsAndSaveBackWithBoolBytesNormalised)
{
    test::TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    Bytes edited = kDefaultFile;
    edited[0] = std::byte{0x80};  // width 1152
    edited[16] = std::byte{2};    // multiThreaded
    edited[53] = std::byte{255};  // debug
    edited[54] = std::byte{2};    // createMethod
    edited[70] = std::byte{7};    // invert
    std::fill(edited.begin() + 111, edited.end(), std::byte{0xff}); // colorIndex -1
    edited.push_back(std::byte{0xAB}); // bytes past 115 are ignored
    WriteFile(path, edited);

    CanvasSettings canvas;
    ParticleSettings particles;
    ASSERT_TRUE(LoadSettingsFrom(path, canvas, particles));
    EXPECT_EQ(canvas.width, 1152);
    EXPECT_EQ(canvas.format, 116);
    EXPECT_TRUE(canvas.multiThreaded);
    EXPECT_TRUE(particles.debug);
    EXPECT_EQ(particles.createMethod, 2);
    EXPECT_TRUE(particles.invert);
    EXPECT_EQ(particles.colorIndex, -1);

    ASSERT_TRUE(SaveSettingsTo(path, canvas, particles));
    edited.pop_back();
    edited[16] = edited[53] = edited[70] = std::byte{1};
    EXPECT_EQ(ReadFile(path), edited);
}

TEST(SettingsFile, ShortOrMissingFileChangesNoFieldAndSaysNothing)
{
    test::TempFolder folder;
    test::MessageBoxRecorder boxes;
    Bytes shortFile(kDefaultFile.begin(), kDefaultFile.end() - 1);
    shortFile[0] = std::byte{0x20}; // width 800 in the part that could be read
    WriteFile(folder.File("short.ar"), shortFile);
    for (const char* name : {"short.ar", "absent.ar"}) {
        SCOPED_TRACE(name);
        CanvasSettings canvas;
        canvas.width = 1280;
        ParticleSettings particles;
        particles.speed = 3.0f;
        EXPECT_FALSE(LoadSettingsFrom(folder.File(name), canvas, particles));
        EXPECT_EQ(canvas.width, 1280);
        EXPECT_EQ(particles.speed, 3.0f);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A save that cannot write reports the file error with the file's name and leaves the
// old file as it was.
TEST(SettingsFileDeathTest, SaveIntoReadOnlyFolderKeepsOldFileAndSaysAccessDenied)
{
    test::TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    const Bytes old = {std::byte{1}, std::byte{2}, std::byte{3}};
    WriteFile(path, old);
    ::chmod(folder.Path().c_str(), 0555);
    ::chmod(path.c_str(), 0644);
    ExpectTrueWithoutPrivileges([&] {
        test::MessageBoxRecorder boxes;
        const bool ok = SaveSettingsTo(path, CanvasSettings(), ParticleSettings());
        return !ok && boxes.Boxes().size() == 1 && boxes.Boxes()[0].text == "Access to " + path + " was denied." &&
               boxes.Boxes()[0].title.empty() && boxes.Boxes()[0].icon == MessageIcon::Warning;
    });
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "no temporary left behind";
}

// The save replaces the file by renaming a new one over it, which the folder allows; a
// file the person made read-only is refused all the same, for root as for anyone.
TEST(SettingsFile, SaveOverAReadOnlyFileKeepsItAndSaysAccessDenied)
{
    test::TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    const Bytes old = {std::byte{1}, std::byte{2}, std::byte{3}};
    WriteFile(folder.File("kept.ar"), old);
    ::chmod(folder.File("kept.ar").c_str(), 0444);
    std::filesystem::create_symlink("kept.ar", path);
    for (const std::string& name : {folder.File("kept.ar"), path}) {
        SCOPED_TRACE(name);
        test::MessageBoxRecorder boxes;
        EXPECT_FALSE(SaveSettingsTo(name, CanvasSettings(), ParticleSettings()));
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, "Access to " + name + " was denied.");
        EXPECT_EQ(ReadFile(name), old);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(std::filesystem::status(folder.File("kept.ar")).permissions(), std::filesystem::perms(0444));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2) << "no temporary left behind";

    ::chmod(folder.File("kept.ar").c_str(), 0644);
    EXPECT_TRUE(SaveSettingsTo(path, CanvasSettings(), ParticleSettings())) << "writable again";
}

TEST(SettingsFile, SaveIntoMissingFolderSaysSoAndCreatesNothing)
{
    test::TempFolder folder;
    test::MessageBoxRecorder boxes;
    const std::string path = folder.File("missing/settings_v4.ar");
    EXPECT_FALSE(SaveSettingsTo(path, CanvasSettings(), ParticleSettings()));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, path + " could not be created because its folder does not exist.");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing"));
}

TEST(SettingsOpen, ValuesWithinReachLoadAsTheStartUpLoadReadsThemAndOthersAreRefusedByName)
{
    test::TempFolder folder;
    // The edges of what a settings file can hold, and values no dialog makes.
    CanvasSettings edges;
    edges.width = 1;
    edges.height = kMaxCanvasSide;
    edges.format = kFormatRGBA8;
    edges.particleCount = kMaxParticleCount;
    ParticleSettings oddButFinite;
    oddButFinite.scale = 0.0f;
    oddButFinite.speed = -3e38f;
    oddButFinite.createMethod = 7;
    const std::string good = folder.File("edges.ar");
    WriteFile(good, EncodeSettings(edges, oddButFinite));
    CanvasSettings canvas;
    ParticleSettings particles;
    const SettingsOpenResult loaded = OpenSettingsFile(good, canvas, particles);
    EXPECT_EQ(loaded.status, SettingsOpenStatus::Loaded);
    EXPECT_EQ(EncodeSettings(canvas, particles), EncodeSettings(edges, oddButFinite));
    EXPECT_EQ(DescribeSettingsOpenFailure(loaded, good), "");

    Bytes random(kSettingsFileSize);
    std::mt19937 generator(14);
    for (std::byte& b : random)
        b = static_cast<std::byte>(generator() & 0xff);
    const auto with = [](auto change) {
        CanvasSettings c;
        c.format = kFormatRGBA32F;
        ParticleSettings p;
        change(c, p);
        return EncodeSettings(c, p);
    };
    constexpr float inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* name;
        Bytes bytes;
        std::string problem; // after "is not a settings file: "
    } cases[] = {
        {"random.ar", random, "its canvas of -1777575829 x -362350265 pixels is not one Lumeno can make (1 to 32768 "
                              "pixels a side)"},
        {"narrow.ar", with([](auto& c, auto&) { c.width = 0; }),
         "its canvas of 0 x 768 pixels is not one Lumeno can make (1 to 32768 pixels a side)"},
        {"tall.ar", with([](auto& c, auto&) { c.height = kMaxCanvasSide + 1; }),
         "its canvas of 1024 x 32769 pixels is not one Lumeno can make (1 to 32768 pixels a side)"},
        {"format.ar", with([](auto& c, auto&) { c.format = 22; }),
         "its canvas format 22 is none of 21 (Integer(8bit)), 113 (Float(16bit)) and 116 (Float(32bit))"},
        {"none.ar", with([](auto& c, auto&) { c.particleCount = 0; }),
         "its particle count 0 is not one Lumeno can draw (1 to 1073741823)"},
        {"many.ar", with([](auto& c, auto&) { c.particleCount = kMaxParticleCount + 1; }),
         "its particle count 1073741824 is not one Lumeno can draw (1 to 1073741823)"},
        {"nan.ar", with([](auto&, auto& p) { p.scale = std::numeric_limits<float>::quiet_NaN(); }),
         "its scale is nan, not a finite number"},
        {"colour.ar", with([](auto&, auto& p) { p.colors[2].b = -inf; }), "its colors[2].b is -inf, not a finite number"},
        {"fade.ar", with([](auto&, auto& p) { p.colorFadingSpeed = inf; }),
         "its colorFadingSpeed is inf, not a finite number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.File(c.name);
        WriteFile(path, c.bytes);
        const Bytes before = EncodeSettings(canvas, particles);
        const SettingsOpenResult result = OpenSettingsFile(path, canvas, particles);
        EXPECT_EQ(result.status, SettingsOpenStatus::OutOfReach);
        EXPECT_EQ(DescribeSettingsOpenFailure(result, path),
                  path + " is not a settings file: " + c.problem + ". Nothing was changed.");
        EXPECT_EQ(EncodeSettings(canvas, particles), before);
    }
}

// The short file, the folder and the missing file are opened through the menu in the
// application's tests; these are the cases only the file level sees.
TEST(SettingsOpen, WhatIsNotOneSettingsFileIsRefusedByNameAndChangesNothing)
{
    test::TempFolder folder;
    const std::string dir = folder.Path().string() + "/";
    Bytes longer = EncodeSettings(CanvasSettings(), ParticleSettings());
    longer.resize(4000);
    WriteFile(dir + "long.ar", longer);
    WriteFile(dir + "empty.ar", {});
    WriteFile(dir + "one.ar", {std::byte{1}});
    ASSERT_EQ(::mkfifo((dir + "pipe.ar").c_str(), 0644), 0);
    const std::string wrongSize = ", and a settings file holds exactly 115. Nothing was changed.";
    const struct {
        const char* name;
        SettingsOpenStatus status;
        std::string message; // after the path
    } cases[] = {
        // The whole length, not the 116 bytes read to find that it is too long.
        {"long.ar", SettingsOpenStatus::WrongSize, " is not a settings file: it holds 4000 bytes" + wrongSize},
        {"empty.ar", SettingsOpenStatus::WrongSize, " is not a settings file: it holds 0 bytes" + wrongSize},
        {"one.ar", SettingsOpenStatus::WrongSize, " is not a settings file: it holds 1 byte" + wrongSize},
        // Never read: a pipe could block the program for good.
        {"pipe.ar", SettingsOpenStatus::NotAFile,
         " is not a settings file: it is not a regular file. Nothing was changed."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CanvasSettings canvas;
        canvas.width = 1280;
        ParticleSettings particles;
        const Bytes before = EncodeSettings(canvas, particles);
        const SettingsOpenResult result = OpenSettingsFile(dir + c.name, canvas, particles);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(DescribeSettingsOpenFailure(result, dir + c.name), dir + c.name + c.message);
        EXPECT_EQ(EncodeSettings(canvas, particles), before);
    }
}

TEST(SettingsOpenDeathTest, AFileThatCannotBeReadIsRefusedAsAccessDenied)
{
    test::TempFolder folder;
    const std::string path = folder.File("locked.ar");
    WriteFile(path, EncodeSettings(CanvasSettings(), ParticleSettings()));
    ::chmod(path.c_str(), 0000);
    ExpectTrueWithoutPrivileges([&] {
        CanvasSettings canvas;
        ParticleSettings particles;
        const SettingsOpenResult result = OpenSettingsFile(path, canvas, particles);
        return result.status == SettingsOpenStatus::Unreadable &&
               DescribeSettingsOpenFailure(result, path) ==
                   path + " could not be read: access was denied. Nothing was changed.";
    });
}

// A broken generator (a field out of order, a wrong type) shows as values no dialog makes.
TEST(ShippedPresets, EachIs115BytesOpensAndHoldsValuesTheDialogCanShow)
{
    const auto within = [](float value, float low, float high) { return value >= low && value <= high; };
    const auto listed = [](const auto& table, std::int32_t value) { return std::ranges::count(table, value) == 1; };
    std::vector<Bytes> seen;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(LUMENO_SOURCE_DIR) / "presets")) {
        SCOPED_TRACE(entry.path().filename().string());
        ASSERT_EQ(entry.path().extension(), ".ar");
        ASSERT_EQ(entry.file_size(), kSettingsFileSize);
        CanvasSettings c;
        ParticleSettings p;
        ASSERT_EQ(OpenSettingsFile(entry.path().string(), c, p).status, SettingsOpenStatus::Loaded);
        const Bytes bytes = EncodeSettings(c, p);
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
