// Lines made ready to draw (line_kernel.h): what every tile a line reaches would otherwise
// work out again. Plain arithmetic, the same on every vector target.

#include <algorithm>
#include <cmath>

#include "platform/gl/line_kernel.h"

namespace lumeno {
namespace {

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

// 1 / value, or 0 for a value too small to divide by: a bound that a row of the line
// always satisfies (line_kernel.cpp).
float InverseOrNone(float value) { return std::fabs(value) < 1e-6f ? 0.0f : 1.0f / value; }

} // namespace

bool MakeReady(const CapturedVertex& v0, const CapturedVertex& v1, float width, float height, ReadyLine* line)
{
    float x0 = v0.x, y0 = v0.y, x1 = v1.x, y1 = v1.y;
    const float c0[4] = {v0.r, v0.g, v0.b, v0.a};
    const float c1[4] = {v1.r, v1.g, v1.b, v1.a};
    // The colour along the line: at t = 0 the first vertex's, at 1 the second's.
    float t0 = 0.0f;
    float t1 = 1.0f;
    // Most streaks lie wholly on the target: nothing to cut.
    const bool inside = std::min(x0, x1) >= 0.0f && std::max(x0, x1) <= width && std::min(y0, y1) >= 0.0f &&
                        std::max(y0, y1) <= height;
    if (!inside && !ClipToTarget(width, height, &x0, &y0, &x1, &y1, &t0, &t1))
        return false;
    for (int c = 0; c < 4; ++c) {
        line->start[c] = c0[c] + (c1[c] - c0[c]) * t0;
        line->end[c] = c0[c] + (c1[c] - c0[c]) * t1;
    }
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0.0f) || !std::isfinite(length))
        return false;
    const float inverseLength = 1.0f / length;
    line->ux = dx * inverseLength;
    line->uy = dy * inverseLength;
    line->half = 0.5f * length + 0.5f;
    line->inverseSpan = 1.0f / (length + 1.0f);
    line->inverseUx = InverseOrNone(line->ux);
    line->inverseUy = InverseOrNone(line->uy);
    line->midX = 0.5f * (x0 + x1);
    line->midY = 0.5f * (y0 + y1);
    // Whether it reaches a row of the target, as the kernel finds its rows: a row centre
    // r + 1/2 within reachY of the middle, r from 0 to height - 1. Without ceil and floor,
    // which the baseline instruction set has no single instruction for: the highest such
    // r is the whole part of `high`, and it must reach `low`.
    const float reachY = std::fabs(line->uy) * line->half + std::fabs(line->ux);
    const float low = std::max(line->midY - reachY - 0.5f, 0.0f);
    const float high = std::min(line->midY + reachY - 0.5f, height - 1.0f);
    return high >= 0.0f && static_cast<float>(static_cast<int>(high)) >= low;
}

} // namespace lumeno
