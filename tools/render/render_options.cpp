#include "render_options.h"

#include <charconv>
#include <string_view>

namespace lumeno {

const char* const kRenderUsage =
    "usage: lumeno-render [options]\n"
    "  --settings FILE         settings file (default: settings_v4.ar here, if present)\n"
    "  --frames N              frames to render (default 300)\n"
    "  --mouse X,Y             pointer in client pixels (default: the centre)\n"
    "  --script FILE           input by frame: FRAME move X Y | left | right | key NAME\n"
    "  --frame-ms MS           fixed frame interval, for reproducible renders\n"
    "  --out FILE              save the canvas as .bmp or .hdr\n"
    "  --dump-particles FILE   the particle array after the last frame, 64 bytes each\n"
    "  --save-settings FILE    the settings in force\n"
    "  --stats[=json]          per-phase timings and the frame rate\n";

namespace {

template <typename Number>
bool ParseNumber(std::string_view text, Number* out)
{
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, *out);
    return failure == std::errc() && stop == end;
}

bool ParseMouse(std::string_view text, RenderOptions* options)
{
    const auto comma = text.find(',');
    float x = 0, y = 0;
    if (comma == std::string_view::npos || !ParseNumber(text.substr(0, comma), &x) ||
        !ParseNumber(text.substr(comma + 1), &y))
        return false;
    options->mouseX = x;
    options->mouseY = y;
    return true;
}

} // namespace

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options->help = true;
            continue;
        }
        if (arg == "--stats") {
            options->stats = StatsFormat::Text;
            continue;
        }
        if (arg == "--stats=json") {
            options->stats = StatsFormat::Json;
            continue;
        }
        const bool takesValue = arg == "--settings" || arg == "--frames" || arg == "--mouse" || arg == "--script" ||
                                arg == "--frame-ms" || arg == "--out" || arg == "--dump-particles" ||
                                arg == "--save-settings";
        if (!takesValue) {
            *error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        if (i + 1 >= argc) {
            *error = std::string(arg) + " needs a value";
            return false;
        }
        const std::string_view value = argv[++i];
        bool ok = true;
        if (arg == "--settings") {
            options->settingsPath = std::string(value);
        } else if (arg == "--frames") {
            ok = ParseNumber(value, &options->frames) && options->frames >= 0;
        } else if (arg == "--mouse") {
            ok = ParseMouse(value, options);
        } else if (arg == "--script") {
            options->scriptPath = std::string(value);
        } else if (arg == "--frame-ms") {
            std::uint32_t ms = 0;
            ok = ParseNumber(value, &ms);
            options->frameMs = ms;
        } else if (arg == "--out") {
            ok = value.ends_with(".bmp") || value.ends_with(".hdr");
            options->outPath = std::string(value);
        } else if (arg == "--dump-particles") {
            options->dumpParticlesPath = std::string(value);
        } else {
            options->saveSettingsPath = std::string(value);
        }
        if (!ok) {
            *error = "invalid value '" + std::string(value) + "' for " + std::string(arg);
            if (arg == "--out")
                *error += " (the picture is saved as .bmp or .hdr)";
            return false;
        }
    }
    return true;
}

} // namespace lumeno
