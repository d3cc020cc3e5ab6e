// The audio decoder through the real ffmpeg: exact samples from a file of known ones, and
// the sentences for files that cannot be read or decoded and for a missing ffmpeg.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "platform/audio_decoding.h"
#include "support/temp_folder.h"
#include "support/wav_file.h"

namespace lumeno {
namespace {

TEST(AudioDecoding, MonoWavAtTheDecodedRateComesBackSampleForSample)
{
    test::TempFolder folder;
    const std::vector<std::int16_t> written{0, 16384, -16384, 32767, -32768, 1, -1, 8192};
    test::WriteWav(folder.File("known.wav"), written, kDecodedSampleRate);
    std::vector<float> samples;
    std::string error;
    ASSERT_TRUE(DecodeAudioFile(folder.File("known.wav"), &samples, &error)) << error;
    ASSERT_EQ(samples.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i)
        EXPECT_EQ(samples[i], written[i] / 32768.0f) << "sample " << i;
}

TEST(AudioDecoding, StereoAtAnotherRateBecomesMonoAtTheDecodedRate)
{
    test::TempFolder folder;
    // One second of stereo at 22050 Hz, both channels at a quarter of full scale.
    test::WriteWav(folder.File("stereo.wav"), std::vector<std::int16_t>(2 * 22050, 8192), 22050, 2);
    std::vector<float> samples;
    std::string error;
    ASSERT_TRUE(DecodeAudioFile(folder.File("stereo.wav"), &samples, &error)) << error;
    EXPECT_EQ(samples.size(), static_cast<std::size_t>(kDecodedSampleRate));
    // ffmpeg's down-mix adds the channels at -3 dB each: loud as the stereo sounds, not
    // their average; the analysis normalises loudness, so either would do.
    EXPECT_NEAR(samples[kDecodedSampleRate / 2], 0.5f * std::sqrt(0.5f), 1e-3f);
}

TEST(AudioDecoding, FilesThatCannotBeDecodedAreNamedWithTheReason)
{
    test::TempFolder folder;
    std::ofstream(folder.File("notes.wav")) << "this is not a sound\n";
    test::WriteWav(folder.File("empty.wav"), {}, kDecodedSampleRate);
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {folder.File("absent.wav"), "cannot read the audio file " + folder.File("absent.wav") +
                                        ": No such file or directory"},
        {folder.File("notes.wav"), "cannot decode the audio file " + folder.File("notes.wav") +
                                       ": Invalid data found when processing input"},
        {folder.File("empty.wav"), "cannot decode the audio file " + folder.File("empty.wav") + ": it holds no sound"},
    };
    for (const auto& c : cases) {
        std::vector<float> samples;
        std::string error;
        EXPECT_FALSE(DecodeAudioFile(c.path, &samples, &error)) << c.path;
        EXPECT_EQ(error, c.message);
    }
}

TEST(AudioDecoding, MissingFfmpegIsNamed)
{
    test::TempFolder folder;
    test::WriteWav(folder.File("a.wav"), {0, 0, 0}, kDecodedSampleRate);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", folder.Path().c_str(), 1);
    std::vector<float> samples;
    std::string error;
    const bool decoded = DecodeAudioFile(folder.File("a.wav"), &samples, &error);
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_FALSE(decoded);
    EXPECT_EQ(error, "cannot decode the audio file " + folder.File("a.wav") +
                         ": ffmpeg was not found on PATH (on Debian: apt-get install ffmpeg)");
}

} // namespace
} // namespace lumeno
