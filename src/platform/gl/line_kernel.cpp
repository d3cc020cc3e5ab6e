// The light of lines over the rows of one share, compiled once per Highway target and
// dispatched at run time: the per-pixel work goes four pixels at a time, one vector of
// RGBA a pixel. What each pixel gets is described in line_raster.h.

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

// Narrows [*low, *high] to the X where |slope * X + offset| <= limit; `inverse` is 1 / slope,
// 0 for a slope too small to divide by.
void Constrain(float slope, float inverse, float offset, float limit, float* low, float* high)
{
    if (inverse == 0.0f) {
        if (std::fabs(offset) > limit)
            *low = std::numeric_limits<float>::infinity();
        return;
    }
    float first = (-limit - offset) * inverse;
    float last = (limit - offset) * inverse;
    if (slope < 0.0f)
        std::swap(first, last);
    *low = std::max(*low, first);
    *high = std::min(*high, last);
}

// One row's run of pixels of a line: where the first pixel centre lies from the line's
// middle (along it and across it), and what each step of one pixel to the right changes.
struct Span {
    float along = 0.0f;
    float across = 0.0f;
    float ux = 0.0f;
    float uy = 0.0f;
    float half = 0.0f;
    float gain = 0.0f;
    float inverseSpan = 0.0f;
    float light0[4] = {};
    float lightChange[4] = {};
};

#if HWY_TARGET == HWY_SCALAR || HWY_HAVE_SCALABLE
// Adds the span's light to `count` pixels of four floats from `pixel`, one at a time: no
// fixed four-lane vectors here.
void AddSpan(const Span& span, float* pixel, int count)
{
    float along = span.along;
    float across = span.across;
    for (int x = 0; x < count; ++x) {
        const float coverage = std::clamp(span.gain * (span.half - std::fabs(along)), 0.0f, 1.0f) *
                               std::clamp(1.0f - std::fabs(across), 0.0f, 1.0f);
        const float place = (along + span.half) * span.inverseSpan;
        const float weight[4] = {coverage, coverage, coverage, coverage * coverage};
        float* p = pixel + static_cast<std::size_t>(x) * 4;
        for (int c = 0; c < 4; ++c)
            p[c] += (span.light0[c] + span.lightChange[c] * place) * weight[c];
        along += span.ux;
        across -= span.uy;
    }
}
#else
// Adds the span's light to `count` pixels of four floats from `pixel`: the coverage and the
// place along the line for four pixels at once, then one vector of RGBA a pixel.
void AddSpan(const Span& span, float* pixel, int count)
{
    const hn::FixedTag<float, 4> d;
    const auto lane = hn::Iota(d, 0.0f);
    const auto zero = hn::Zero(d);
    const auto one = hn::Set(d, 1.0f);
    const auto half = hn::Set(d, span.half);
    const auto gain = hn::Set(d, span.gain);
    const auto inverseSpan = hn::Set(d, span.inverseSpan);
    const auto light0 = hn::LoadU(d, span.light0);
    const auto lightChange = hn::LoadU(d, span.lightChange);
    // The alpha channel adds alpha * alpha: its weight is the coverage squared.
    const auto isAlpha = hn::Eq(lane, hn::Set(d, 3.0f));
    auto along = hn::MulAdd(lane, hn::Set(d, span.ux), hn::Set(d, span.along));
    auto across = hn::NegMulAdd(lane, hn::Set(d, span.uy), hn::Set(d, span.across));
    const auto alongStep = hn::Set(d, 4.0f * span.ux);
    const auto acrossStep = hn::Set(d, 4.0f * span.uy);
    alignas(16) float coverage[4];
    alignas(16) float place[4];
    for (int done = 0; done < count; done += 4) {
        const auto lengthwise = hn::Min(one, hn::Max(zero, hn::Mul(gain, hn::Sub(half, hn::Abs(along)))));
        const auto crosswise = hn::Min(one, hn::Max(zero, hn::Sub(one, hn::Abs(across))));
        hn::Store(hn::Mul(lengthwise, crosswise), d, coverage);
        hn::Store(hn::Mul(hn::Add(along, half), inverseSpan), d, place);
        const int pixels = std::min(4, count - done);
        for (int k = 0; k < pixels; ++k) {
            float* p = pixel + static_cast<std::size_t>(done + k) * 4;
            const auto cover = hn::Set(d, coverage[k]);
            const auto weight = hn::IfThenElse(isAlpha, hn::Mul(cover, cover), cover);
            const auto light = hn::MulAdd(lightChange, hn::Set(d, place[k]), light0);
            hn::StoreU(hn::MulAdd(light, weight, hn::LoadU(d, p)), d, p);
        }
        along = hn::Add(along, alongStep);
        across = hn::Sub(across, acrossStep);
    }
}
#endif

float InverseSlope(float slope) { return std::fabs(slope) < 1e-6f ? 0.0f : 1.0f / slope; }

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

bool OwnsRow(const LineTarget& target, int row)
{
    return target.bandOwner[static_cast<std::size_t>(row >> LineTarget::kBandShift)] == target.share;
}

// Whether any row from `low` to `high` (window y, clamped to the target) is the share's.
bool OwnsAnyRow(const LineTarget& target, float low, float high)
{
    if (!(low <= high) || high < 0.0f || low >= static_cast<float>(target.height))
        return false; // off the target, or not a number
    const int firstBand = static_cast<int>(std::max(low, 0.0f)) >> LineTarget::kBandShift;
    const int lastBand = static_cast<int>(std::min(high, static_cast<float>(target.height - 1))) >> LineTarget::kBandShift;
    if (lastBand - firstBand + 1 >= target.shares)
        return true;
    for (int band = firstBand; band <= lastBand; ++band)
        if (target.bandOwner[static_cast<std::size_t>(band)] == target.share)
            return true;
    return false;
}

} // namespace

