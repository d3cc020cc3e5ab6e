// The window mapping with a `scale` that only a hand-edited settings file holds: the
// frame's destination rectangle must still be defined numbers.

#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "engine/canvas_mapping.h"

namespace lumeno {
namespace {

TEST(CanvasMappingLimits, ScaleOutsideIntRangeGivesIntMinAsX86DoesAndWithinItTruncatesTowardZero)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN(), kInf = std::numeric_limits<float>::infinity();
    const struct {
        float scale;
        int clientWidth, clientHeight;
        float x, y;
        int clientX, clientY;
    } cases[] = {{kNaN, 640, 480, 0, 0, INT_MIN, INT_MIN},   {kInf, 640, 480, 0, 0, INT_MIN, INT_MIN},
                 {-kInf, 640, 480, 0, 0, INT_MIN, INT_MIN},  {1e30f, 640, 480, 0, 0, INT_MIN, INT_MIN},
                 {-1e30f, 640, 480, 0, 0, INT_MIN, INT_MIN},
                 {2.5f, 100, 100, 0, 0, -30, -10}, // (0 − 32) × 2.5 + 50, (0 − 24) × 2.5 + 50
                 {2.5f, 100, 100, 64, 48, 130, 110}};
    for (const auto& c : cases) {
        const CanvasView view{64, 48, 0.75f, c.scale, c.clientWidth, c.clientHeight};
        int x = 0, y = 0;
        CanvasToClient(view, c.x, c.y, &x, &y);
        EXPECT_EQ(x, c.clientX) << c.scale;
        EXPECT_EQ(y, c.clientY) << c.scale;
    }
}

} // namespace
} // namespace lumeno
