// The light of one tile's lines, compiled once per Highway target and dispatched at run
// time. A tile keeps each channel apart, so the per-pixel work goes a vector of pixels at
// a time, one channel a vector, over windows aligned to the vector within the tile's row:
// pixels of a window that the line does not reach get a coverage of exactly 0 and are
// left as they were. What each pixel gets is described in line_raster.h.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "platform/gl/line_kernel.cpp"
#include "hwy/foreach_target.h" // IWYU pragma: keep

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "hwy/highway.h"
#include "platform/gl/line_kernel.h"

HWY_BEFORE_NAMESPACE();
namespace lumeno {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;

// Where a row's pixels of a line begin and end: the columns whose centres x satisfy
// |slope * (x - midX) + offset(rowY)| <= limit for both of the line's limits (along it and
// across it) are those from low to high, each linear in the row's y, so a row's bounds
// cost two multiply-adds each.
struct RowBounds {
    float lowStart = 0.0f, lowChange = 0.0f;
    float highStart = 0.0f, highChange = 0.0f;
};

// The bounds of |slope * X + change * rowY| <= limit, X the column centre's distance from
// the line's middle; unbounded for a slope too small to divide by, where the rows the
// line reaches satisfy it throughout.
RowBounds BoundsOf(float slope, float change, float limit)
{
    if (std::fabs(slope) < 1e-6f)
        return {-std::numeric_limits<float>::infinity(), 0.0f, std::numeric_limits<float>::infinity(), 0.0f};
    const float inverse = 1.0f / slope;
    RowBounds bounds{-limit * inverse, -change * inverse, limit * inverse, -change * inverse};
    if (slope < 0.0f) {
        std::swap(bounds.lowStart, bounds.highStart);
        std::swap(bounds.lowChange, bounds.highChange);
    }
    return bounds;
}

// A line ready to draw: what the coverage of a pixel needs, and the light at its ends.
struct Span {
    float ux = 0.0f;
    float uy = 0.0f;
    float half = 0.0f;
    float gain = 0.0f;
    float inverseSpan = 0.0f;
    float light0[4] = {};
    float lightChange[4] = {};
};

// At most 16 lanes, so that a window never passes the end of a tile's row.
using Tag = hn::CappedTag<float, 16>;
static_assert(kTileSide % 16 == 0, "windows of up to 16 pixels tile a row");

// Adds light0 + lightChange * place, times weight, to the vector of one channel at `pixels`.
template <class V>
void AddChannel(float* pixels, V light0, V lightChange, V place, V weight)
{
    const Tag d;
    hn::StoreU(hn::MulAdd(hn::MulAdd(lightChange, place, light0), weight, hn::LoadU(d, pixels)), d, pixels);
}

// Cuts the line to the target, [0, width] x [0, height], as the driver's clipping does
// before it widens the line: an end cut by the edge gets the half-pixel ramp there, and the
// colour it had at that point. False when nothing is left.
bool ClipToTarget(float width, float height, float* x0, float* y0, float* x1, float* y1, float* t0, float* t1)
{
    const float dx = *x1 - *x0;
    const float dy = *y1 - *y0;
    float enter = 0.0f;
    float leave = 1.0f;
    const float p[4] = {-dx, dx, -dy, dy};
    const float q[4] = {*x0, width - *x0, *y0, height - *y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0f) {
            if (q[i] < 0.0f)
                return false;
            continue;
        }
        const float r = q[i] / p[i];
        if (p[i] < 0.0f)
            enter = std::max(enter, r);
        else
            leave = std::min(leave, r);
    }
    if (enter > leave)
        return false;
    if (enter == 0.0f && leave == 1.0f)
        return true;
    const float startX = *x0, startY = *y0;
    *x0 = startX + dx * enter;
    *y0 = startY + dy * enter;
    *x1 = startX + dx * leave;
    *y1 = startY + dy * leave;
    *t0 = enter;
    *t1 = leave;
    return true;
}

