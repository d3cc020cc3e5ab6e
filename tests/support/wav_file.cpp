#include "support/wav_file.h"

#include <cmath>
#include <fstream>

namespace lumeno::test {
namespace {

void Put(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate, int channels)
{
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    Put(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    Put(out, 16, 4);                                           // the format chunk's size
    Put(out, 1, 2);                                            // PCM
    Put(out, static_cast<std::uint32_t>(channels), 2);
    Put(out, static_cast<std::uint32_t>(sampleRate), 4);
    Put(out, static_cast<std::uint32_t>(sampleRate * channels * 2), 4); // bytes a second
    Put(out, static_cast<std::uint32_t>(channels * 2), 2);     // bytes a sample frame
    Put(out, 16, 2);                                           // bits a sample
    out.write("data", 4);
    Put(out, dataBytes, 4);
    for (const std::int16_t sample : samples)
        Put(out, static_cast<std::uint16_t>(sample), 2);
}

std::vector<std::int16_t> SilenceWithClicks(double seconds, int sampleRate, const std::vector<double>& clickSeconds)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * sampleRate), 0);
    const int clickLength = sampleRate * 15 / 100;
    const int halfPeriod = sampleRate / 4000;
    for (const double at : clickSeconds) {
        const auto first = static_cast<std::size_t>(at * sampleRate);
        for (int i = 0; i < clickLength && first + i < samples.size(); ++i) {
            const double envelope = 24000.0 * std::exp(-i / (0.03 * sampleRate));
            samples[first + i] = static_cast<std::int16_t>((i / halfPeriod) % 2 == 0 ? envelope : -envelope);
        }
    }
    return samples;
}

} // namespace lumeno::test
