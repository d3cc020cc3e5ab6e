#include <gtest/gtest.h>

#include <algorithm>
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

// Every field at its default with the 32-bit float canvas format: 1024 × 768, 20000
// particles, drag 0x3F7D70A4 at 37, gravity 0x3AC49BA6, radius 0x3F19999A, colour index 3.
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

TEST(SettingsFile, DefaultsSaveAsTheKnown115BytesInTheWorkingDirectoryAndLoadBack)
{
    test::TempFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const CanvasSettings savedCanvas = CanvasSettingsRecord();
    const ParticleSettings savedParticles = g_particleSettings;

    CanvasSettingsRecord() = DefaultCanvasAt116();
    g_particleSettings = ParticleSettings();
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

TEST(SettingsFile, FieldsLoadFromTheirOffsetsAndSaveBackWithBoolBytesNormalised)
{
    test::TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    std::vector<unsigned char> edited = kDefaultFile;
    edited[0] = 0x80;  // width 1152
    edited[16] = 2;    // multiThreaded
    edited[53] = 255;  // debug
    edited[54] = 2;    // createMethod
    edited[70] = 7;    // invert
    std::fill(edited.begin() + 111, edited.end(), 0xff); // colorIndex -1
    edited.push_back(0xAB); // bytes past 115 are ignored
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
    edited[16] = edited[53] = edited[70] = 1;
    EXPECT_EQ(ReadFile(path), edited);
}

TEST(SettingsFile, ShortOrMissingFileChangesNoFieldAndSaysNothing)
{
    test::TempFolder folder;
    test::MessageBoxRecorder boxes;
    std::vector<unsigned char> shortFile(kDefaultFile.begin(), kDefaultFile.end() - 1);
    shortFile[0] = 0x20; // width 800 in the part that could be read
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
