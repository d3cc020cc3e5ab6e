#include "working_folder.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace lumeno {
namespace {

constexpr const char* kEffectFile = "Engine/Shaders/Lumeno.fx";

} // namespace

void EnterEffectFolder()
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(kEffectFile, error))
        return;
    const fs::path sourceTree = LUMENO_SOURCE_DIR;
    if (!fs::exists(sourceTree / kEffectFile, error))
        return; // the engine reports the missing effect file itself
    fs::current_path(sourceTree, error);
    if (!error)
        std::fprintf(stderr, "lumeno: no %s here; working in %s\n", kEffectFile, sourceTree.c_str());
}

} // namespace lumeno
