// Onsets, beats and loudness found by the analysis in sounds whose events are known.

#include <gtest/gtest.h>

#include <cmath>

#include "play/music_analysis.h"
#include "support/wav_file.h"

namespace lumeno {
namespace {

constexpr int kRate = 44100;

std::vector<float> AsFloat(const std::vector<std::int16_t>& samples)
{
    std::vector<float> out;
    for (const std::int16_t s : samples)
        out.push_back(s / 32768.0f);
    return out;
}

std::vector<MusicFrame> Analyse(const std::vector<float>& samples, int fps)
{
    std::vector<MusicFrame> frames;
    std::string error;
    EXPECT_TRUE(AnalyseMusic(samples, kRate, fps, MusicFrameCount(samples.size(), kRate, fps), &frames, &error))
        << error;
    return frames;
}

TEST(MusicAnalysis, FilmLastsAsLongAsTheSoundRoundedUpToAFrame)
{
    EXPECT_EQ(MusicFrameCount(44100, kRate, 60), 60);
    EXPECT_EQ(MusicFrameCount(44101, kRate, 60), 61);
    EXPECT_EQ(MusicFrameCount(1, kRate, 60), 1);
    EXPECT_EQ(MusicFrameCount(0, kRate, 60), 0);
    EXPECT_EQ(MusicFrameCount(3 * 44100 + 22050, kRate, 25), 88); // 3.5 s at 25: 87.5, rounded up
    EXPECT_EQ(MusicFrameCount(std::size_t{44100} * 3600 * 3, kRate, 1000), 3600 * 3 * 1000); // no overflow
}

TEST(MusicAnalysis, ClicksInSilenceAreOnsetsWithinOneFrameOfTheirTime)
{
    const std::vector<double> clicks{0.5, 1.1, 1.75, 2.3};
    for (const int fps : {30, 60}) {
        const std::vector<MusicFrame> frames = Analyse(AsFloat(test::SilenceWithClicks(3.0, kRate, clicks)), fps);
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(3 * fps));
        std::vector<int> onsets;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].onset)
                onsets.push_back(static_cast<int>(i));
        }
        ASSERT_EQ(onsets.size(), clicks.size()) << fps << " frames a second";
        for (std::size_t i = 0; i < clicks.size(); ++i) {
            const int expected = static_cast<int>(clicks[i] * fps);
            EXPECT_LE(std::abs(onsets[i] - expected), 1) << "click at " << clicks[i] << " s, " << fps << " fps";
            EXPECT_GT(frames[onsets[i]].onsetStrength, 0.5f); // equal clicks, equally strong
            // The loudness swells on the click's frame and has died down well before the next.
            EXPECT_GT(frames[expected].loudness, 0.5f);
            EXPECT_LT(frames[expected + fps * 4 / 10].loudness, 0.5f * frames[expected].loudness);
        }
    }
}

TEST(MusicAnalysis, SilenceHasNoEventsAndNoLoudness)
{
    const std::vector<MusicFrame> frames = Analyse(std::vector<float>(2 * kRate, 0.0f), 60);
    ASSERT_EQ(frames.size(), 120u);
    for (const MusicFrame& frame : frames) {
        EXPECT_EQ(frame.loudness, 0.0f);
        EXPECT_FALSE(frame.onset);
        EXPECT_EQ(frame.onsetStrength, 0.0f);
        EXPECT_FALSE(frame.beat);
    }
}

TEST(MusicAnalysis, SteadyPulseGivesBeatsAtItsTempoAndTheSameFramesEveryTime)
{
    // Eight seconds of clicks at 120 a minute: the tracker needs a few seconds to lock on.
    std::vector<double> clicks;
    for (double t = 0.25; t < 8.0; t += 0.5)
        clicks.push_back(t);
    const std::vector<float> samples = AsFloat(test::SilenceWithClicks(8.0, kRate, clicks));
    const std::vector<MusicFrame> frames = Analyse(samples, 60);
    std::vector<int> beats;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].beat)
            beats.push_back(static_cast<int>(i));
    }
    ASSERT_GE(beats.size(), 6u);
    // Once locked, beats come every half second (30 frames), give or take a frame.
    for (std::size_t i = beats.size() - 4; i < beats.size(); ++i)
        EXPECT_NEAR(beats[i] - beats[i - 1], 30, 1) << "beat " << i;

    const std::vector<MusicFrame> again = Analyse(samples, 60);
    ASSERT_EQ(again.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(again[i].loudness, frames[i].loudness) << i;
        EXPECT_EQ(again[i].onset, frames[i].onset) << i;
        EXPECT_EQ(again[i].onsetStrength, frames[i].onsetStrength) << i;
        EXPECT_EQ(again[i].beat, frames[i].beat) << i;
    }
}

} // namespace
} // namespace lumeno
