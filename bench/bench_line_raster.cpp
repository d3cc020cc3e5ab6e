// The processor's line rasteriser alone, without a context: a million streaks of the
// length a cloud of a million particles draws after a second (12 pixels on average, at
// every angle), gathered round the middle of a 1024 x 768 target, in the order of the
// particle array (no order on the canvas). BM_LineRaster/Threads/N draws them on N threads.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/gl/line_raster.h"

namespace lumeno {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kLines = 1000000;

std::vector<CapturedVertex> Streaks()
{
    std::vector<CapturedVertex> vertices;
    vertices.reserve(std::size_t{kLines} * 2);
    std::mt19937 random(5);
    std::normal_distribution<float> spreadX(kWidth / 2.0f, kWidth / 6.0f), spreadY(kHeight / 2.0f, kHeight / 6.0f);
    std::uniform_real_distribution<float> angle(0.0f, 6.2831853f), length(2.0f, 22.0f), alpha(0.02f, 0.2f);
    for (int i = 0; i < kLines; ++i) {
        const float x = spreadX(random), y = spreadY(random), a = angle(random), l = length(random);
        const float colour = alpha(random);
        vertices.push_back({x, y, 0.0f, 1.0f, 0.9f, 0.6f, 0.3f, colour});
        vertices.push_back({x + l * std::cos(a), y + l * std::sin(a), 0.0f, 1.0f, 0.9f, 0.6f, 0.3f, colour});
    }
    return vertices;
}

void LineRasterThreads(benchmark::State& state)
{
    static const std::vector<CapturedVertex> vertices = Streaks();
    std::vector<float> light(LineRaster::LightFloats(kWidth, kHeight));
    LineRaster raster(static_cast<int>(state.range(0)));
    raster.Attach(light.data(), kWidth, kHeight);
    // As the device hands them over: a million vertices at a time.
    const std::span<const CapturedVertex> all(vertices);
    for (auto _ : state) {
        raster.Begin();
        raster.Add(all.first(all.size() / 2));
        raster.Add(all.subspan(all.size() / 2));
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}

BENCHMARK(LineRasterThreads)->Name("BM_LineRaster/Threads")->Arg(1)->Arg(2)->Iterations(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace lumeno
