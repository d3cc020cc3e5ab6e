// The per-frame Update of an engine's particle system on a headless context, with its
// real vertex buffer but no drawing: what the user-interface thread spends on the step
// and the upload each frame. Plain: step, colour and upload in turn on this thread.
// Workers: the threaded pipeline, where the upload of each half overlaps stepping; an
// iteration is one step and one upload, so on a machine without other work it approaches
// the longer of the two, not their sum.

#include <epoxy/gl.h>

#include <benchmark/benchmark.h>

#include <string>

#include "frame_bench_settings.h"
#include "headless_engine.h"
#include "particles/particle_system.h"
#include "platform/gl/gl_surface.h"

namespace lumeno {
namespace {

void UpdateEngine(benchmark::State& state, bool threaded)
{
    const int n = static_cast<int>(state.range(0));
    bench::SetFrameSettings(n);
    CanvasSettingsRecord().width = 64; // no drawing: the canvas size does not matter
    CanvasSettingsRecord().height = 48;
    CanvasSettingsRecord().multiThreaded = threaded;
    bench::HeadlessEngine headless(64, 48);
    if (!headless.Engine()) {
        state.SkipWithError(("no headless engine: " + headless.Error()).c_str());
        return;
    }
    CParticleSystem& system = *headless.Engine()->GetParticleSystem();
    for (int i = 0; i < 3; ++i)
        system.Update();
    for (auto _ : state)
        system.Update();
    system.WaitForStep();
    glFinish();
    state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK_CAPTURE(UpdateEngine, Plain, false)
    ->Name("BM_Update/Plain")
    ->Arg(20000)
    ->Arg(1000000)
    ->Arg(3375000)
    ->Apply(bench::RepeatedRuns);
BENCHMARK_CAPTURE(UpdateEngine, Workers, true)
    ->Name("BM_Update/Workers")
    ->Arg(20000)
    ->Arg(1000000)
    ->Arg(3375000)
    ->Apply(bench::RepeatedRuns);

} // namespace
} // namespace lumeno
