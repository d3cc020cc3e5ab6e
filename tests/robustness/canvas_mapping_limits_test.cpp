// The window mapping with a `scale` that only a hand-edited settings file holds: the
// frame's destination rectangle must still be defined numbers.

#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "engine/canvas_mapping.h"

namespace lumeno {
namespace {

TEST(CanvasMappingLimits, ScaleOutsideIntRangeGivesIntMinAsX86Does)
{
    for (float scale : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity(), 1e30f, -1e30f}) {
        const CanvasView view{64, 48, 0.75f, scale, 640, 480};
        int x = 0, y = 0;
        CanvasToClient(view, 0.0f, 0.0f, &x, &y);
        EXPECT_EQ(x, INT_MIN) << scale;
        EXPECT_EQ(y, INT_MIN) << scale;
    }
}

TEST(CanvasMappingLimits, ScaleWithinRangeStillTruncatesTowardZero)
{
    const CanvasView view{64, 48, 0.75f, 2.5f, 100, 100};
    int x = 0, y = 0;
    CanvasToClient(view, 0.0f, 0.0f, &x, &y);
    EXPECT_EQ(x, -30); // (0 − 32) × 2.5 + 50
    EXPECT_EQ(y, -10); // (0 − 24) × 2.5 + 50
    CanvasToClient(view, 64.0f, 48.0f, &x, &y);
    EXPECT_EQ(x, 130);
    EXPECT_EQ(y, 110);
}

} // namespace
} // namespace lumeno
