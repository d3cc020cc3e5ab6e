#include "render_inputs.h"

#include <filesystem>
#include <fstream>

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

bool LoadScript(const RenderOptions& options, std::vector<ScriptEvent>* events, std::string* error)
{
    if (!options.scriptPath)
        return true;
    std::ifstream in(*options.scriptPath);
    if (!in) {
        *error = "cannot open the script " + *options.scriptPath;
        return false;
    }
    if (!ParseRenderScript(in, events, error)) {
        *error = *options.scriptPath + ": " + *error;
        return false;
    }
    return true;
}

} // namespace

bool ReadRenderInputs(const RenderOptions& options, std::vector<ScriptEvent>* events, std::string* error)
{
    if (!LoadSettingsFor(options, error))
        return false;
    ApplyOverrides(options);
    return LoadScript(options, events, error);
}

} // namespace lumeno
