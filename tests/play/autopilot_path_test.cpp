// The autopilot's path: on the canvas, smooth, varied and the same for the same seed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "play/autopilot_path.h"

namespace lumeno {
namespace {

constexpr double kFrame = 1.0 / 60.0;

struct Canvas {
    int width;
    int height;
};

TEST(AutopilotPath, StaysInsideTheCanvasForAnHourWithoutJumpsAndReplaysFromItsSeed)
{
    const std::uint64_t seeds[] = {1, 2, 7, 123456789, std::numeric_limits<std::uint64_t>::max()};
    for (const Canvas canvas : {Canvas{1024, 768}, Canvas{300, 900}, Canvas{64, 48}}) {
        const float side = static_cast<float>(std::min(canvas.width, canvas.height));
        const float margin = 0.08f * side; // the path keeps 8% of the short side from every edge
        for (const std::uint64_t seed : seeds) {
            AutopilotPath path(seed, canvas.width, canvas.height);
            AutopilotPath again(seed, canvas.width, canvas.height);
            CanvasPoint last = path.At(0.0);
            EXPECT_FLOAT_EQ(last.x, canvas.width / 2.0f) << "it starts in the middle";
            EXPECT_FLOAT_EQ(last.y, canvas.height / 2.0f);
            float longestStep = 0.0f;
            for (int frame = 1; frame <= 60 * 3600; ++frame) {
                const CanvasPoint p = path.At(frame * kFrame);
                ASSERT_TRUE(p.x >= margin - 0.01f && p.x <= canvas.width - margin + 0.01f &&
                            p.y >= margin - 0.01f && p.y <= canvas.height - margin + 0.01f)
                    << "seed " << seed << " on " << canvas.width << "x" << canvas.height << " at frame " << frame
                    << ": " << p.x << ", " << p.y;
                longestStep = std::max(longestStep, std::hypot(p.x - last.x, p.y - last.y));
                last = p;
                if (frame % 97 == 0) {
                    const CanvasPoint q = again.At(frame * kFrame);
                    ASSERT_EQ(p.x, q.x) << "seed " << seed << " frame " << frame;
                    ASSERT_EQ(p.y, q.y);
                }
            }
            // The fastest gesture, a long arc in under a second, eased: about 3.5 sides a
            // second at its peak; a frame moves a sixteenth of the canvas at most.
            EXPECT_LT(longestStep, side / 16.0f) << "seed " << seed;
        }
    }
    AutopilotPath one(1, 1024, 768), other(2, 1024, 768);
    int differing = 0;
    for (int second = 1; second <= 60; ++second) {
        const CanvasPoint p = one.At(second), q = other.At(second);
        differing += p.x != q.x || p.y != q.y;
    }
    EXPECT_GE(differing, 55) << "another seed, another path";
}

TEST(AutopilotPath, ShowsEveryGestureAndStillMomentsSurprisesNowAndThenAndDoesNotRepeatItself)
{
    for (const std::uint64_t seed : {1ull, 99ull, 2024ull}) {
        AutopilotPath path(seed, 1024, 768);
        std::set<GestureKind> kinds;
        double stillSeconds = 0.0;
        for (int frame = 0; frame < 60 * 600; ++frame) {
            const GestureKind kind = path.KindAt(frame * kFrame);
            kinds.insert(kind);
            stillSeconds += kind == GestureKind::Still ? kFrame : 0.0;
        }
        EXPECT_EQ(kinds.size(), 4u) << "seed " << seed;
        EXPECT_GT(stillSeconds, 20.0) << "still moments, seed " << seed;
        EXPECT_LT(stillSeconds, 150.0) << "but mostly moving, seed " << seed;

        AutopilotPath replay(seed, 1024, 768);
        AutopilotPath alongside(seed, 1024, 768);
        std::vector<double> reemits;
        int colour = 3;
        int colourChanges = 0;
        for (int second = 0; second < 600; ++second) {
            for (const GestureStart& start : replay.StartsBetween(second, second + 1.0)) {
                EXPECT_GT(start.seconds, second);
                EXPECT_LE(start.seconds, second + 1.0);
                const CanvasPoint at = alongside.At(start.seconds);
                EXPECT_NEAR(start.at.x, at.x, 1e-3) << "a gesture starts where the path is";
                EXPECT_NEAR(start.at.y, at.y, 1e-3);
                if (start.reemits)
                    reemits.push_back(start.seconds);
                if (start.colourSlot >= 0) {
                    EXPECT_NE(start.colourSlot, colour) << "a colour change changes the colour";
                    EXPECT_LT(start.colourSlot, 4);
                    colour = start.colourSlot;
                    ++colourChanges;
                }
            }
        }
        ASSERT_FALSE(reemits.empty());
        EXPECT_GE(reemits.front(), 12.0) << "the cloud gathers first";
        for (std::size_t i = 1; i < reemits.size(); ++i) {
            EXPECT_GE(reemits[i] - reemits[i - 1], 20.0) << "seed " << seed;
            EXPECT_LE(reemits[i] - reemits[i - 1], 55.0) << "seed " << seed;
        }
        EXPECT_GE(colourChanges, 7) << "seed " << seed;
        EXPECT_LE(colourChanges, 20) << "seed " << seed;

        // No ten seconds of the path come back within ten minutes: any two stretches
        // half a minute or more apart differ by more than a pixel somewhere.
        AutopilotPath sampled(seed, 1024, 768);
        std::vector<CanvasPoint> samples;
        for (int half = 0; half < 1200; ++half)
            samples.push_back(sampled.At(half * 0.5));
        const int window = 20, apart = 60;
        for (int i = 0; i + window < 1200; i += 2) {
            for (int j = i + apart; j + window < 1200; j += 2) {
                float farthest = 0.0f;
                for (int k = 0; k < window && farthest <= 1.0f; ++k)
                    farthest = std::max(farthest, std::hypot(samples[i + k].x - samples[j + k].x,
                                                             samples[i + k].y - samples[j + k].y));
                ASSERT_GT(farthest, 1.0f) << "seed " << seed << ": " << i * 0.5 << " s and " << j * 0.5 << " s";
            }
        }
    }
}

TEST(AutopilotPath, TimesBeforeTheOldestKeptGestureStandAtItsStart)
{
    AutopilotPath path(5, 640, 480);
    const CanvasPoint late = path.At(7200.0);
    EXPECT_TRUE(std::isfinite(late.x) && std::isfinite(late.y));
    const CanvasPoint early = path.At(0.0);
    EXPECT_TRUE(std::isfinite(early.x) && std::isfinite(early.y));
    EXPECT_TRUE(path.StartsBetween(0.0, 10.0).empty()) << "forgotten gestures start no more";
}

} // namespace
} // namespace lumeno
