#include "platform/gl/line_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace lumeno {
namespace {

// Narrows [*low, *high] to the X where |slope * X + offset| <= limit.
void Constrain(float slope, float offset, float limit, float* low, float* high)
{
    if (std::fabs(slope) < 1e-6f) {
        if (std::fabs(offset) > limit)
            *low = std::numeric_limits<float>::infinity();
        return;
    }
    float first = (-limit - offset) / slope;
    float last = (limit - offset) / slope;
    if (first > last)
        std::swap(first, last);
    *low = std::max(*low, first);
    *high = std::min(*high, last);
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

} // namespace

LineRaster::LineRaster(int threads) : m_runner(std::max(threads, 1)) {}

void LineRaster::Attach(float* light, int width, int height)
{
    m_light = light;
    m_width = light != nullptr ? width : 0;
    m_height = light != nullptr ? height : 0;
    m_lit = {};
    m_darkenPending = false;
}

void LineRaster::Begin() { m_darkenPending = m_lit.top < m_lit.bottom; }

void LineRaster::Add(std::span<const CapturedVertex> vertices)
{
    if (m_light == nullptr)
        return;
    const bool darken = m_darkenPending;
    if (darken)
        m_darkened = m_lit;
    m_darkenPending = false;
    const RowRange litBefore = darken ? RowRange{} : m_lit;
    std::vector<RowRange> lit(static_cast<std::size_t>(m_runner.Threads()), litBefore);
    m_runner.Run([&](int share, int shares) {
        if (darken)
            DarkenShare(share, shares);
        DrawShare(vertices, share, shares, &lit[static_cast<std::size_t>(share)]);
    });
    m_lit = {m_height, 0};
    for (const RowRange& range : lit) {
        if (range.top >= range.bottom)
            continue;
        m_lit.top = std::min(m_lit.top, range.top);
        m_lit.bottom = std::max(m_lit.bottom, range.bottom);
    }
    if (m_lit.top >= m_lit.bottom)
        m_lit = {};
}

void LineRaster::DarkenShare(int share, int shares)
{
    const std::size_t rowFloats = static_cast<std::size_t>(m_width) * 4;
    for (int row = m_darkened.top; row < m_darkened.bottom; ++row)
        if (OwnsRow(row, share, shares))
            std::memset(m_light + static_cast<std::size_t>(row) * rowFloats, 0, rowFloats * sizeof(float));
}

bool LineRaster::OwnsAnyRow(float low, float high, int share, int shares) const
{
    if (!(low <= high) || high < 0.0f || low >= static_cast<float>(m_height))
        return false; // off the target, or not a number
    const int firstBand = static_cast<int>(std::max(low, 0.0f)) >> kBandShift;
    const int lastBand = static_cast<int>(std::min(high, static_cast<float>(m_height - 1))) >> kBandShift;
    if (lastBand - firstBand + 1 >= shares)
        return true;
    for (int band = firstBand; band <= lastBand; ++band)
        if (band % shares == share)
            return true;
    return false;
}

void LineRaster::DrawShare(std::span<const CapturedVertex> vertices, int share, int shares, RowRange* lit)
{
    const float width = static_cast<float>(m_width);
    const float height = static_cast<float>(m_height);
    const std::size_t rowFloats = static_cast<std::size_t>(m_width) * 4;
    int top = lit->top < lit->bottom ? lit->top : m_height;
    int bottom = lit->top < lit->bottom ? lit->bottom : 0;
    for (std::size_t i = 0; i + 1 < vertices.size(); i += 2) {
        const CapturedVertex& v0 = vertices[i];
        const CapturedVertex& v1 = vertices[i + 1];
        if (!(v0.w > 0.0f && v1.w > 0.0f))
            continue; // behind the eye: streaks never are
        // Most lines lie wholly in another thread's rows: a bound from the ends alone,
        // which the widened line never leaves by more than 1.5 pixels, rejects them
        // before any other arithmetic.
        float y0 = (v0.y / v0.w * 0.5f + 0.5f) * height;
        float y1 = (v1.y / v1.w * 0.5f + 0.5f) * height;
        if (!OwnsAnyRow(std::min(y0, y1) - 2.0f, std::max(y0, y1) + 1.0f, share, shares))
            continue;
        float x0 = (v0.x / v0.w * 0.5f + 0.5f) * width;
        float x1 = (v1.x / v1.w * 0.5f + 0.5f) * width;
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
        for (int row = firstRow; row <= lastRow; ++row) {
            if (!OwnsRow(row, share, shares))
                continue;
            const float rowY = static_cast<float>(row) + 0.5f - midY;
            float low = -std::numeric_limits<float>::infinity();
            float high = std::numeric_limits<float>::infinity();
            Constrain(ux, rowY * uy, half, &low, &high);
            Constrain(-uy, rowY * ux, 1.0f, &low, &high);
            const float firstAt = std::max(std::ceil(midX + low - 0.5f), 0.0f);
            const float lastAt = std::min(std::floor(midX + high - 0.5f), width - 1.0f);
            if (!(firstAt <= lastAt))
                continue;
            float* pixel = m_light + static_cast<std::size_t>(row) * rowFloats;
            const float firstX = firstAt + 0.5f - midX;
            float along = firstX * ux + rowY * uy;
            float across = rowY * ux - firstX * uy;
            for (int x = static_cast<int>(firstAt); x <= static_cast<int>(lastAt); ++x) {
                const float coverage = std::clamp(gain * (half - std::fabs(along)), 0.0f, 1.0f) *
                                       std::clamp(1.0f - std::fabs(across), 0.0f, 1.0f);
                const float t = (along + half) * inverseSpan;
                const float weight[4] = {coverage, coverage, coverage, coverage * coverage};
                float* p = pixel + static_cast<std::size_t>(x) * 4;
                for (int c = 0; c < 4; ++c)
                    p[c] += (light0[c] + lightChange[c] * t) * weight[c];
                along += ux;
                across -= uy;
            }
            top = std::min(top, row);
            bottom = std::max(bottom, row + 1);
        }
    }
    *lit = {top, bottom};
}

} // namespace lumeno
