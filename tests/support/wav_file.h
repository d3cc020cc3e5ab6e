#pragma once
// Sound files made by the tests themselves: 16-bit PCM WAV, so every sample is known.

#include <cstdint>
#include <string>
#include <vector>

namespace lumeno::test {

// Writes `samples` (interleaved when channels > 1) as a 16-bit PCM WAV file.
void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate, int channels = 1);

// `seconds` of silence at `sampleRate` with a click (a 2 ms burst of a loud 2 kHz square
// wave) starting at each of `clickSeconds`.
std::vector<std::int16_t> SilenceWithClicks(double seconds, int sampleRate, const std::vector<double>& clickSeconds);

} // namespace lumeno::test
