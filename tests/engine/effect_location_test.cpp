// The order the effect file is looked for in, on folders made for each case: a working
// folder that holds Engine/, the installed data beside the executable, the source tree
// for a program in its build folder, and none.

#include "engine/effect_location.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "particles/effect_file.h"
#include "support/temp_folder.h"

namespace lumeno::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWorkEffect = "work/Engine/Shaders/Lumeno.fx";
constexpr const char* kInstalledEffect = "usr/share/lumeno/Engine/Shaders/Lumeno.fx";
constexpr const char* kSourceEffect = "source/Engine/Shaders/Lumeno.fx";
constexpr const char* kBuildEffect = "build/share/lumeno/Engine/Shaders/Lumeno.fx";

TEST(EffectLocation, WorkingFolderThenInstalledThenSourceTreeForTheBuildFolderOnly)
{
    struct Case {
        const char* what;
        std::vector<std::string> made;  // files, or folders when ending in '/'
        const char* executableFolder;   // relative to the case's root; "" for unknown
        EffectPlace place;
        const char* path;               // relative to the root, or kEffectFileName
    };
    const Case cases[] = {
        {"the working folder's copy wins", {kWorkEffect, kInstalledEffect, kSourceEffect}, "usr/bin",
         EffectPlace::WorkingFolder, kEffectFileName},
        {"an Engine/ without the effect file is still the person's", {"work/Engine/Shaders/", kInstalledEffect},
         "usr/bin", EffectPlace::WorkingFolder, kEffectFileName},
        {"an empty Engine/ too", {"work/Engine/", kSourceEffect}, "build/src/app", EffectPlace::WorkingFolder,
         kEffectFileName},
        {"installed beside the executable", {"work/", kInstalledEffect, kSourceEffect}, "usr/bin",
         EffectPlace::Installed, kInstalledEffect},
        {"installed data folder without the file", {"work/", "usr/share/lumeno/Engine/Shaders/", kSourceEffect},
         "usr/bin", EffectPlace::Nowhere, kEffectFileName},
        {"installed wins over the source tree in the build folder", {"work/", kBuildEffect, kSourceEffect},
         "build/src", EffectPlace::Installed, kBuildEffect},
        {"the source tree for a program in its build folder", {"work/", kSourceEffect}, "build/src/app",
         EffectPlace::SourceTree, kSourceEffect},
        {"the build folder itself", {"work/", kSourceEffect}, "build", EffectPlace::SourceTree, kSourceEffect},
        {"not for an installed program", {"work/", kSourceEffect}, "usr/bin", EffectPlace::Nowhere, kEffectFileName},
        {"not for a folder whose name starts as the build folder's", {"work/", kSourceEffect}, "build2/app",
         EffectPlace::Nowhere, kEffectFileName},
        {"not when the executable is unknown", {"work/", kSourceEffect}, "", EffectPlace::Nowhere, kEffectFileName},
        {"the source tree without the effect file", {"work/", "source/Engine/Shaders/"}, "build/src/app",
         EffectPlace::Nowhere, kEffectFileName},
    };
    for (const Case& c : cases) {
        TempFolder root;
        for (const std::string& made : c.made) {
            const fs::path path = root.Path() / made;
            if (made.back() == '/') {
                fs::create_directories(path);
            } else {
                fs::create_directories(path.parent_path());
                std::ofstream(path) << "effect\n";
            }
        }
        const EffectSearch search{root.Path() / "work",
                                  *c.executableFolder ? root.Path() / c.executableFolder : fs::path(),
                                  root.Path() / "source", root.Path() / "build"};
        const EffectLocation found = LocateEffectFile(search);
        EXPECT_EQ(found.place, c.place) << c.what;
        const std::string path =
            std::string(c.path) == kEffectFileName ? std::string(kEffectFileName) : (root.Path() / c.path).string();
        EXPECT_EQ(found.path, path) << c.what;
    }
}

TEST(EffectLocation, InstalledDataIsShareLumenoBesideBin)
{
    EXPECT_EQ(InstalledDataFolder("/opt/x/bin"), fs::path("/opt/x/share/lumeno"));
    EXPECT_EQ(InstalledDataFolder("/tmp/stage/usr/bin"), fs::path("/tmp/stage/usr/share/lumeno"));
}

} // namespace
} // namespace lumeno::test