// A line ready to draw, row by row: its span parameters and the rows it reaches.
struct PreparedLine {
    Span span;
    float midX = 0.0f;
    float midY = 0.0f;
    RowBounds along;  // |along| <= half
    RowBounds across; // |across| <= 1
    int firstRow = 0;
    int lastRow = -1;
};

// Cuts `binned` to the target and works out what every row of it needs. False when
// nothing of it reaches a pixel centre of the target.
bool PrepareLine(const BinnedLine& binned, float width, float height, PreparedLine* line)
{
    float x0 = binned.x0, y0 = binned.y0, x1 = binned.x1, y1 = binned.y1;
    const float* c0 = binned.colour0;
    const float* c1 = binned.colour1;
    // The colour along the line: at t = 0 the first vertex's, at 1 the second's.
    float t0 = 0.0f;
    float t1 = 1.0f;
    // Most streaks lie wholly on the target: nothing to cut.
    const bool inside = std::min(x0, x1) >= 0.0f && std::max(x0, x1) <= width && std::min(y0, y1) >= 0.0f &&
                        std::max(y0, y1) <= height;
    if (!inside && !ClipToTarget(width, height, &x0, &y0, &x1, &y1, &t0, &t1))
        return false;
    // What the blend adds is colour times alpha and alpha squared (the source alpha
    // weighs alpha too), both times the coverage; taken at the ends and interpolated,
    // which differs from interpolating colour and alpha first by a quarter of their
    // two changes' product: nothing, between a particle's two vertices.
    float start[4];
    float end[4];
    for (int c = 0; c < 4; ++c) {
        start[c] = c0[c] + (c1[c] - c0[c]) * t0;
        end[c] = c0[c] + (c1[c] - c0[c]) * t1;
    }
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0.0f) || !std::isfinite(length))
        return false;
    Span& span = line->span;
    const float inverseLength = 1.0f / length;
    span.ux = dx * inverseLength;
    span.uy = dy * inverseLength;
    span.half = 0.5f * length + 0.5f;
    span.inverseSpan = 1.0f / (length + 1.0f); // 1 / (2 half)
    span.gain = std::min(1.0f, 2.0f * length * span.inverseSpan);
    for (int c = 0; c < 4; ++c) {
        span.light0[c] = start[c] * start[3];
        span.lightChange[c] = end[c] * end[3] - span.light0[c];
    }
    line->midX = 0.5f * (x0 + x1);
    line->midY = 0.5f * (y0 + y1);
    const float reachY = std::fabs(span.uy) * span.half + std::fabs(span.ux);
    const float firstRowAt = std::ceil(line->midY - reachY - 0.5f);
    const float lastRowAt = std::floor(line->midY + reachY - 0.5f);
    if (!(firstRowAt <= lastRowAt) || lastRowAt < 0.0f || firstRowAt > height - 1.0f)
        return false;
    line->firstRow = static_cast<int>(std::max(firstRowAt, 0.0f));
    line->lastRow = static_cast<int>(std::min(lastRowAt, height - 1.0f));
    line->along = BoundsOf(span.ux, span.uy, span.half);
    line->across = BoundsOf(-span.uy, span.ux, 1.0f);
    return true;
}

