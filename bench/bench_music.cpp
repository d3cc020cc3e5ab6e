// The music's analysis: ten seconds of a synthetic beat (a decaying bass note every half
// second, a tick between) analysed whole, reported per film frame at 60 frames a second.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/audio_decoding.h"
#include "play/music_analysis.h"

namespace lumeno {
namespace {

constexpr int kFramesPerSecond = 60;

std::vector<float> SyntheticBeat(double seconds)
{
    std::vector<float> samples(static_cast<std::size_t>(seconds * kDecodedSampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / kDecodedSampleRate;
        const double beat = std::fmod(t, 0.5), tick = std::fmod(t + 0.25, 0.5);
        samples[i] = static_cast<float>(0.8 * std::sin(2 * M_PI * 55 * t) * std::exp(-10 * beat) +
                                        0.3 * std::sin(2 * M_PI * 880 * t) * std::exp(-25 * tick));
    }
    return samples;
}

void AnalysePerFrame(benchmark::State& state)
{
    const std::vector<float> samples = SyntheticBeat(10.0);
    const int frames = MusicFrameCount(samples.size(), kDecodedSampleRate, kFramesPerSecond);
    std::vector<MusicFrame> music;
    std::string error;
    for (auto _ : state) {
        if (!AnalyseMusic(samples, kDecodedSampleRate, kFramesPerSecond, frames, &music, &error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(music.data());
    }
    // Items are film frames: the time per item is the analysis cost of one frame.
    state.SetItemsProcessed(state.iterations() * frames);
    state.counters["us_per_frame"] = benchmark::Counter(static_cast<double>(state.iterations() * frames),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                        benchmark::Counter::kIs1000);
}

BENCHMARK(AnalysePerFrame)->Name("BM_Music/AnalyseTenSeconds")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumeno
