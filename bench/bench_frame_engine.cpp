// A whole frame of the engine on a headless context: the real Render (particle lines,
// fade, scene, frame-rate text, the timing step with its single-threaded Update, the
// present that a headless window skips), then glFinish so the frame is really drawn.
// Compare with BM_Frame/BareGL (bench_frame_bare_gl.cpp), which draws the same.

#include <benchmark/benchmark.h>

#include <string>

#include "frame_bench_settings.h"
#include "headless_engine.h"
#include "platform/gl/gl_surface.h"

namespace lumeno {
namespace {

void FrameEngine(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    bench::SetFrameSettings(n);
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

BENCHMARK(FrameEngine)->Name("BM_Frame/Engine")->Apply(bench::FrameRuns);

} // namespace
} // namespace lumeno
