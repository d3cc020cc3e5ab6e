// lumeno-render: the engine on a headless context. Renders a number of frames with the
// pointer and input of a script, and keeps the pictures as a film, a PNG sequence or a
// still, the canvas, the particles or the settings.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

#include "error_boxes.h"
#include "frame_clock.h"
#include "headless_engine.h"
#include "particles/particle_system.h"
#include "platform/format_probe.h"
#include "platform/gl/gl_device.h"
#include "play/autopilot.h"
#include "play/music_player.h"
#include "play/look_undo.h"
#include "play/random_look.h"
#include "settings/particle_settings.h"
#include "phase_stats.h"
#include "picture_outputs.h"
#include "progress_report.h"
#include "render_inputs.h"
#include "render_music.h"
#include "render_options.h"
#include "render_script.h"
#include "state_files.h"

namespace lumeno {
namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "lumeno-render: %s\n", message.c_str());
    return 1;
}

void MovePointer(const HeadlessEngine& engine, const RenderOptions& options)
{
    WindowMessage move;
    move.message = WM_MOUSEMOVE;
    const float x = options.mouseX.value_or(engine.ClientWidth() / 2.0f);
    const float y = options.mouseY.value_or(engine.ClientHeight() / 2.0f);
    move.pointerX = static_cast<std::uint16_t>(std::clamp(x, 0.0f, 65535.0f));
    move.pointerY = static_cast<std::uint16_t>(std::clamp(y, 0.0f, 65535.0f));
    engine.Deliver(move);
}

void ChooseStreakDrawing(const HeadlessEngine& engine, StreakDrawing streaks)
{
    if (streaks == StreakDrawing::Auto)
        return;
    engine.Engine().GetGlDevice()->SetLineDrawing(streaks == StreakDrawing::Lines ? LineDrawing::Driver
                                                                                  : LineDrawing::Software);
}

// The engine built for the settings in force, drawing streaks as asked, with the pointer
// where the options put it. False with a sentence.
bool StartEngine(HeadlessEngine& engine, FrameClock& clock, const RenderOptions& options, std::string* error)
{
    if (!engine.Build(clock.Source(), error))
        return false;
    ChooseStreakDrawing(engine, options.streaks);
    // A particle system that could not be built has said why; there is nothing to render.
    if (!engine.Engine().GetParticleSystem()->IsInitialised()) {
        *error = "nothing was rendered: the particle system could not be built";
        return false;
    }
    MovePointer(engine, options);
    return true;
}

struct FrameLoop {
    const RenderOptions& options;
    Autopilot* autopilot; // null when the pointer is the script's
    const std::vector<ScriptEvent>& events;
    const HeadlessEngine& engine;
    FrameClock& clock;
    PictureOutputs& pictures;
    PhaseStats& stats;
    MusicPlayer* music; // null without --audio
};

// Every frame with its input; false with a sentence when a picture could not be kept.
// The seconds the frames took go to *seconds.
bool RenderFrames(const FrameLoop& loop, double* seconds, std::string* error)
{
    ProgressReport progress = ProgressReport::ForStream(loop.options.frames, stderr);
    const auto started = std::chrono::steady_clock::now();
    std::size_t nextEvent = 0;
    bool kept = true;
    for (int frame = 1; frame <= loop.options.frames && kept; ++frame) {
        for (; nextEvent < loop.events.size() && loop.events[nextEvent].frame == frame; ++nextEvent) {
            for (const WindowMessage& message : loop.events[nextEvent].messages) {
                if (!loop.autopilot || !Autopilot::TakesOver(message))
                    loop.engine.Deliver(message);
            }
        }
        // After the script's input, so that a re-emission goes where the script moved the pointer.
        if (loop.music)
            loop.music->BeforeFrame(frame);
        loop.clock.StartFrame(frame);
        if (loop.autopilot)
            loop.autopilot->Steer(loop.engine.Engine(), loop.engine.Engine().NowMs(),
                                  [&engine = loop.engine](const WindowMessage& message) { engine.Deliver(message); });
        const auto frameStart = std::chrono::steady_clock::now();
        loop.engine.Engine().Render();
        kept = loop.pictures.Write(frame, error);
        loop.stats.AddFrame(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - frameStart).count());
        progress.FrameDone(frame);
    }
    progress.Finish();
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return kept;
}

// The files of the engine's state; 0, or 1 when one could not be written.
int WriteState(const RenderOptions& options, const CRenderEngine& engine)
{
    std::vector<std::string> errors;
    if (WriteStateFiles(options, engine, &errors))
        return 0;
    for (const std::string& error : errors)
        Fail(error);
    return 1;
}

