// The per-frame loudness: which samples a frame holds, how fast it rises and falls, and
// what reads as full loudness.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "play/music_loudness.h"

namespace lumeno {
namespace {

TEST(MusicLoudness, FrameRmsTakesTheSamplesOfItsOwnSpanOfTime)
{
    // 10 samples a second at 4 frames a second: frames hold samples 0-1, 2-4, 5-6, 7-9.
    const std::vector<float> samples{1, 1, 2, 2, 2, -3, 3, 4, 4, 4};
    const std::vector<double> rms = FrameRms(samples, 10, 4, 5);
    ASSERT_EQ(rms.size(), 5u);
    EXPECT_DOUBLE_EQ(rms[0], 1.0);
    EXPECT_DOUBLE_EQ(rms[1], 2.0);
    EXPECT_DOUBLE_EQ(rms[2], 3.0);
    EXPECT_DOUBLE_EQ(rms[3], 4.0);
    EXPECT_DOUBLE_EQ(rms[4], 0.0); // past the end: silence
}

TEST(MusicLoudness, RisesFastFallsSlowlyAndReadsOneAtTheUsualLoudLevel)
{
    // Twenty frames at RMS 0.5, then silence, at 60 frames a second.
    std::vector<double> rms(40, 0.0);
    std::fill(rms.begin(), rms.begin() + 20, 0.5);
    const std::vector<float> loudness = NormalisedLoudness(rms, 60);
    const double attack = 1.0 - std::exp(-1.0 / 60 / kLoudnessAttackSeconds);
    const double release = 1.0 - std::exp(-1.0 / 60 / kLoudnessReleaseSeconds);
    // The reference is the level under which 95 % of frames lie: here the loud plateau's top.
    double level = 0.0;
    std::vector<double> smoothed;
    for (const double r : rms) {
        level += (r > level ? attack : release) * (r - level);
        smoothed.push_back(level);
    }
    std::vector<double> sorted = smoothed;
    std::sort(sorted.begin(), sorted.end());
    const double reference = sorted[static_cast<std::size_t>(0.95 * 39)];
    for (std::size_t i = 0; i < rms.size(); ++i)
        EXPECT_EQ(loudness[i], static_cast<float>(std::min(1.0, smoothed[i] / reference))) << "frame " << i;
    EXPECT_GT(loudness[1], 0.6f);  // two thirds of full within two frames
    EXPECT_EQ(loudness[19], 1.0f);
    EXPECT_GT(loudness[25], 0.65f); // a tenth of a second after the end, still mostly there
    EXPECT_LT(loudness[39], 0.35f);
}

TEST(MusicLoudness, NearSilenceStaysNearZeroAndSilenceIsExactlyZero)
{
    EXPECT_EQ(NormalisedLoudness(std::vector<double>(30, 0.0), 60), std::vector<float>(30, 0.0f));
    // Dither at -70 dBFS is measured against -40 dBFS, not scaled up to full loudness.
    const std::vector<float> dither = NormalisedLoudness(std::vector<double>(60, 0.0003), 60);
    EXPECT_NEAR(dither.back(), 0.03f, 1e-4f);
}

} // namespace
} // namespace lumeno