RowRange DrawLinesImpl(std::span<const CapturedVertex> vertices, const LineTarget& target, RowRange lit)
{
    const float width = static_cast<float>(target.width);
    const float height = static_cast<float>(target.height);
    const std::size_t rowFloats = static_cast<std::size_t>(target.width) * 4;
    int top = lit.top < lit.bottom ? lit.top : target.height;
    int bottom = lit.top < lit.bottom ? lit.bottom : 0;
    for (std::size_t i = 0; i + 1 < vertices.size(); i += 2) {
        const CapturedVertex& v0 = vertices[i];
        const CapturedVertex& v1 = vertices[i + 1];
        if (!(v0.w > 0.0f && v1.w > 0.0f))
            continue; // behind the eye: streaks never are
        // Most lines lie wholly in another thread's rows: a bound from the ends alone,
        // which the widened line never leaves by more than 1.5 pixels, rejects them
        // before any other arithmetic.
        float y0 = v0.y;
        float y1 = v1.y;
        if (!OwnsAnyRow(target, std::min(y0, y1) - 2.0f, std::max(y0, y1) + 1.0f))
            continue;
        float x0 = v0.x;
        float x1 = v1.x;
        // The colour along the line: at t = 0 the first vertex's, at 1 the second's.
        float t0 = 0.0f;
        float t1 = 1.0f;
        if (!ClipToTarget(width, height, &x0, &y0, &x1, &y1, &t0, &t1))
            continue;
        // What the blend adds is colour times alpha and alpha squared (the source alpha
        // weighs alpha too), both times the coverage; taken at the ends and interpolated,
        // which differs from interpolating colour and alpha first by a quarter of their
        // two changes' product: nothing, between a particle's two vertices.
        const float start[4] = {v0.r + (v1.r - v0.r) * t0, v0.g + (v1.g - v0.g) * t0, v0.b + (v1.b - v0.b) * t0,
                                v0.a + (v1.a - v0.a) * t0};
        const float end[4] = {v0.r + (v1.r - v0.r) * t1, v0.g + (v1.g - v0.g) * t1, v0.b + (v1.b - v0.b) * t1,
                              v0.a + (v1.a - v0.a) * t1};
        const float light0[4] = {start[0] * start[3], start[1] * start[3], start[2] * start[3], start[3] * start[3]};
        const float lightChange[4] = {end[0] * end[3] - light0[0], end[1] * end[3] - light0[1],
                                      end[2] * end[3] - light0[2], end[3] * end[3] - light0[3]};
        const float dx = x1 - x0;
        const float dy = y1 - y0;
        const float length = std::sqrt(dx * dx + dy * dy);
        if (!(length > 0.0f) || !std::isfinite(length))
            continue;
        const float ux = dx / length;
        const float uy = dy / length;
        const float half = 0.5f * length + 0.5f;
        const float gain = std::min(1.0f, 2.0f * length / (length + 1.0f));
        const float midX = 0.5f * (x0 + x1);
        const float midY = 0.5f * (y0 + y1);
        const float reachY = std::fabs(uy) * half + std::fabs(ux);
        const float firstRowAt = std::ceil(midY - reachY - 0.5f);
        const float lastRowAt = std::floor(midY + reachY - 0.5f);
        if (!(firstRowAt <= lastRowAt) || lastRowAt < 0.0f || firstRowAt > height - 1.0f)
            continue;
        const int firstRow = static_cast<int>(std::max(firstRowAt, 0.0f));
        const int lastRow = static_cast<int>(std::min(lastRowAt, height - 1.0f));
        const float inverseSpan = 0.5f / half;
        Span span;
        span.ux = ux;
        span.uy = uy;
        span.half = half;
        span.gain = gain;
        span.inverseSpan = inverseSpan;
        std::copy(light0, light0 + 4, span.light0);
        std::copy(lightChange, lightChange + 4, span.lightChange);
        const float inverseUx = InverseSlope(ux);
        const float inverseUy = InverseSlope(-uy);
        for (int row = firstRow; row <= lastRow; ++row) {
            if (!OwnsRow(target, row))
                continue;
            const float rowY = static_cast<float>(row) + 0.5f - midY;
            float low = -std::numeric_limits<float>::infinity();
            float high = std::numeric_limits<float>::infinity();
            Constrain(ux, inverseUx, rowY * uy, half, &low, &high);
            Constrain(-uy, inverseUy, rowY * ux, 1.0f, &low, &high);
            const float firstAt = std::max(std::ceil(midX + low - 0.5f), 0.0f);
            const float lastAt = std::min(std::floor(midX + high - 0.5f), width - 1.0f);
            if (!(firstAt <= lastAt))
                continue;
            float* pixel = target.light + static_cast<std::size_t>(row) * rowFloats;
            const float firstX = firstAt + 0.5f - midX;
            span.along = firstX * ux + rowY * uy;
            span.across = rowY * ux - firstX * uy;
            AddSpan(span, pixel + static_cast<std::size_t>(firstAt) * 4, static_cast<int>(lastAt - firstAt) + 1);
            top = std::min(top, row);
            bottom = std::max(bottom, row + 1);
        }
    }
    return {top, bottom};
}

} // namespace HWY_NAMESPACE
} // namespace lumeno
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lumeno {

HWY_EXPORT(DrawLinesImpl);

RowRange DrawLines(std::span<const CapturedVertex> vertices, const LineTarget& target, RowRange lit)
{
    return HWY_DYNAMIC_DISPATCH(DrawLinesImpl)(vertices, target, lit);
}

} // namespace lumeno
#endif
