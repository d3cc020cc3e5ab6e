#pragma once
// A piece of music turned into one MusicFrame per film frame, all at once before the film
// starts: loudness from the samples' RMS, onsets and beats from aubio's onset detector
// and tempo tracker. Deterministic: the same samples give the same frames.

#include <span>
#include <string>
#include <vector>

#include "play/music_frame.h"

namespace lumeno {

// Frames a film at `framesPerSecond` needs to last as long as the sound: ceil(duration x fps).
int MusicFrameCount(std::size_t sampleCount, int sampleRate, int framesPerSecond);

// aubio's window and hop: 1024 samples (23 ms at 44.1 kHz) resolve a bass note's period;
// a hop of 512 (11.6 ms) places onsets closer than a frame at 60 frames a second.
inline constexpr unsigned kAnalysisWindow = 1024;
inline constexpr unsigned kAnalysisHop = 512;

// One frame for each of `frameCount` film frames. False with a sentence when aubio
// refuses its objects (never for the rates we decode to).
[[nodiscard]] bool AnalyseMusic(std::span<const float> samples, int sampleRate, int framesPerSecond, int frameCount,
                                std::vector<MusicFrame>* frames, std::string* error);

} // namespace lumeno