// Adds the prepared line's light to the tile's part of it; true when a pixel was lit.
// Every row's columns [first, last] are drawn in the windows that hold them.
bool DrawPreparedLine(const PreparedLine& line, const LineTile& tile)
{
    const Tag d;
    const int lanes = static_cast<int>(hn::Lanes(d));
    const Span& span = line.span;
    // Vectors, not arrays of them: scalable vectors may only be locals.
    const auto ux = hn::Set(d, span.ux);
    const auto uy = hn::Set(d, span.uy);
    const auto half = hn::Set(d, span.half);
    const auto gain = hn::Set(d, span.gain);
    const auto inverseSpan = hn::Set(d, span.inverseSpan);
    const auto red0 = hn::Set(d, span.light0[0]), redChange = hn::Set(d, span.lightChange[0]);
    const auto green0 = hn::Set(d, span.light0[1]), greenChange = hn::Set(d, span.lightChange[1]);
    const auto blue0 = hn::Set(d, span.light0[2]), blueChange = hn::Set(d, span.lightChange[2]);
    const auto alpha0 = hn::Set(d, span.light0[3]), alphaChange = hn::Set(d, span.lightChange[3]);
    const auto zero = hn::Zero(d);
    const auto one = hn::Set(d, 1.0f);
    const auto lane = hn::Iota(d, 0.0f);
    const auto step = hn::Set(d, static_cast<float>(lanes));
    const int firstRow = std::max(line.firstRow, tile.bottom);
    const int lastRow = std::min(line.lastRow, tile.bottom + tile.rows - 1);
    const float tileFirst = static_cast<float>(tile.left);
    const float tileLast = static_cast<float>(tile.left + tile.columns - 1);
    bool lit = false;
    for (int row = firstRow; row <= lastRow; ++row) {
        const float rowY = static_cast<float>(row) + 0.5f - line.midY;
        const float low = std::max(line.along.lowStart + line.along.lowChange * rowY,
                                   line.across.lowStart + line.across.lowChange * rowY);
        const float high = std::min(line.along.highStart + line.along.highChange * rowY,
                                    line.across.highStart + line.across.highChange * rowY);
        const float firstAt = std::max(std::ceil(line.midX + low - 0.5f), tileFirst);
        const float lastAt = std::min(std::floor(line.midX + high - 0.5f), tileLast);
        if (!(firstAt <= lastAt))
            continue;
        lit = true;
        const int first = static_cast<int>(firstAt) - tile.left;
        const int last = static_cast<int>(lastAt) - tile.left;
        const int start = first & ~(lanes - 1);
        float* pixels = tile.pixels + static_cast<std::size_t>((row - tile.bottom) * kTileSide);
        // The pixel centres of the first window, from the line's middle.
        auto x = hn::Add(lane, hn::Set(d, static_cast<float>(tile.left + start) + 0.5f - line.midX));
        const auto alongBase = hn::Mul(hn::Set(d, rowY), uy);
        const auto acrossBase = hn::Mul(hn::Set(d, rowY), ux);
        for (int column = start; column <= last; column += lanes) {
            const auto along = hn::MulAdd(x, ux, alongBase);
            const auto across = hn::NegMulAdd(x, uy, acrossBase);
            const auto lengthwise = hn::Min(one, hn::Max(zero, hn::Mul(gain, hn::Sub(half, hn::Abs(along)))));
            const auto crosswise = hn::Min(one, hn::Max(zero, hn::Sub(one, hn::Abs(across))));
            const auto coverage = hn::Mul(lengthwise, crosswise);
            const auto place = hn::Mul(hn::Add(along, half), inverseSpan);
            float* window = pixels + column;
            AddChannel(window, red0, redChange, place, coverage);
            AddChannel(window + kTilePixels, green0, greenChange, place, coverage);
            AddChannel(window + 2 * kTilePixels, blue0, blueChange, place, coverage);
            // The alpha channel adds alpha * alpha: its weight is the coverage squared.
            AddChannel(window + 3 * kTilePixels, alpha0, alphaChange, place, hn::Mul(coverage, coverage));
            x = hn::Add(x, step);
        }
    }
    return lit;
}

} // namespace

bool DrawTileLinesImpl(std::span<const BinnedLine> lines, const LineTile& tile)
{
    const float width = static_cast<float>(tile.width);
    const float height = static_cast<float>(tile.height);
    bool lit = false;
    PreparedLine line;
    for (const BinnedLine& binned : lines)
        if (PrepareLine(binned, width, height, &line))
            lit |= DrawPreparedLine(line, tile);
    return lit;
}

} // namespace HWY_NAMESPACE
} // namespace lumeno
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lumeno {

HWY_EXPORT(DrawTileLinesImpl);

bool DrawTileLines(std::span<const BinnedLine> lines, const LineTile& tile)
{
    return HWY_DYNAMIC_DISPATCH(DrawTileLinesImpl)(lines, tile);
}

} // namespace lumeno
#endif
