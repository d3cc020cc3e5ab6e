#include "working_folder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/effect_location.h"
#include "particles/effect_file.h"
#include "platform/program_folders.h"

namespace lumeno {
namespace {

namespace fs = std::filesystem;

// Makes the folder with the folders the program writes into, and enters it.
std::error_code EnterUserFolder(const fs::path& folder)
{
    std::error_code error;
    for (const char* inside : {"screenshots", "recordings"}) {
        fs::create_directories(folder / inside, error);
        if (error)
            return error;
    }
    fs::current_path(folder, error);
    return error;
}

} // namespace

void EnterWorkingFolder()
{
    std::error_code error;
    if (!fs::is_directory("Engine", error)) {
        const fs::path folder = UserFolder();
        const std::string here = fs::current_path(error).string();
        if (folder.empty()) {
            std::fprintf(stderr, "lumeno: no home folder (HOME is not set); working in %s\n", here.c_str());
        } else if (const std::error_code failure = EnterUserFolder(folder)) {
            std::fprintf(stderr, "lumeno: cannot make %s: %s; working in %s\n", folder.c_str(),
                         failure.message().c_str(), here.c_str());
        } else {
            std::fprintf(stderr, "lumeno: no Engine/ here; working in %s\n", folder.c_str());
        }
    }
    UseEffectFile(LocateEffectFile(ThisProgramsEffectSearch()).path);
}

} // namespace lumeno
