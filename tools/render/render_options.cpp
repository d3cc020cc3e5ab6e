#include "render_options.h"

#include <charconv>
#include <string_view>

#include "platform/video_encoder.h"
#include "play/autopilot.h"
#include "settings/settings_limits.h"

namespace lumeno {

const char* const kRenderUsage =
    "usage: lumeno-render [options]\n"
    "  --settings FILE         settings file, exactly 115 bytes (default: settings_v4.ar\n"
    "                          here, if present)\n"
    "  --canvas WxH            canvas size for this render instead of the settings file's\n"
    "  --particles N           particle count for this render instead of the settings file's\n"
    "  --frames N              frames to render (default 300, or the music's length)\n"
    "  --mouse X,Y             pointer in client pixels (default: the centre)\n"
    "  --script FILE           input by frame: FRAME move X Y | left | right | key NAME\n"
    "  --frame-ms MS           fixed frame interval, for reproducible renders\n"
    "  --autopilot[=SEED]      the pointer follows the autopilot's path (seed 1 unless\n"
    "                          given; the same seed gives the same path); pointer moves\n"
    "                          of the script are left out\n"
    "  --out FILE              the last frame: .png the picture, .bmp or .hdr the canvas\n"
    "  --video FILE            a film through ffmpeg: .mp4 (H.264), .webm (VP9) or .gif\n"
    "  --audio FILE            music (any file ffmpeg reads) plays the toy: loudness speeds\n"
    "                          and brightens it, onsets re-emit, every 8th beat steps the\n"
    "                          colour; the film lasts as long as the music unless --frames\n"
    "                          is given, and --video holds the sound (.mp4 AAC, .webm Opus;\n"
    "                          a .gif stays silent)\n"
    "  --frames-out DIR        every frame as DIR/frame_000001.png, frame_000002.png, ...\n"
    "  --fps N                 film rate (default 60; GIF: 50, at most 50); the clock then\n"
    "                          advances 1000/N ms a frame unless --frame-ms is given\n"
    "  --dump-particles FILE   the particle array after the last frame, 64 bytes each\n"
    "  --save-settings FILE    the settings in force\n"
    "  --randomise[=SEED]      a new look drawn from the presets' ranges after the settings\n"
    "                          are read (canvas and count stay); without SEED a fresh one,\n"
    "                          printed on standard error so the look can be repeated\n"
    "  --stats[=json]          per-phase timings and the frame rate\n"
    "  --version               the program's version\n"
    "  --streaks lines|fast    who draws the streaks: the driver's smooth lines, or the\n"
    "                          program's own rasteriser (default: fast on software GL\n"
    "                          such as llvmpipe, lines on a GPU)\n"
    "Films, sequences and .png pictures hold the picture as the window shows it: the\n"
    "canvas after the exposure, at canvas size, with the debug lines when debug is on,\n"
    "without the frame-rate text. .bmp and .hdr hold the canvas itself, as screenshots do.\n";

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

bool ParseCanvas(std::string_view text, RenderOptions* options)
{
    const auto x = text.find('x');
    CanvasSize size;
    if (x == std::string_view::npos || !ParseNumber(text.substr(0, x), &size.width) ||
        !ParseNumber(text.substr(x + 1), &size.height) || size.width < 1 || size.height < 1 ||
        size.width > kMaxCanvasSide || size.height > kMaxCanvasSide)
        return false;
    options->canvas = size;
    return true;
}

// What a refused value should have been, after its message.
const char* Expected(std::string_view option)
{
    if (option == "--out")
        return " (the picture is saved as .png, .bmp or .hdr)";
    if (option == "--video")
        return " (films are .mp4, .webm or .gif)";
    if (option == "--fps")
        return " (1 to 1000 frames a second)";
    if (option == "--canvas")
        return " (width x height in pixels, as 1920x1080, 1 to 32768 a side)";
    if (option == "--particles")
        return " (a count from 1 to 1073741823)";
    if (option == "--streaks")
        return " (lines or fast)";
    if (option == "--autopilot" || option == "--randomise")
        return " (a seed: a whole number from 0 to 18446744073709551615)";
    return "";
}

bool TakesValue(std::string_view arg)
{
    for (std::string_view option : {"--settings", "--frames", "--mouse", "--script", "--frame-ms", "--out", "--video",
                                    "--audio", "--frames-out", "--fps", "--canvas", "--particles", "--dump-particles",
                                    "--save-settings", "--streaks"}) {
        if (arg == option)
            return true;
    }
    return false;
}

bool ParseValue(std::string_view arg, std::string_view value, RenderOptions* options)
{
    if (arg == "--settings")
        options->settingsPath = std::string(value);
    else if (arg == "--frames") {
        options->framesGiven = true;
        return ParseNumber(value, &options->frames) && options->frames >= 0;
    } else if (arg == "--audio")
        options->audioPath = std::string(value);
    else if (arg == "--mouse")
        return ParseMouse(value, options);
    else if (arg == "--script")
        options->scriptPath = std::string(value);
    else if (arg == "--frame-ms") {
        std::uint32_t ms = 0;
        options->frameMs = ms;
        return ParseNumber(value, &*options->frameMs);
    } else if (arg == "--out") {
        options->outPath = std::string(value);
        return value.ends_with(".png") || value.ends_with(".bmp") || value.ends_with(".hdr");
    } else if (arg == "--video") {
        options->videoPath = std::string(value);
        return FilmFormatForPath(value).has_value();
    } else if (arg == "--frames-out")
        options->framesOutPath = std::string(value);
    else if (arg == "--fps") {
        int fps = 0;
        options->framesPerSecond = fps;
        return ParseNumber(value, &*options->framesPerSecond) && *options->framesPerSecond >= 1 &&
               *options->framesPerSecond <= 1000;
    } else if (arg == "--canvas")
        return ParseCanvas(value, options);
    else if (arg == "--particles") {
        std::int32_t count = 0;
        options->particleCount = count;
        return ParseNumber(value, &*options->particleCount) && *options->particleCount >= 1 &&
               *options->particleCount <= kMaxParticleCount;
    } else if (arg == "--streaks") {
        if (value != "lines" && value != "fast")
            return false;
        options->streaks = value == "lines" ? StreakDrawing::Lines : StreakDrawing::Fast;
    } else if (arg == "--dump-particles")
        options->dumpParticlesPath = std::string(value);
    else
        options->saveSettingsPath = std::string(value);
    return true;
}

// Refusals that depend on more than one option.
bool CheckTogether(const RenderOptions& options, std::string* error)
{
    const bool gif = options.videoPath && FilmFormatForPath(*options.videoPath) == FilmFormat::Gif;
    if (gif && options.framesPerSecond && *options.framesPerSecond > kMaxGifFramesPerSecond) {
        *error = "--fps " + std::to_string(*options.framesPerSecond) + " is too fast for a GIF, whose frame delays "
                 "are hundredths of a second: at most " + std::to_string(kMaxGifFramesPerSecond);
        return false;
    }
    if (options.frames == 0 && WantsPictures(options)) {
        *error = "--frames 0 renders no picture for --video, --frames-out or a .png --out";
        return false;
    }
    return true;
}

// --randomise, or --randomise=SEED with a seed of 64 bits in decimal.
// `arg` is `option` or `option=SEED`: the seed into *seed, none without one. False with
// a message for a seed that is not one.
bool ParseSeedOption(std::string_view arg, std::string_view option, std::optional<std::uint64_t>* seed,
                     std::string* error)
{
    seed->reset();
    if (arg == option)
        return true;
    const std::string_view value = arg.substr(option.size() + 1);
    std::uint64_t parsed = 0;
    if (!ParseNumber(value, &parsed)) {
        *error = "invalid value '" + std::string(value) + "' for " + std::string(option) + Expected(option);
        return false;
    }
    *seed = parsed;
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
        if (arg == "--version") {
            options->version = true;
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
        if (arg == "--autopilot" || arg.starts_with("--autopilot=")) {
            if (!ParseSeedOption(arg, "--autopilot", &options->autopilotSeed, error))
                return false;
            if (!options->autopilotSeed)
                options->autopilotSeed = Autopilot::kDefaultSeed;
            continue;
        }
        if (arg == "--randomise" || arg.starts_with("--randomise=")) {
            options->randomise = true;
            if (!ParseSeedOption(arg, "--randomise", &options->randomiseSeed, error))
                return false;
            continue;
        }
        if (!TakesValue(arg)) {
            *error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        if (i + 1 >= argc) {
            *error = std::string(arg) + " needs a value";
            return false;
        }
        const std::string_view value = argv[++i];
        if (!ParseValue(arg, value, options)) {
            *error = "invalid value '" + std::string(value) + "' for " + std::string(arg) + Expected(arg);
            return false;
        }
    }
    return CheckTogether(*options, error);
}

int FilmFramesPerSecond(const RenderOptions& options)
{
    if (options.framesPerSecond)
        return *options.framesPerSecond;
    const bool gif = options.videoPath && FilmFormatForPath(*options.videoPath) == FilmFormat::Gif;
    return gif ? kMaxGifFramesPerSecond : 60;
}

bool UsesFilmClock(const RenderOptions& options)
{
    return !options.frameMs &&
           (options.videoPath || options.framesOutPath || options.framesPerSecond || options.audioPath);
}

bool OutIsPng(const RenderOptions& options) { return options.outPath && options.outPath->ends_with(".png"); }

bool WantsPictures(const RenderOptions& options)
{
    return options.videoPath || options.framesOutPath || OutIsPng(options);
}

bool WritesFiles(const RenderOptions& options)
{
    return options.outPath || options.videoPath || options.framesOutPath || options.dumpParticlesPath ||
           options.saveSettingsPath;
}

std::string NothingWrittenNote()
{
    std::string note = "nothing was written; the options that write are ";
    for (std::size_t i = 0; i < kWritingOptions.size(); ++i) {
        if (i > 0)
            note += i + 1 == kWritingOptions.size() ? " and " : ", ";
        note += kWritingOptions[i];
    }
    return note;
}

} // namespace lumeno
