#include "render_inputs.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "engine/effect_location.h"
#include "particles/effect_file.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_open.h"

namespace lumeno {
namespace {

bool LoadSettingsFor(const RenderOptions& options, std::string* error)
{
    if (options.settingsPath) {
        // A file the user names must be a settings file, as for Open Settings in the program.
        const SettingsOpenResult opened =
            OpenSettingsFile(*options.settingsPath, CanvasSettingsRecord(), g_particleSettings);
        if (opened.status != SettingsOpenStatus::Loaded) {
            *error = DescribeSettingsOpenFailure(opened, *options.settingsPath);
            return false;
        }
    } else if (std::filesystem::exists(kSettingsFileName)) {
        LoadSettings();
    }
    return true;
}

// For this render only: the engine refuses what the machine cannot hold, as it does
// for the same values in a settings file.
void ApplyOverrides(const RenderOptions& options)
{
    if (options.canvas) {
        CanvasSettingsRecord().width = options.canvas->width;
        CanvasSettingsRecord().height = options.canvas->height;
    }
    if (options.particleCount)
        CanvasSettingsRecord().particleCount = *options.particleCount;
}

// The engine reads its effect file only once it is built, and then says no more than
// that it failed; the file is found here, and a missing one is named before any context
// is made. Outputs stay in the working folder whichever effect file is used.
bool FindEffectFile(std::string* error)
{
    namespace fs = std::filesystem;
    const EffectSearch search = ThisProgramsEffectSearch();
    const EffectLocation location = LocateEffectFile(search);
    UseEffectFile(location.path);
    std::error_code failure;
    const fs::path effect = fs::absolute(location.path, failure);
    const fs::file_type type = fs::status(effect, failure).type();
    if (type == fs::file_type::regular)
        return true;
    const std::string why = type == fs::file_type::not_found ? "there is no such file"
                            : failure                        ? failure.message()
                                                             : "it is not a file";
    *error = "cannot read the effect file " + effect.string() + ": " + why;
    if (location.place == EffectPlace::Nowhere)
        *error += ", nor " + (InstalledDataFolder(search.executableFolder) / kEffectFileName).string() +
                  "; run lumeno-render in a folder that holds Engine/, as the repository root";
    return false;
}

bool LoadScript(const RenderOptions& options, std::vector<ScriptEvent>* events, std::string* error)
{
    if (!options.scriptPath)
        return true;
    const std::string& path = *options.scriptPath;
    // A folder opens as a stream and reads as empty: it would pass for a script with no events.
    std::error_code failure;
    if (std::filesystem::is_directory(path, failure)) {
        *error = "cannot read the script " + path + ": it is a folder, not a file";
        return false;
    }
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read the script " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!ParseRenderScript(in, events, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

} // namespace

bool ReadRenderInputs(const RenderOptions& options, std::vector<ScriptEvent>* events, std::string* error)
{
    if (!LoadSettingsFor(options, error) || !FindEffectFile(error))
        return false;
    ApplyOverrides(options);
    return LoadScript(options, events, error);
}

} // namespace lumeno
