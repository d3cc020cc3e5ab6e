#include "play/music_analysis.h"

#include <algorithm>
#include <cstdint>

#include "play/aubio_objects.h"
#include "play/music_loudness.h"

namespace lumeno {
namespace {

// The film frame in which a sample falls; -1 past the film's end.
int FrameOfSample(std::uint64_t sample, int sampleRate, int framesPerSecond, int frameCount)
{
    const std::uint64_t frame = sample * static_cast<std::uint64_t>(framesPerSecond) / static_cast<std::uint64_t>(sampleRate);
    return frame < static_cast<std::uint64_t>(frameCount) ? static_cast<int>(frame) : -1;
}

// Onset strengths as shares of the strongest, so that a mapping's thresholds mean the same
// for a quiet recording and a loud one.
void NormaliseOnsetStrengths(std::vector<MusicFrame>* frames)
{
    float strongest = 0.0f;
    for (const MusicFrame& frame : *frames)
        strongest = std::max(strongest, frame.onsetStrength);
    if (strongest <= 0.0f)
        return;
    for (MusicFrame& frame : *frames)
        frame.onsetStrength = frame.onset ? std::clamp(frame.onsetStrength / strongest, 0.0f, 1.0f) : 0.0f;
}

} // namespace

int MusicFrameCount(std::size_t sampleCount, int sampleRate, int framesPerSecond)
{
    const auto rate = static_cast<std::uint64_t>(sampleRate);
    return static_cast<int>((static_cast<std::uint64_t>(sampleCount) * static_cast<std::uint64_t>(framesPerSecond) +
                             rate - 1) / rate);
}

bool AnalyseMusic(std::span<const float> samples, int sampleRate, int framesPerSecond, int frameCount,
                  std::vector<MusicFrame>* frames, std::string* error)
{
    const auto rate = static_cast<uint_t>(sampleRate);
    AubioOnset onset(new_aubio_onset("default", kAnalysisWindow, kAnalysisHop, rate));
    AubioTempo tempo(new_aubio_tempo("default", kAnalysisWindow, kAnalysisHop, rate));
    AubioVector hop(new_fvec(kAnalysisHop)), onsetOut(new_fvec(1)), tempoOut(new_fvec(1));
    if (!onset || !tempo || !hop || !onsetOut || !tempoOut) {
        *error = "the music cannot be analysed: aubio refused a rate of " + std::to_string(sampleRate) + " Hz";
        return false;
    }
    frames->assign(static_cast<std::size_t>(frameCount), MusicFrame{});
    const std::vector<float> loudness =
        NormalisedLoudness(FrameRms(samples, sampleRate, framesPerSecond, frameCount), framesPerSecond);
    for (int i = 0; i < frameCount; ++i)
        (*frames)[i].loudness = loudness[i];

    // The last hop is padded with silence; aubio reports each event some hops late, but
    // at the sample where it began.
    for (std::size_t start = 0; start < samples.size(); start += kAnalysisHop) {
        const std::size_t count = std::min<std::size_t>(kAnalysisHop, samples.size() - start);
        std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(start), count, hop->data);
        std::fill(hop->data + count, hop->data + kAnalysisHop, 0.0f);
        aubio_onset_do(onset.get(), hop.get(), onsetOut.get());
        if (onsetOut->data[0] != 0) {
            const int at = FrameOfSample(aubio_onset_get_last(onset.get()), sampleRate, framesPerSecond, frameCount);
            if (at >= 0) {
                (*frames)[at].onset = true;
                (*frames)[at].onsetStrength = std::max((*frames)[at].onsetStrength, aubio_onset_get_descriptor(onset.get()));
            }
        }
        aubio_tempo_do(tempo.get(), hop.get(), tempoOut.get());
        if (tempoOut->data[0] != 0) {
            const int at = FrameOfSample(aubio_tempo_get_last(tempo.get()), sampleRate, framesPerSecond, frameCount);
            if (at >= 0)
                (*frames)[at].beat = true;
        }
    }
    NormaliseOnsetStrengths(frames);
    return true;
}

} // namespace lumeno
