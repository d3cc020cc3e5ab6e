#pragma once
// The command line of lumeno-render.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumeno {

enum class StatsFormat { None, Text, Json };

// Who draws the particle streaks: as the device chooses from its driver, the driver's
// smooth lines, or the device's own rasteriser.
enum class StreakDrawing { Auto, Lines, Fast };

struct CanvasSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct RenderOptions {
    std::optional<std::string> settingsPath; // default: the settings file if present
    int frames = 300;
    bool framesGiven = false;                // --frames was given: it wins over the music's length
    std::optional<float> mouseX, mouseY;     // client pixels; default: the centre
    std::optional<std::string> scriptPath;
    std::optional<std::uint32_t> frameMs;    // fixed frame interval instead of the clock
    std::optional<std::string> outPath;      // .png: the picture; .bmp or .hdr: the canvas
    std::optional<std::string> videoPath;    // .mp4, .webm or .gif
    std::optional<std::string> audioPath;    // music that drives the frames and sounds in the film
    std::optional<std::string> framesOutPath; // folder of frame_000001.png, ...
    std::optional<int> framesPerSecond;      // of the film; see FilmFramesPerSecond
    std::optional<CanvasSize> canvas;        // instead of the settings file's
    std::optional<std::int32_t> particleCount;
    std::optional<std::string> dumpParticlesPath;
    std::optional<std::string> saveSettingsPath;
    std::optional<std::uint64_t> autopilotSeed; // the pointer follows the autopilot's path
    bool randomise = false;                  // a new look drawn after the settings are read
    std::optional<std::uint64_t> randomiseSeed; // its seed; default: a fresh one, printed
    StatsFormat stats = StatsFormat::None;
    StreakDrawing streaks = StreakDrawing::Auto;
    bool help = false;
    bool version = false;
};

// False with a message naming the faulty argument.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* error);

// --fps, else 60, or 50 for a GIF (see kMaxGifFramesPerSecond).
int FilmFramesPerSecond(const RenderOptions& options);

// Films, sequences, music and --fps run the clock at the film's rate unless --frame-ms is given.
bool UsesFilmClock(const RenderOptions& options);

// Whether the run needs the picture as the window shows it, frame by frame.
bool WantsPictures(const RenderOptions& options);
bool OutIsPng(const RenderOptions& options);

// The options that write a file, as --help names them.
inline constexpr std::array<std::string_view, 5> kWritingOptions{"--out", "--video", "--frames-out",
                                                                 "--dump-particles", "--save-settings"};
// Whether any of kWritingOptions was given.
bool WritesFiles(const RenderOptions& options);
// The note for a render that writes no file and prints no statistics: nothing shows for it.
std::string NothingWrittenNote();

extern const char* const kRenderUsage;

} // namespace lumeno
