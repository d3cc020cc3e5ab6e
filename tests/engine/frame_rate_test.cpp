#include <gtest/gtest.h>

#include <cmath>

#include "engine/frame_rate.h"

namespace lumeno {
namespace {

TEST(FrameRate, FirstBlockHoldsSixSamplesThenBlocksOfFive)
{
    FrameRateAverage average;
    float shown = 0.0f;
    for (int update = 1; update <= 5; ++update) {
        shown = average.AddSample(20, shown);
        EXPECT_EQ(shown, 0.0f) << "update " << update;
    }
    shown = average.AddSample(20, shown);
    EXPECT_NEAR(shown, 60.0f, 1e-3f);
    for (int update = 7; update <= 10; ++update) {
        shown = average.AddSample(20, shown);
        EXPECT_NEAR(shown, 60.0f, 1e-3f);
    }
    shown = average.AddSample(20, shown);
    EXPECT_NEAR(shown, 50.0f, 1e-3f);
}

TEST(FrameRate, ZeroIntervalNeverShowsAnInfiniteRate)
{
    FrameRateAverage average;
    float shown = 0.0f;
    for (int update = 0; update < 11; ++update)
        shown = average.AddSample(0, shown);
    EXPECT_TRUE(std::isfinite(shown));
    EXPECT_NEAR(shown, 1000.0f, 1e-2f);
}

} // namespace
} // namespace lumeno
