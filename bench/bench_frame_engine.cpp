// A whole frame of the engine on a headless context: the real Render (particle lines,
// fade, scene, frame-rate text, the timing step with its single-threaded Update, the
// present that a headless window skips), then glFinish so the frame is really drawn.
// Compare with BM_Frame/BareGL (bench_frame_bare_gl.cpp), which draws the same.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/render_engine.h"
#include "engine_folder.h"
#include "frame_bench_settings.h"
#include "particles/attractor.h"
#include "platform/gl/gl_surface.h"
#include "platform/headless_window.h"

namespace lumeno {
namespace {

void FrameEngine(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    bench::EngineFolder folder;
    bench::SetFrameSettings(n);
    SimulationAttractor() = Attractor{};
    std::string error;
    std::unique_ptr<HeadlessWindow> window =
        folder.Ready() ? HeadlessWindow::Create(bench::kFrameCanvasWidth, bench::kFrameCanvasHeight, &error) : nullptr;
    if (!window) {
        state.SkipWithError(("no headless context: " + error).c_str());
        return;
    }
    auto engine = std::make_unique<CRenderEngine>();
    g_engine = engine.get();
    if (FAILED(engine->Init(window.get()))) {
        state.SkipWithError("the engine did not start");
        g_engine = nullptr;
        return;
    }
    for (int i = 0; i < bench::kFrameWarmUpFrames; ++i) {
        engine->Render();
        glFinish();
    }

    for (auto _ : state) {
        engine->Render();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * n);

    engine->Shutdown();
    engine.reset();
    g_engine = nullptr;
    window.reset();
    g_canvasSettings.SetDefaults();
    g_particleSettings.SetDefaults();
}

BENCHMARK(FrameEngine)
    ->Name("BM_Frame/Engine")
    ->Arg(20000)
    ->Arg(1000000)
    ->Iterations(bench::kFrameIterations)
    ->Repetitions(3)
    ->ComputeStatistics("min", bench::MinimumOf)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace lumeno
