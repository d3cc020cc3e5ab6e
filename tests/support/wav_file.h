#pragma once
// Sound files made by the tests themselves: 16-bit PCM WAV, so every sample is known.

#include <cstdint>
#include <string>
#include <vector>

namespace lumeno::test {

// Writes `samples` (interleaved when channels > 1) as a 16-bit PCM WAV file.
void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate, int channels = 1);

// `seconds` of silence at `sampleRate` with a click starting at each of `clickSeconds`: a
// struck 2 kHz square wave that dies away over 150 ms (time constant 30 ms), as a drum
// does. Onset detectors confirm an onset some hops after it starts, and take a click that
// is already silent by then for silence.
std::vector<std::int16_t> SilenceWithClicks(double seconds, int sampleRate, const std::vector<double>& clickSeconds);

} // namespace lumeno::test
