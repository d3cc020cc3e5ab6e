// A whole frame of the engine on a headless context: the real Render (particle lines,
// fade, scene, frame-rate text, the timing step with its single-threaded Update, the
// present that a headless window skips), then glFinish so the frame is really drawn.
// Compare with BM_Frame/BareGL (bench_frame_bare_gl.cpp), which draws the same.
// BM_Frame/EngineWorkers steps on the worker threads instead.

#include <epoxy/gl.h>

#include <benchmark/benchmark.h>

#include <string>

#include "frame_bench_settings.h"
#include "headless_engine.h"
#include "platform/gl/gl_surface.h"

namespace lumeno {
namespace {

void FrameEngine(benchmark::State& state, bool workers)
{
    const int n = static_cast<int>(state.range(0));
    bench::SetFrameSettings(n);
    CanvasSettingsRecord().multiThreaded = workers;
    bench::HeadlessEngine headless(bench::kFrameCanvasWidth, bench::kFrameCanvasHeight);
    CRenderEngine* engine = headless.Engine();
    if (!engine) {
        state.SkipWithError(("no headless engine: " + headless.Error()).c_str());
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
}

BENCHMARK_CAPTURE(FrameEngine, Engine, false)->Name("BM_Frame/Engine")->Apply(bench::FrameRuns);
// As a person runs the large counts: the step on the worker threads from a million on.
BENCHMARK_CAPTURE(FrameEngine, Workers, true)->Name("BM_Frame/EngineWorkers")->Arg(1000000)->Arg(3375000)
    ->Iterations(bench::kFrameIterations)->Apply(bench::RepeatedRuns);

} // namespace
} // namespace lumeno