// --randomise: a look drawn for the canvas and count in force, before the engine is built
// from the records. A seed of the system's is printed, so that the look can be drawn again.
void RandomiseLook(const RenderOptions& options)
{
    if (!options.randomise)
        return;
    const std::uint64_t seed = options.randomiseSeed ? *options.randomiseSeed : FreshSeed();
    if (!options.randomiseSeed)
        std::fprintf(stderr, "lumeno-render: randomised with seed %llu (--randomise=%llu draws it again)\n",
                     static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    g_particleSettings = DrawLook(g_particleSettings, CanvasInForce(), seed);
}

// Input that comes too late to be delivered is dropped, but not without a word.
void WarnOfLateEvents(const RenderOptions& options, const std::vector<ScriptEvent>& events)
{
    const std::string late = EventsAfterLastFrame(events, options.frames);
    if (!late.empty())
        std::fprintf(stderr, "lumeno-render: warning: %s: %s\n", options.scriptPath->c_str(), late.c_str());
}

void PrintStats(const RenderOptions& options, const PhaseStats& stats, double seconds)
{
    const double framesPerSecond = seconds > 0 ? options.frames / seconds : 0.0;
    if (options.stats == StatsFormat::Text)
        std::fputs(stats.Text(framesPerSecond).c_str(), stdout);
    else if (options.stats == StatsFormat::Json)
        std::fputs(stats.Json(framesPerSecond).c_str(), stdout);
    // An 8-bit canvas default that no probe chose changes what the timings mean, so its
    // reason goes with them; on standard error, so that the JSON stays whole.
    if (options.stats != StatsFormat::None && !ProbeBlendableCanvasFormatReason().empty())
        std::fprintf(stderr, "lumeno-render: the canvas default is 8-bit: %s\n",
                     ProbeBlendableCanvasFormatReason().c_str());
}

// The frames, timed by phase only while they render; then the last step waited for and
// the pictures finished. False with a sentence.
bool RenderAndFinish(const FrameLoop& loop, double* seconds, std::string* error)
{
    if (loop.options.stats != StatsFormat::None)
        loop.engine.Engine().SetFrameProfiler(&loop.stats);
    const bool rendered = RenderFrames(loop, seconds, error);
    loop.engine.Engine().SetFrameProfiler(nullptr);
    if (!rendered)
        return false;
    loop.engine.Engine().GetParticleSystem()->WaitForStep();
    // The user's settings back before any are saved.
    if (loop.music)
        loop.music->Stop();
    return loop.pictures.Finish(error);
}

// The locals are declared in the order their hooks must go, each taken away before what
// it reaches: the boxes print to standard error until the engine has shut down, the
// clock serves the engine from its construction to its end, and the pictures' tap, the
// phase profiler and the music player are removed while the engine still exists.
// The options are a copy: the music sets the frame count when --frames is not given.
int Run(RenderOptions options)
{
    std::string error;
    std::vector<MusicFrame> musicFrames;
    if (options.audioPath && !LoadRenderMusic(&options, &musicFrames, &error))
        return Fail(error);
    std::vector<ScriptEvent> events;
    if (!ReadRenderInputs(options, &events, &error))
        return Fail(error);
    WarnOfLateEvents(options, events);
    RandomiseLook(options);

    ErrorBoxesToStandardError boxes;
    FrameClock clock(options); // before the engine: its first interval starts at construction
    HeadlessEngine engine;
    if (!StartEngine(engine, clock, options, &error))
        return Fail(error);
    PictureOutputs pictures(options);
    if (!pictures.Open(engine.Engine(), &error))
        return Fail(error);
    PhaseStats stats(*engine.Engine().GetGlDevice());
    std::optional<Autopilot> autopilot;
    if (options.autopilotSeed)
        autopilot.emplace(*options.autopilotSeed);
    std::optional<MusicPlayer> music;
    if (options.audioPath) {
        music.emplace(std::move(musicFrames), FilmFramesPerSecond(options),
                      [&engine](const WindowMessage& message) { engine.Deliver(message); });
        if (autopilot)
            music->onBeat = [&autopilot] { autopilot->HopOnBeat(); };
    }
    double seconds = 0;
    if (!RenderAndFinish(FrameLoop{options, autopilot ? &*autopilot : nullptr, events, engine, clock, pictures, stats,
                                   music ? &*music : nullptr},
                         &seconds, &error))
        return Fail(error);
    const int status = WriteState(options, engine.Engine());
    PrintStats(options, stats, seconds);
    // A render that leaves no trace should not pass for one that did.
    if (!WritesFiles(options) && options.stats == StatsFormat::None)
        std::fprintf(stderr, "lumeno-render: %s\n", NothingWrittenNote().c_str());
    return status;
}

} // namespace
} // namespace lumeno

int main(int argc, char** argv)
{
    lumeno::RenderOptions options;
    std::string error;
    if (!lumeno::ParseRenderOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "lumeno-render: %s\n%s", error.c_str(), lumeno::kRenderUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(lumeno::kRenderUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::puts("lumeno-render " LUMENO_VERSION);
        return 0;
    }
    return lumeno::Run(options);
}
