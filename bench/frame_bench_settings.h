#pragma once
// What both frame benchmarks draw, so that the engine and the bare GL loop do the same
// work: a 1024 x 768 float32 canvas (the largest count's usual canvas), the default
// settings with fading on, one single-threaded step and the upload each frame.
//
// On llvmpipe (two cores) a frame costs about 33 ms at 20,000 particles, most of it the
// fade and scene passes over the 1024 x 768 float canvas, and about 0.8 s at 1,000,000,
// most of it the antialiased lines: the frame benchmarks run a fixed, small number of
// iterations (kFrameIterations, three repetitions) so that both counts together take
// about two minutes. 3,375,000 would add about 3 s a frame and is left to lumeno-render.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno::bench {

inline constexpr int kFrameCanvasWidth = 1024;
inline constexpr int kFrameCanvasHeight = 768;
inline constexpr int kFrameIterations = 12;
// Frames drawn before timing starts. llvmpipe compiles shader variants lazily, for the
// states and primitives a draw first meets: measured with perf, the engine's first three
// frames each spend 30 to 300 ms in LLVM (the first lines reach the rasteriser only
// after the first upload), and a frame is steady from the fourth on.
inline constexpr int kFrameWarmUpFrames = 3;
// Below 0.99999, so the fade pass runs every frame, as it does in most pictures.
inline constexpr float kFrameFadeOutRatio = 0.99f;

// Repetitions report their minimum beside the library's mean and median: on a shared
// machine the minimum is the figure least disturbed by other work.
inline double MinimumOf(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// Repeated runs in milliseconds of wall time, with the minimum.
inline void RepeatedRuns(benchmark::internal::Benchmark* b)
{
    b->Repetitions(3)->ComputeStatistics("min", MinimumOf)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// The frame benchmarks' counts and fixed iterations.
inline void FrameRuns(benchmark::internal::Benchmark* b)
{
    RepeatedRuns(b->Arg(20000)->Arg(1000000)->Iterations(kFrameIterations));
}

inline void SetFrameSettings(int particleCount)
{
    CanvasSettingsRecord().SetDefaults();
    g_particleSettings.SetDefaults();
    CanvasSettingsRecord().width = kFrameCanvasWidth;
    CanvasSettingsRecord().height = kFrameCanvasHeight;
    CanvasSettingsRecord().format = kFormatRGBA32F;
    CanvasSettingsRecord().particleCount = particleCount;
    CanvasSettingsRecord().multiThreaded = false;
    g_particleSettings.fadeOutRatio = kFrameFadeOutRatio;
}

} // namespace lumeno::bench
