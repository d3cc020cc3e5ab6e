// lumeno-render: the engine on a headless context. Renders a number of frames with the
// pointer and input of a script, then saves the canvas, the particles or the settings.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/frame_keys.h"
#include "engine/render_engine.h"
#include "particles/particle_system.h"
#include "phase_stats.h"
#include "platform/clock.h"
#include "platform/headless_window.h"
#include "platform/message_box.h"
#include "render_options.h"
#include "render_script.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"

namespace lumeno {
namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "lumeno-render: %s\n", message.c_str());
    return 1;
}

bool LoadSettingsFor(const RenderOptions& options, std::string* error)
{
    if (options.settingsPath) {
        if (!LoadSettingsFrom(*options.settingsPath, CanvasSettingsRecord(), g_particleSettings)) {
            *error = "cannot read the settings file " + *options.settingsPath +
                     " (missing, unreadable or shorter than 115 bytes)";
            return false;
        }
    } else if (std::filesystem::exists(kSettingsFileName)) {
        LoadSettings();
    }
    return true;
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

bool DumpParticles(const CParticleSystem& system, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    if (system.Particles())
        out.write(reinterpret_cast<const char*>(system.Particles()),
                  static_cast<std::streamsize>(system.Count()) * static_cast<std::streamsize>(sizeof(Particle)));
    out.close();
    return static_cast<bool>(out);
}

void Deliver(const WindowMessage& message)
{
    g_engine->HandleMessage(message);
    HandleFrameKeys(message, FrameKeyActions{});
}

int Run(const RenderOptions& options)
{
    std::string error;
    if (!LoadSettingsFor(options, &error))
        return Fail(error);
    std::vector<ScriptEvent> events;
    if (!LoadScript(options, &events, &error))
        return Fail(error);

    // Boxes go to standard error; an error box marks the run as failed.
    bool sawError = false;
    SetMessageBoxHandler([&sawError](const MessageBoxRequest& box) {
        sawError = true;
        std::fprintf(stderr, "lumeno-render: %s%s%s\n", box.title.c_str(), box.title.empty() ? "" : ": ",
                     box.text.c_str());
    });

    // A fixed frame interval makes every run of the same input give the same picture.
    std::uint32_t fixedNow = 0;
    if (options.frameMs)
        SetClockSource([&fixedNow] { return fixedNow; });

    // The client area is the canvas at the display scale.
    const int clientWidth = static_cast<int>(std::lround(CanvasSettingsRecord().width * g_particleSettings.scale));
    const int clientHeight = static_cast<int>(std::lround(CanvasSettingsRecord().height * g_particleSettings.scale));
    std::unique_ptr<HeadlessWindow> window = HeadlessWindow::Create(clientWidth, clientHeight, &error);
    if (!window)
        return Fail("no headless OpenGL context: " + error);

    auto engine = std::make_unique<CRenderEngine>();
    g_engine = engine.get();
    if (FAILED(engine->Init(window.get()))) {
        engine->Shutdown();
        g_engine = nullptr;
        return Fail("Init Engine Failed!");
    }

    WindowMessage move;
    move.message = WM_MOUSEMOVE;
    move.pointerX = static_cast<std::uint16_t>(std::clamp(options.mouseX.value_or(clientWidth / 2.0f), 0.0f, 65535.0f));
    move.pointerY = static_cast<std::uint16_t>(std::clamp(options.mouseY.value_or(clientHeight / 2.0f), 0.0f, 65535.0f));
    Deliver(move);

    PhaseStats stats;
    if (options.stats != StatsFormat::None)
        SetFrameProfiler(&stats);
    const auto started = std::chrono::steady_clock::now();
    auto lastProgress = started;
    std::size_t nextEvent = 0;
    for (int frame = 1; frame <= options.frames; ++frame) {
        for (; nextEvent < events.size() && events[nextEvent].frame == frame; ++nextEvent) {
            for (const WindowMessage& message : events[nextEvent].messages)
                Deliver(message);
        }
        if (options.frameMs)
            fixedNow += *options.frameMs;
        const auto frameStart = std::chrono::steady_clock::now();
        engine->Render();
        const auto now = std::chrono::steady_clock::now();
        stats.AddFrame(std::chrono::duration<double, std::milli>(now - frameStart).count());
        if (now - lastProgress > std::chrono::seconds(2)) {
            std::fprintf(stderr, "lumeno-render: frame %d of %d\n", frame, options.frames);
            lastProgress = now;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    SetFrameProfiler(nullptr);

    CParticleSystem* particles = engine->GetParticleSystem();
    particles->WaitForStep();
    int status = 0;
    if (options.outPath) {
        const bool failedBefore = sawError;
        sawError = false;
        particles->SaveCanvas(*options.outPath, options.outPath->ends_with(".hdr") ? ImageFileFormat::Hdr
                                                                                    : ImageFileFormat::Bmp);
        if (sawError)
            status = 1;
        else
            std::fprintf(stderr, "lumeno-render: the picture is in %s\n", options.outPath->c_str());
        sawError = sawError || failedBefore;
    }
    if (options.dumpParticlesPath && !DumpParticles(*particles, *options.dumpParticlesPath))
        status = Fail("cannot write " + *options.dumpParticlesPath);
    if (options.saveSettingsPath && !SaveSettingsTo(*options.saveSettingsPath, CanvasSettingsRecord(), g_particleSettings))
        status = 1;

    const double framesPerSecond = seconds > 0 ? options.frames / seconds : 0.0;
    if (options.stats == StatsFormat::Text)
        std::fputs(stats.Text(framesPerSecond).c_str(), stdout);
    else if (options.stats == StatsFormat::Json)
        std::fputs(stats.Json(framesPerSecond).c_str(), stdout);

    // A particle system that could not be built has said why; the run did not do its job.
    if (!particles->IsInitialised())
        status = 1;
    engine->Shutdown();
    g_engine = nullptr;
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
    return lumeno::Run(options);
}
