#pragma once
// The command line of lumeno-render.

#include <cstdint>
#include <optional>
#include <string>

namespace lumeno {

enum class StatsFormat { None, Text, Json };

struct RenderOptions {
    std::optional<std::string> settingsPath; // default: the settings file if present
    int frames = 300;
    std::optional<float> mouseX, mouseY;     // client pixels; default: the centre
    std::optional<std::string> scriptPath;
    std::optional<std::uint32_t> frameMs;    // fixed frame interval instead of the clock
    std::optional<std::string> outPath;      // .bmp or .hdr
    std::optional<std::string> dumpParticlesPath;
    std::optional<std::string> saveSettingsPath;
    StatsFormat stats = StatsFormat::None;
    bool help = false;
};

// False with a message naming the faulty argument.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* error);

extern const char* const kRenderUsage;

} // namespace lumeno
