#pragma once
// The per-line work of the line rasteriser (line_raster.h): one share's rows, one list of
// lines, vectorised for the processor it runs on.

#include <span>

namespace lumeno {

struct CapturedVertex {
    float x, y, z, w; // window coordinates in pixels, row 0 at the bottom; w of clip space
    float r, g, b, a;
};
static_assert(sizeof(CapturedVertex) == 32, "what the capture writes: two vec4 a vertex");

// Rows [top, bottom) of the buffer that hold light; empty when top == bottom.
struct RowRange {
    int top = 0;
    int bottom = 0;
};

// Where one share draws: width x height pixels of four floats, and the owner of every
// band of 2^kBandShift rows; the share draws only the rows of its own bands.
struct LineTarget {
    static constexpr int kBandShift = 3;

    float* light = nullptr;
    int width = 0;
    int height = 0;
    const unsigned char* bandOwner = nullptr;
    int share = 0;
    int shares = 1;
};

// Adds the light of `vertices.size() / 2` lines to the share's rows; returns `lit` grown by
// the rows it lit.
RowRange DrawLines(std::span<const CapturedVertex> vertices, const LineTarget& target, RowRange lit);

} // namespace lumeno
