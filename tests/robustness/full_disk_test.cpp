// Saving the settings onto a disk with no room left: the box names the file and the
// cause, and the file that was there before is still there, byte for byte.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "mount_namespace.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "support/file_bytes.h"
#include "support/message_box_recorder.h"
#include "support/temp_folder.h"

namespace lumeno::test {
namespace {

// Runs in a child process (the mount lives and dies with it). Empty when all held.
std::string SaveOntoFullDisk(const std::filesystem::path& folder)
{
    if (std::string error = MountTmpfs(folder, 8, false); !error.empty())
        return error;
    const std::string path = (folder / kSettingsFileName).string(), old = "the settings of yesterday";
    std::ofstream(path, std::ios::binary) << old;
    if (std::string error = FillUp(folder); !error.empty())
        return error;
    MessageBoxRecorder boxes;
    CanvasSettings canvas;
    canvas.format = kFormatRGBA32F;
    if (SaveSettingsTo(path, canvas, ParticleSettings()))
        return "the save reported success";
    if (boxes.Boxes().size() != 1)
        return "expected one box, got " + std::to_string(boxes.Boxes().size());
    const MessageBoxRequest& box = boxes.Boxes()[0];
    if (box.text != "The disk is full while writing " + path + ".")
        return "box text: " + box.text;
    if (!box.title.empty() || box.icon != MessageIcon::Warning)
        return "box title or icon";
    if (FileBytes(path) != old)
        return "the old file changed";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != kSettingsFileName && entry.path().filename() != "filler")
            return "left behind: " + entry.path().filename().string();
    return {};
}

TEST(FullDiskDeathTest, SettingsSaveOntoAFullDiskSaysSoAndKeepsTheOldFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempFolder folder;
    EXPECT_EXIT(
        {
            const std::string problem = SaveOntoFullDisk(folder.Path());
            std::fprintf(stderr, "%s\n", problem.c_str());
            std::_Exit(problem.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace lumeno::test
