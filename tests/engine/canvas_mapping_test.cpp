#include <gtest/gtest.h>

#include "engine/canvas_mapping.h"

namespace lumeno {
namespace {

TEST(CanvasMapping, CanvasIsCentredAndScaledInTheClientArea)
{
    int left, top, right, bottom;
    const CanvasView same{1024, 768, 0.75f, 1.0f, 1024, 768};
    CanvasToClient(same, 0, 0, &left, &top);
    CanvasToClient(same, 1024, 768, &right, &bottom);
    EXPECT_EQ((std::array{left, top, right, bottom}), (std::array{0, 0, 1024, 768}));

    const CanvasView zoomed{1024, 768, 0.75f, 2.0f, 1280, 1024};
    CanvasToClient(zoomed, 0, 0, &left, &top);
    CanvasToClient(zoomed, 1024, 768, &right, &bottom);
    EXPECT_EQ((std::array{left, top, right, bottom}), (std::array{-384, -256, 1664, 1280}));
}

TEST(CanvasMapping, PointerDividesTheHorizontalDistanceByTheAspect)
{
    const CanvasView view{1024, 768, 0.75f, 1.0f, 1024, 768};
    float x, y;
    ClientToCanvas(view, 1024, 384, &x, &y);
    EXPECT_NEAR(x, 1194.6667f, 1e-3f);
    EXPECT_EQ(y, 384.0f);
    ClientToCanvas(view, 512, 384, &x, &y);
    EXPECT_EQ(x, 512.0f);

    const CanvasView half{800, 600, 0.75f, 0.5f, 800, 600};
    ClientToCanvas(half, 400, 400, &x, &y);
    EXPECT_EQ(y, 500.0f) << "half scale doubles distances from the centre";
}

} // namespace
} // namespace lumeno
