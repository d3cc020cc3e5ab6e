#include "engine/effect_location.h"

#include <system_error>

#include "particles/effect_file.h"
#include "platform/program_folders.h"

namespace lumeno {
namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool IsInside(const fs::path& inner, const fs::path& outer)
{
    if (inner.empty() || outer.empty())
        return false;
    const fs::path relative = inner.lexically_normal().lexically_relative(outer.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace

fs::path InstalledDataFolder(const fs::path& executableFolder)
{
    // From the install rules' bin and data folders, so a prefix chosen at install time
    // (or a DESTDIR, or a package) keeps the two apart as configured.
    return (executableFolder / LUMENO_DATA_FROM_BINARY).lexically_normal();
}

EffectLocation LocateEffectFile(const EffectSearch& search)
{
    std::error_code error;
    if (fs::is_directory(search.workingFolder / "Engine", error))
        return {EffectPlace::WorkingFolder, kEffectFileName};
    if (!search.executableFolder.empty()) {
        const fs::path installed = InstalledDataFolder(search.executableFolder) / kEffectFileName;
        if (IsFile(installed))
            return {EffectPlace::Installed, installed.string()};
    }
    const fs::path source = search.sourceTree / kEffectFileName;
    if (!search.sourceTree.empty() && IsInside(search.executableFolder, search.buildFolder) && IsFile(source))
        return {EffectPlace::SourceTree, source.string()};
    return {EffectPlace::Nowhere, kEffectFileName};
}

EffectSearch ThisProgramsEffectSearch()
{
    std::error_code error;
    fs::path buildFolder = fs::weakly_canonical(LUMENO_BUILD_BINARY_DIR, error);
    if (error)
        buildFolder = LUMENO_BUILD_BINARY_DIR;
    return {fs::current_path(error), ExecutableFolder(), LUMENO_BUILD_SOURCE_DIR, buildFolder};
}

} // namespace lumeno
