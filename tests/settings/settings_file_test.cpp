#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "support/message_box_recorder.h"
#include "support/temp_folder.h"

namespace lumeno {
namespace {

// Every field at its default with the 32-bit float canvas format.
const std::vector<unsigned char> kDefaultFile = {
    0x00, 0x04, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x74, 0x00, 0x00, 0x00, 0x20, 0x4e, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x80, 0x3e, 0x00, 0x00, 0x80,
    0x3f, 0x00, 0x00, 0x80, 0x3f, 0xa4, 0x70, 0x7d, 0x3f, 0xa6, 0x9b, 0xc4, 0x3a, 0x9a, 0x99, 0x99,
    0x3e, 0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9a, 0x99, 0x19, 0x3f, 0x0a, 0xd7,
    0x23, 0x3c, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0xd0, 0x40, 0x00, 0x00, 0x80, 0x3f, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3f, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3f, 0x03,
    0x00, 0x00, 0x00};

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

CanvasSettings DefaultCanvasAt116()
{
    CanvasSettings canvas;
    canvas.format = kFormatRGBA32F;
    return canvas;
}

TEST(SettingsFile, DefaultsWithFloat32FormatWriteTheKnown115Bytes)
{
    test::TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    ASSERT_TRUE(SaveSettingsTo(path, DefaultCanvasAt116(), ParticleSettings()));
    EXPECT_EQ(ReadFile(path), kDefaultFile);
}

TEST(SettingsFile, FieldsLandAtTheirOffsets)
{
    CanvasSettings canvas = DefaultCanvasAt116();
    ParticleSettings particles;
    canvas.multiThreaded = true;
    particles.debug = true;
    particles.createMethod = 2;
    particles.colorIndex = -1;
    const std::vector<std::byte> bytes = EncodeSettings(canvas, particles);
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(bytes[16], std::byte{1});
    EXPECT_EQ(bytes[53], std::byte{1});
    EXPECT_EQ(bytes[54], std::byte{2});
    EXPECT_EQ(bytes[70], std::byte{1});
    for (int i = 111; i < 115; ++i)
        EXPECT_EQ(bytes[static_cast<std::size_t>(i)], std::byte{0xff});
}

TEST(SettingsFile, LoadThenSaveReproducesTheFileWithBoolBytesNormalised)
{
    test::TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    std::vector<unsigned char> edited = kDefaultFile;
    edited[0] = 0x80;  // width 1152
    edited[16] = 2;    // multiThreaded
    edited[53] = 255;  // debug
    edited[70] = 7;    // invert
    edited.push_back(0xAB); // bytes past 115 are ignored
    WriteFile(path, edited);

    CanvasSettings canvas;
    ParticleSettings particles;
    ASSERT_TRUE(LoadSettingsFrom(path, canvas, particles));
    EXPECT_EQ(canvas.width, 1152);
    EXPECT_EQ(canvas.format, 116);
    EXPECT_TRUE(canvas.multiThreaded);
    EXPECT_TRUE(particles.debug);
    EXPECT_TRUE(particles.invert);

    ASSERT_TRUE(SaveSettingsTo(path, canvas, particles));
    std::vector<unsigned char> expected(edited.begin(), edited.begin() + 115);
    expected[16] = 1;
    expected[53] = 1;
    expected[70] = 1;
    EXPECT_EQ(ReadFile(path), expected);
}

TEST(SettingsFile, ShortFileChangesNoField)
{
    test::TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    std::vector<unsigned char> shortFile(kDefaultFile.begin(), kDefaultFile.begin() + 114);
    shortFile[0] = 0x20; // width 800 in the part that could be read
    WriteFile(path, shortFile);

    CanvasSettings canvas;
    canvas.width = 1280;
    ParticleSettings particles;
    particles.speed = 3.0f;
    EXPECT_FALSE(LoadSettingsFrom(path, canvas, particles));
    EXPECT_EQ(canvas.width, 1280);
    EXPECT_EQ(particles.speed, 3.0f);
    EXPECT_EQ(particles.colorIndex, 3);
}

TEST(SettingsFile, MissingFileLoadsNothingAndSaysNothing)
{
    test::TempFolder folder;
    test::MessageBoxRecorder boxes;
    CanvasSettings canvas;
    ParticleSettings particles;
    EXPECT_FALSE(LoadSettingsFrom(folder.File("absent.ar"), canvas, particles));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SettingsFile, GlobalLoadAndSaveUseTheWorkingDirectory)
{
    test::TempFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const CanvasSettings savedCanvas = CanvasSettingsRecord();
    const ParticleSettings savedParticles = g_particleSettings;

    CanvasSettingsRecord().format = kFormatRGBA32F;
    SaveSettings();
    const auto written = ReadFile("settings_v4.ar");
    CanvasSettingsRecord().width = 800;
    const bool loaded = LoadSettings();
    const int widthAfterLoad = CanvasSettingsRecord().width;

    CanvasSettingsRecord() = savedCanvas;
    g_particleSettings = savedParticles;
    std::filesystem::current_path(previous);
    EXPECT_EQ(written, kDefaultFile);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(widthAfterLoad, 1024);
}

// A save that cannot write reports the file error with the file's name and leaves the
// old file as it was. Run in a child process without privileges, so that permission
// bits hold even when the tests run as root.
TEST(SettingsFileDeathTest, SaveIntoReadOnlyFolderKeepsOldFileAndSaysAccessDenied)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    const std::vector<unsigned char> old = {1, 2, 3};
    WriteFile(path, old);
    ::chmod(folder.Path().c_str(), 0555);
    ::chmod(path.c_str(), 0644);

    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(3);
            test::MessageBoxRecorder boxes;
            const bool ok = SaveSettingsTo(path, DefaultCanvasAt116(), ParticleSettings());
            const bool rightBox = boxes.Boxes().size() == 1 &&
                                  boxes.Boxes()[0].text == "Access to " + path + " was denied." &&
                                  boxes.Boxes()[0].title.empty() &&
                                  boxes.Boxes()[0].icon == MessageIcon::Warning;
            std::_Exit(!ok && rightBox ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");

    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "no temporary left behind";
}

TEST(SettingsFile, SaveIntoMissingFolderSaysSoAndCreatesNothing)
{
    test::TempFolder folder;
    test::MessageBoxRecorder boxes;
    const std::string path = folder.File("missing/settings_v4.ar");
    EXPECT_FALSE(SaveSettingsTo(path, DefaultCanvasAt116(), ParticleSettings()));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, path + " could not be created because its folder does not exist.");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing"));
}

} // namespace
} // namespace lumeno
