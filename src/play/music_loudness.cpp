#include "play/music_loudness.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lumeno {

std::vector<double> FrameRms(std::span<const float> samples, int sampleRate, int framesPerSecond, int frameCount)
{
    std::vector<double> rms(static_cast<std::size_t>(frameCount), 0.0);
    const auto bound = [&](int frame) {
        return static_cast<std::size_t>(static_cast<std::int64_t>(frame) * sampleRate / framesPerSecond);
    };
    for (int frame = 0; frame < frameCount; ++frame) {
        const std::size_t first = bound(frame), end = bound(frame + 1);
        double sum = 0.0;
        for (std::size_t i = first; i < end && i < samples.size(); ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        rms[frame] = end > first ? std::sqrt(sum / static_cast<double>(end - first)) : 0.0;
    }
    return rms;
}

std::vector<float> NormalisedLoudness(std::span<const double> rms, int framesPerSecond)
{
    const double frameSeconds = 1.0 / framesPerSecond;
    const double attack = 1.0 - std::exp(-frameSeconds / kLoudnessAttackSeconds);
    const double release = 1.0 - std::exp(-frameSeconds / kLoudnessReleaseSeconds);
    std::vector<double> smoothed(rms.size());
    double level = 0.0;
    for (std::size_t i = 0; i < rms.size(); ++i) {
        level += (rms[i] > level ? attack : release) * (rms[i] - level);
        smoothed[i] = level;
    }
    double reference = kQuietestReferenceRms;
    if (!smoothed.empty()) {
        std::vector<double> sorted = smoothed;
        const auto at = static_cast<std::size_t>(kLoudnessReferenceShare * static_cast<double>(sorted.size() - 1));
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(at), sorted.end());
        reference = std::max(reference, sorted[at]);
    }
    std::vector<float> loudness(smoothed.size());
    for (std::size_t i = 0; i < smoothed.size(); ++i)
        loudness[i] = static_cast<float>(std::min(1.0, smoothed[i] / reference));
    return loudness;
}

} // namespace lumeno
