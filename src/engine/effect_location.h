#pragma once
// Where the effect file is taken from, in this order: the working folder, when it holds
// Engine/ (a person's folder: its effect file is used, or missing, as it is, never passed
// over); the data installed beside the executable (<bin>/../share/lumeno); the source
// tree, only for a program run from the build folder it was built in.

#include <filesystem>
#include <string>

namespace lumeno {

enum class EffectPlace { WorkingFolder, Installed, SourceTree, Nowhere };

struct EffectSearch {
    std::filesystem::path workingFolder;
    std::filesystem::path executableFolder; // empty when unknown
    std::filesystem::path sourceTree;       // the tree the program was built from
    std::filesystem::path buildFolder;      // and where it was built
};

struct EffectLocation {
    EffectPlace place;
    // What the engine loads: kEffectFileName, relative to the working folder, for it and
    // for Nowhere (so the engine names the file it missed); an absolute path otherwise.
    std::string path;
};

EffectLocation LocateEffectFile(const EffectSearch& search);

// The installed data folder for an executable in `executableFolder`.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& executableFolder);

// The search for this process: its working directory, executable and build.
EffectSearch ThisProgramsEffectSearch();

} // namespace lumeno
