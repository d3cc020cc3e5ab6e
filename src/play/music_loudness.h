#pragma once
// The loudness of each film frame: its RMS, smoothed so the picture swells with the music
// instead of flickering with every wave, and scaled so the piece's usual loud parts read 1.

#include <span>
#include <vector>

namespace lumeno {

// Rises within tens of milliseconds, so a hit shows on its own frame; falls over a third
// of a second, as a sound dies away.
inline constexpr double kLoudnessAttackSeconds = 0.03;
inline constexpr double kLoudnessReleaseSeconds = 0.3;
// The share of frames at or under the level that reads as 1: a single peak does not leave
// the rest of the piece dim, as scaling to the maximum would.
inline constexpr double kLoudnessReferenceShare = 0.95;
// Levels are measured against at least this RMS (-40 dBFS), so that near silence (noise,
// dither, a fade) stays near 0 instead of being scaled up to full loudness.
inline constexpr double kQuietestReferenceRms = 0.01;

// Root mean square of the samples of each frame; frame k holds the samples from
// floor(k * rate / fps) to floor((k + 1) * rate / fps), the last frame padded with silence.
std::vector<double> FrameRms(std::span<const float> samples, int sampleRate, int framesPerSecond, int frameCount);

// The RMS smoothed (attack and release above), scaled by the reference level and clamped
// to [0, 1]. All-silent input gives exactly 0 everywhere.
std::vector<float> NormalisedLoudness(std::span<const double> rms, int framesPerSecond);

} // namespace lumeno
