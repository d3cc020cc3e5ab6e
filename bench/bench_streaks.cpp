// The particle pass alone, the streaks into a 1024 x 768 canvas of each format, drawn by the
// driver's smooth lines (BM_Streaks/Lines) and by the device's own rasteriser
// (BM_Streaks/Fast), from the same cloud: the engine's, after a few frames of the default
// settings have pulled it towards the pointer in the middle of the canvas. Each pass is closed with glFinish.
//
// The largest count takes seconds a pass with lines, so it runs fewer iterations.

#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <initializer_list>
#include <string>

#include "frame_bench_settings.h"
#include "headless_engine.h"
#include "particles/particle_system.h"
#include "platform/gl/gl_device.h"
#include "platform/window_message.h"

namespace lumeno {
namespace {

constexpr int kCloudFrames = 8; // frames that shape the cloud before timing

void Streaks(benchmark::State& state, LineDrawing drawing)
{
    const int n = static_cast<int>(state.range(0));
    bench::SetFrameSettings(n);
    if (state.range(1) != 0)
        CanvasSettingsRecord().format = static_cast<std::int32_t>(state.range(1));
    bench::HeadlessEngine headless(bench::kFrameCanvasWidth, bench::kFrameCanvasHeight);
    CRenderEngine* engine = headless.Engine();
    if (!engine) {
        state.SkipWithError(("no headless engine: " + headless.Error()).c_str());
        return;
    }
    engine->GetGlDevice()->SetLineDrawing(drawing);
    // The pointer in the middle, as lumeno-render has it: the cloud gathers there.
    WindowMessage move;
    move.message = WM_MOUSEMOVE;
    move.pointerX = bench::kFrameCanvasWidth / 2;
    move.pointerY = bench::kFrameCanvasHeight / 2;
    engine->HandleMessage(move);
    for (int i = 0; i < kCloudFrames; ++i) {
        engine->Render();
        glFinish();
    }
    CParticleSystem& particles = *engine->GetParticleSystem();
    for (auto _ : state) {
        particles.RenderParticles();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void StreakRuns(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Each count in each canvas format: 8-bit (21), half float (113) and float (116).
void CountsAndFormats(benchmark::internal::Benchmark* b, std::initializer_list<int> counts)
{
    b->ArgNames({"", "format"});
    for (const int count : counts)
        for (const std::int32_t format : CanvasFormats)
            b->Args({count, format});
}

BENCHMARK_CAPTURE(Streaks, Lines, LineDrawing::Driver)->Name("BM_Streaks/Lines")
    ->Apply([](auto* b) { CountsAndFormats(b, {20000, 1000000}); })->Iterations(10)->Apply(StreakRuns);
BENCHMARK_CAPTURE(Streaks, Fast, LineDrawing::Software)->Name("BM_Streaks/Fast")
    ->Apply([](auto* b) { CountsAndFormats(b, {20000, 1000000}); })->Iterations(10)->Apply(StreakRuns);
BENCHMARK_CAPTURE(Streaks, Lines, LineDrawing::Driver)->Name("BM_Streaks/Lines")
    ->Apply([](auto* b) { CountsAndFormats(b, {3375000}); })->Iterations(3)->Apply(StreakRuns);
BENCHMARK_CAPTURE(Streaks, Fast, LineDrawing::Software)->Name("BM_Streaks/Fast")
    ->Apply([](auto* b) { CountsAndFormats(b, {3375000}); })->Iterations(3)->Apply(StreakRuns);

} // namespace
} // namespace lumeno
