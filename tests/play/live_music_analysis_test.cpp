// Music analysed as it comes: the same clicks found on the frames that hear them, however
// the samples are cut into pieces; silence reads as nothing.

#include <gtest/gtest.h>

#include "play/live_music_analysis.h"
#include "support/wav_file.h"

namespace lumeno {
namespace {

constexpr int kRate = 44100;
constexpr int kFps = 100; // the window's frame timer

// The frames (from 0) with an onset, the samples fed in pieces of `piece` before each frame.
std::vector<MusicFrame> Listen(const std::vector<float>& samples, std::size_t piece)
{
    LiveMusicAnalyser analyser(kRate);
    EXPECT_TRUE(analyser.IsValid());
    std::vector<MusicFrame> frames;
    const std::size_t perFrame = kRate / kFps;
    for (std::size_t start = 0; start + perFrame <= samples.size(); start += perFrame) {
        for (std::size_t at = start; at < start + perFrame; at += piece)
            analyser.Feed(std::span(samples).subspan(at, std::min(piece, start + perFrame - at)));
        frames.push_back(analyser.TakeFrame(1.0 / kFps));
    }
    return frames;
}

TEST(LiveMusicAnalysis, ClicksAreHeardWithinAubiosDelayWhateverThePieces)
{
    const std::vector<double> clicks{0.5, 1.2, 2.0};
    std::vector<float> samples;
    for (const std::int16_t s : test::SilenceWithClicks(2.5, kRate, clicks))
        samples.push_back(s / 32768.0f);
    std::vector<int> reference;
    for (const std::size_t piece : {std::size_t{441}, std::size_t{97}, std::size_t{4096}}) {
        const std::vector<MusicFrame> frames = Listen(samples, piece);
        std::vector<int> onsets;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].onset)
                onsets.push_back(static_cast<int>(i));
        }
        ASSERT_EQ(onsets.size(), clicks.size()) << "pieces of " << piece;
        for (std::size_t i = 0; i < clicks.size(); ++i) {
            // Heard live, an onset comes with aubio's delay: a few hops of 11.6 ms.
            const int at = static_cast<int>(clicks[i] * kFps);
            EXPECT_GE(onsets[i], at) << clicks[i];
            EXPECT_LE(onsets[i], at + 8) << clicks[i];
            EXPECT_GT(frames[at + 1].loudness, 0.5f) << clicks[i];
        }
        // Pieces of any size are the same sound.
        if (reference.empty())
            reference = onsets;
        EXPECT_EQ(onsets, reference) << "pieces of " << piece;
    }
}

TEST(LiveMusicAnalysis, SilenceAndNothingHeardAreNoMusic)
{
    LiveMusicAnalyser analyser(kRate);
    const std::vector<float> silence(kRate / kFps, 0.0f);
    for (int i = 0; i < 50; ++i) {
        if (i % 2 == 0)
            analyser.Feed(silence); // every other frame hears nothing at all
        const MusicFrame frame = analyser.TakeFrame(1.0 / kFps);
        EXPECT_EQ(frame.loudness, 0.0f);
        EXPECT_FALSE(frame.onset);
        EXPECT_FALSE(frame.beat);
    }
}

} // namespace
} // namespace lumeno
