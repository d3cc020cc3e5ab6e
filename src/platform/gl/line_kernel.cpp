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
#include <cstring>
#include <cstddef>
#include <limits>

#include "hwy/cache_control.h"
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
// the line's middle, given `inverse` = 1 / slope: X from -limit |inverse| to limit
// |inverse|, both less change * rowY * inverse. Unbounded for an inverse of 0, a slope too
// small to divide by (MakeReady), where the rows the line reaches satisfy it throughout.
// No branch on the slope's sign: at every angle a line may take, it would be mispredicted
// half the time.
RowBounds BoundsOf(float inverse, float change, float limit)
{
    if (inverse == 0.0f)
        return {-std::numeric_limits<float>::infinity(), 0.0f, std::numeric_limits<float>::infinity(), 0.0f};
    const float reach = limit * std::fabs(inverse);
    return {-reach, -change * inverse, reach, -change * inverse};
}

// A line ready to draw: what the coverage of a pixel needs, and the light at its ends.
struct Span {
    float ux = 0.0f;
    float uy = 0.0f;
    float half = 0.0f;
    float gain = 0.0f;
    float inverseSpan = 0.0f;
    float light0[4] = {};      // colour times alpha, and alpha squared
    float lightChange[4] = {};
    float colour0[4] = {};     // colour and alpha, for the targets that blend in steps
    float colourChange[4] = {};
};

// At most 16 lanes, so that a window never passes the end of a tile's row.
using Tag = hn::CappedTag<float, 16>;
static_assert(kTileSide % 16 == 0, "windows of up to 16 pixels tile a row");

// `before` plus light0 + lightChange * place, times weight: one channel of summed light.
template <class V>
V AddLight(V before, V light0, V lightChange, V place, V weight)
{
    return hn::MulAdd(hn::MulAdd(lightChange, place, light0), weight, before);
}

// `value` cut to a half float's precision, towards zero, as Mesa's software rasterisers
// store a half-float target's blend (measured: rounding to nearest keeps a seventh more of
// a pile-up's light than they do): 11 significant bits, and steps of 2^-24 below 2^-14.
// Half floats' range is not modelled: light never reaches 65504.
template <class V>
V RoundToHalf(V value)
{
#if HWY_TARGET == HWY_AVX3 || HWY_TARGET == HWY_AVX3_DL || HWY_TARGET == HWY_AVX2
    // The processor's own conversion to half floats and back, told to round towards zero:
    // the same bits as below, in two instructions instead of seven.
    if constexpr (sizeof(value.raw) == 64) {
        return V{_mm512_cvtph_ps(_mm512_cvtps_ph(value.raw, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC))};
    } else if constexpr (sizeof(value.raw) == 32) {
        return V{_mm256_cvtph_ps(_mm256_cvtps_ph(value.raw, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC))};
    }
#endif
    const Tag d;
    const hn::RebindToUnsigned<Tag> u;
    const auto cut = hn::BitCast(d, hn::And(hn::BitCast(u, value), hn::Set(u, 0xFFFFE000u)));
    const auto small = hn::Lt(hn::Abs(value), hn::Set(d, 1.0f / 16384.0f));
    const auto steps = hn::Mul(hn::Trunc(hn::Mul(value, hn::Set(d, 16777216.0f))), hn::Set(d, 1.0f / 16777216.0f));
    return hn::IfThenElse(small, steps, cut);
}

// Blends light into one channel of a half-float target as the target does: the sum (or
// the difference) in float, rounded to a half float at every line.
template <bool kSubtract, class V>
V BlendHalf(V before, V light0, V lightChange, V place, V weight)
{
    const auto light = hn::Mul(hn::MulAdd(lightChange, place, light0), weight);
    return RoundToHalf(kSubtract ? hn::Sub(before, light) : hn::Add(before, light));
}

// round(a * b / 255) for whole numbers from 0 to 255, exactly, as an 8-bit target
// multiplies a colour by its blend factor. The product is exact in a float, and a * b / 255
// never lies within 1/510 of a half (255 is odd), far beyond the error of multiplying by
// the float nearest 1/255: rounding that product is the exact rounding, for every pair.
template <class V>
V MultiplySteps(V a, V b)
{
    const Tag d;
    return hn::Round(hn::Mul(hn::Mul(a, b), hn::Set(d, 1.0f / 255.0f)));
}

// `value` from 0..1 in whole steps of 1/255, as a target of 8 bits a channel takes it.
template <class V>
V Steps(V value)
{
    const Tag d;
    return hn::Round(hn::Mul(hn::Min(hn::Set(d, 1.0f), hn::Max(hn::Zero(d), value)), hn::Set(d, 255.0f)));
}

// Blends a line into one channel of an 8-bit target, whose pixels are held as their
// steps 0..255, as the target does: the colour and the blend factor in steps, their
// product in steps, added (or taken away) and held within 0..255.
template <bool kSubtract, class V>
V BlendSteps(V before, V sourceSteps, V factorSteps)
{
    const Tag d;
    const auto light = MultiplySteps(sourceSteps, factorSteps);
    return kSubtract ? hn::Max(hn::Zero(d), hn::Sub(before, light)) : hn::Min(hn::Set(d, 255.0f), hn::Add(before, light));
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

// What every row of a ready line needs, on a target `height` rows high: no square root and
// no division, MakeReady did those.
void PrepareLine(const ReadyLine& ready, float height, PreparedLine* line)
{
    Span& span = line->span;
    span.ux = ready.ux;
    span.uy = ready.uy;
    span.half = ready.half;
    span.inverseSpan = ready.inverseSpan;
    // A line shorter than a pixel gives its length at its middle (line_raster.h).
    span.gain = std::min(1.0f, 2.0f * (2.0f * ready.half - 1.0f) * ready.inverseSpan);
    // What the blend adds is colour times alpha and alpha squared (the source alpha
    // weighs alpha too), both times the coverage; taken at the ends and interpolated,
    // which differs from interpolating colour and alpha first by a quarter of their
    // two changes' product: nothing, between a particle's two vertices.
    for (int c = 0; c < 4; ++c) {
        span.light0[c] = ready.start[c] * ready.start[3];
        span.lightChange[c] = ready.end[c] * ready.end[3] - span.light0[c];
        span.colour0[c] = ready.start[c];
        span.colourChange[c] = ready.end[c] - ready.start[c];
    }
    line->midX = ready.midX;
    line->midY = ready.midY;
    const float reachY = std::fabs(span.uy) * span.half + std::fabs(span.ux);
    line->firstRow = static_cast<int>(std::max(std::ceil(line->midY - reachY - 0.5f), 0.0f));
    line->lastRow = static_cast<int>(std::min(std::floor(line->midY + reachY - 0.5f), height - 1.0f));
    line->along = BoundsOf(ready.inverseUx, span.uy, span.half);
    // Across the line the slope is -uy, whose inverse is -inverseUy.
    line->across = BoundsOf(-ready.inverseUy, span.ux, 1.0f);
}

// Blocks of four lanes, one row's pixels each, for the rows of steep lines: lane i lies in
// block kBlockOf[i], at column kInBlock[i] of it.
HWY_ALIGN constexpr float kBlockOf[16] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3};
HWY_ALIGN constexpr float kInBlock[16] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};
HWY_ALIGN constexpr std::int32_t kBlockLane[16] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3};
constexpr int kBlockSide = 4;

// A scalar target has no blocks: its steep lines go a pixel a window like the rest.
#if HWY_TARGET != HWY_SCALAR
// One vector from blocks of four floats, block k from at[k] + offset.
template <class D>
hn::Vec<D> LoadBlocks(D d, float* const* at, std::size_t offset)
{
    if constexpr (hn::MaxLanes(D()) == kBlockSide) {
        return hn::LoadU(d, at[0] + offset);
    } else {
        const hn::Half<D> half;
        constexpr std::size_t kHalfBlocks = hn::MaxLanes(D()) / (2 * kBlockSide);
        return hn::Combine(d, LoadBlocks(half, at + kHalfBlocks, offset), LoadBlocks(half, at, offset));
    }
}

// Writes a vector's blocks of four floats back where LoadBlocks read them.
template <class D>
void StoreBlocks(D d, hn::Vec<D> v, float* const* at, std::size_t offset)
{
    if constexpr (hn::MaxLanes(D()) == kBlockSide) {
        hn::StoreU(v, d, at[0] + offset);
    } else {
        const hn::Half<D> half;
        constexpr std::size_t kHalfBlocks = hn::MaxLanes(D()) / (2 * kBlockSide);
        StoreBlocks(half, hn::LowerHalf(half, v), at, offset);
        StoreBlocks(half, hn::UpperHalf(half, v), at + kHalfBlocks, offset);
    }
}
#endif

// Far enough from any line that no lane there is lit, near enough that nothing the blends
// make of it overflows.
constexpr float kFarAway = 1e6f;

// Draws `count` rows of a steep line from row `rows`, whose first and last columns are
// `firsts` and `lasts`, a block of four lanes a row from the row's first column and as
// many rows a vector as it has blocks, with `blendPixels` (DrawPreparedLine). A block
// without pixels of the line, an empty row or one past `count`, lies far from it: its
// lanes are left as they were, in a row of the tile no other block of the vector holds.
template <class BlendPixels>
bool DrawSteepRows(int rows, int count, const float* firsts, const float* lasts, const PreparedLine& line,
                   const LineTile& tile, const BlendPixels& blendPixels)
{
#if HWY_TARGET == HWY_SCALAR
    (void)rows, (void)count, (void)firsts, (void)lasts, (void)line, (void)tile, (void)blendPixels;
    return false;
#else
    constexpr int kBlocks = static_cast<int>(hn::MaxLanes(Tag())) / kBlockSide;
    const Tag d;
    const hn::RebindToSigned<Tag> whole;
    const auto blockLane = hn::Load(whole, kBlockLane);
    const auto blockOf = hn::Load(d, kBlockOf);
    const auto inBlock = hn::Load(d, kInBlock);
    const auto ux = hn::Set(d, line.span.ux);
    const auto uy = hn::Set(d, line.span.uy);
    // Every row's first pixel centre from the line's middle, a vector of rows, worked
    // out in vectors: put together from scalars, they would wait for the stores.
    const auto firstAt = hn::Load(d, firsts);
    const auto drawn = hn::And(hn::Le(firstAt, hn::Load(d, lasts)),
                               hn::Lt(hn::Iota(d, 0.0f), hn::Set(d, static_cast<float>(count))));
    const auto startAt = hn::Min(firstAt, hn::Set(d, static_cast<float>(tile.left + kTileSide - kBlockSide)));
    const auto startX = hn::IfThenElse(drawn, hn::Sub(hn::Add(startAt, hn::Set(d, 0.5f)), hn::Set(d, line.midX)),
                                       hn::Set(d, kFarAway));
    bool lit = false;
    for (int k = 0; k < count; k += kBlocks) {
        float* at[kBlocks];
        for (int b = 0; b < kBlocks; ++b) {
            const int index = k + b;
            int start = 0;
            if (index < count && firsts[index] <= lasts[index]) {
                lit = true;
                start = std::min(static_cast<int>(firsts[index]) - tile.left, kTileSide - kBlockSide);
            }
            const int row = (rows + index - tile.bottom) & (kTileSide - 1);
            at[b] = tile.pixels + static_cast<std::size_t>(row * kTileSide + start);
        }
        const auto spread = hn::IndicesFromVec(d, hn::Add(blockLane, hn::Set(whole, k)));
        // Each lane's pixel centre, from the line's middle.
        const auto x = hn::Add(hn::TableLookupLanes(startX, spread), inBlock);
        const auto rowY = hn::Add(blockOf, hn::Set(d, static_cast<float>(rows + k) + 0.5f - line.midY));
        const auto load = [&](int channel) {
            return LoadBlocks(d, at, static_cast<std::size_t>(channel) * kTilePixels);
        };
        const auto store = [&](int channel, auto v) {
            StoreBlocks(d, v, at, static_cast<std::size_t>(channel) * kTilePixels);
        };
        blendPixels(hn::MulAdd(x, ux, hn::Mul(rowY, uy)), hn::NegMulAdd(x, uy, hn::Mul(rowY, ux)), load, store);
    }
    return lit;
#endif
}

// Adds the prepared line's light to the tile's part of it, or blends it in as `kBlend`
// says; true when a pixel was lit. Every row's columns [first, last] are drawn in the
// windows that hold them, or, for a steep line, in one block of four lanes a row.
template <TileBlend kBlend>
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
    const auto redColour0 = hn::Set(d, span.colour0[0]), redColourChange = hn::Set(d, span.colourChange[0]);
    const auto greenColour0 = hn::Set(d, span.colour0[1]), greenColourChange = hn::Set(d, span.colourChange[1]);
    const auto blueColour0 = hn::Set(d, span.colour0[2]), blueColourChange = hn::Set(d, span.colourChange[2]);
    const auto alphaColour0 = hn::Set(d, span.colour0[3]), alphaColourChange = hn::Set(d, span.colourChange[3]);
    const auto zero = hn::Zero(d);
    const auto one = hn::Set(d, 1.0f);
    const auto lane = hn::Iota(d, 0.0f);
    const auto step = hn::Set(d, static_cast<float>(lanes));

    // Blends the line into one vector of pixels, each lane at `along` and `across` from the
    // line's middle: `load(c)` reads channel c (red 0 to alpha 3), `store(c, v)` writes it.
    const auto blendPixels = [&](auto along, auto across, const auto& load, const auto& store) {
        const auto lengthwise = hn::Min(one, hn::Max(zero, hn::Mul(gain, hn::Sub(half, hn::Abs(along)))));
        const auto crosswise = hn::Min(one, hn::Max(zero, hn::Sub(one, hn::Abs(across))));
        const auto coverage = hn::Mul(lengthwise, crosswise);
        const auto place = hn::Mul(hn::Add(along, half), inverseSpan);
        if constexpr (kBlend == TileBlend::Light) {
            store(0, AddLight(load(0), red0, redChange, place, coverage));
            store(1, AddLight(load(1), green0, greenChange, place, coverage));
            store(2, AddLight(load(2), blue0, blueChange, place, coverage));
            // The alpha channel adds alpha * alpha: its weight is the coverage squared.
            store(3, AddLight(load(3), alpha0, alphaChange, place, hn::Mul(coverage, coverage)));
        } else if constexpr (kBlend == TileBlend::AddHalf || kBlend == TileBlend::SubtractHalf) {
            constexpr bool kSubtract = kBlend == TileBlend::SubtractHalf;
            store(0, BlendHalf<kSubtract>(load(0), red0, redChange, place, coverage));
            store(1, BlendHalf<kSubtract>(load(1), green0, greenChange, place, coverage));
            store(2, BlendHalf<kSubtract>(load(2), blue0, blueChange, place, coverage));
            store(3, BlendHalf<kSubtract>(load(3), alpha0, alphaChange, place, hn::Mul(coverage, coverage)));
        } else {
            constexpr bool kSubtract = kBlend == TileBlend::SubtractSteps;
            // The source alpha, the blend factor, is the line's alpha times the coverage.
            const auto factor = Steps(hn::Mul(hn::MulAdd(alphaColourChange, place, alphaColour0), coverage));
            // Faint streaks on an 8-bit target blend in no step at all over much of their
            // footprint: such a window is left as it is.
            if (hn::AllTrue(d, hn::Eq(factor, zero)))
                return;
            store(0, BlendSteps<kSubtract>(load(0), Steps(hn::MulAdd(redColourChange, place, redColour0)), factor));
            store(1, BlendSteps<kSubtract>(load(1), Steps(hn::MulAdd(greenColourChange, place, greenColour0)), factor));
            store(2, BlendSteps<kSubtract>(load(2), Steps(hn::MulAdd(blueColourChange, place, blueColour0)), factor));
            store(3, BlendSteps<kSubtract>(load(3), factor, factor));
        }
    };

    const int firstRow = std::max(line.firstRow, tile.bottom);
    const int lastRow = std::min(line.lastRow, tile.bottom + tile.rows - 1);
    const float tileFirst = static_cast<float>(tile.left);
    const float tileLast = static_cast<float>(tile.left + tile.columns - 1);
    // A steep line lights at most three pixels of a row (its width across, 2, over |uy|, at
    // least 1 / sqrt 2): a window of a whole vector would light two or three of its lanes,
    // so its rows go a block of four lanes each, as many rows a vector as it has blocks.
    const bool steep = hn::MaxLanes(Tag()) >= kBlockSide && std::fabs(span.uy) >= std::fabs(span.ux);
    bool lit = false;
    // Every row's bounds, a vector of rows at a time.
    const auto lowAlongStart = hn::Set(d, line.along.lowStart + line.midX - 0.5f);
    const auto lowAlongChange = hn::Set(d, line.along.lowChange);
    const auto lowAcrossStart = hn::Set(d, line.across.lowStart + line.midX - 0.5f);
    const auto lowAcrossChange = hn::Set(d, line.across.lowChange);
    const auto highAlongStart = hn::Set(d, line.along.highStart + line.midX - 0.5f);
    const auto highAlongChange = hn::Set(d, line.along.highChange);
    const auto highAcrossStart = hn::Set(d, line.across.highStart + line.midX - 0.5f);
    const auto highAcrossChange = hn::Set(d, line.across.highChange);
    const auto first = hn::Set(d, tileFirst);
    const auto last = hn::Set(d, tileLast);
    HWY_ALIGN float firsts[16];
    HWY_ALIGN float lasts[16];
    for (int rows = firstRow; rows <= lastRow; rows += lanes) {
        const auto rowYs = hn::Add(lane, hn::Set(d, static_cast<float>(rows) + 0.5f - line.midY));
        const auto low = hn::Max(hn::MulAdd(lowAlongChange, rowYs, lowAlongStart),
                                 hn::MulAdd(lowAcrossChange, rowYs, lowAcrossStart));
        const auto high = hn::Min(hn::MulAdd(highAlongChange, rowYs, highAlongStart),
                                  hn::MulAdd(highAcrossChange, rowYs, highAcrossStart));
        hn::Store(hn::Max(first, hn::Ceil(low)), d, firsts); // a row of no number stays one
        hn::Store(hn::Min(last, hn::Floor(high)), d, lasts);
        const int count = std::min(lanes, lastRow - rows + 1);
        if (steep) {
            lit |= DrawSteepRows(rows, count, firsts, lasts, line, tile, blendPixels);
            continue;
        }
        for (int k = 0; k < count; ++k) {
            const int row = rows + k;
            const float rowY = static_cast<float>(row) + 0.5f - line.midY;
            const float firstAt = firsts[k];
            const float lastAt = lasts[k];
            if (!(firstAt <= lastAt))
                continue;
            lit = true;
            const int firstColumn = static_cast<int>(firstAt) - tile.left;
            const int lastColumn = static_cast<int>(lastAt) - tile.left;
            const int start = firstColumn & ~(lanes - 1);
            float* pixels = tile.pixels + static_cast<std::size_t>((row - tile.bottom) * kTileSide);
            // The pixel centres of the first window, from the line's middle.
            auto x = hn::Add(lane, hn::Set(d, static_cast<float>(tile.left + start) + 0.5f - line.midX));
            const auto alongBase = hn::Mul(hn::Set(d, rowY), uy);
            const auto acrossBase = hn::Mul(hn::Set(d, rowY), ux);
            for (int column = start; column <= lastColumn; column += lanes) {
                float* window = pixels + column;
                const auto load = [&](int channel) { return hn::LoadU(d, window + channel * kTilePixels); };
                const auto store = [&](int channel, auto v) { hn::StoreU(v, d, window + channel * kTilePixels); };
                blendPixels(hn::MulAdd(x, ux, alongBase), hn::NegMulAdd(x, uy, acrossBase), load, store);
                x = hn::Add(x, step);
            }
        }
    }
    return lit;
}

template <TileBlend kBlend>
bool DrawLines(std::span<const std::uint32_t> listed, const ReadyLine* lines, const LineTile& tile)
{
    const float height = static_cast<float>(tile.height);
    bool lit = false;
    // The lines a tile lists lie apart in memory: each is asked for a batch ahead of its
    // drawing, so that it has arrived by then.
    constexpr std::size_t kBatch = 16;
    PreparedLine ready[kBatch];
    for (std::size_t first = 0; first < listed.size(); first += kBatch) {
        const std::size_t count = std::min(kBatch, listed.size() - first);
        for (std::size_t next = first + kBatch; next < std::min(listed.size(), first + 2 * kBatch); ++next)
            hwy::Prefetch(lines + listed[next]);
        for (std::size_t i = 0; i < count; ++i)
            PrepareLine(lines[listed[first + i]], height, &ready[i]);
        for (std::size_t i = 0; i < count; ++i)
            lit |= DrawPreparedLine<kBlend>(ready[i], tile);
    }
    return lit;
}

} // namespace

bool DrawTileLinesImpl(std::span<const std::uint32_t> listed, const ReadyLine* lines, const LineTile& tile)
{
    switch (tile.blend) {
    case TileBlend::Light:
        return DrawLines<TileBlend::Light>(listed, lines, tile);
    case TileBlend::AddHalf:
        return DrawLines<TileBlend::AddHalf>(listed, lines, tile);
    case TileBlend::SubtractHalf:
        return DrawLines<TileBlend::SubtractHalf>(listed, lines, tile);
    case TileBlend::AddSteps:
        return DrawLines<TileBlend::AddSteps>(listed, lines, tile);
    case TileBlend::SubtractSteps:
        return DrawLines<TileBlend::SubtractSteps>(listed, lines, tile);
    }
    return false;
}

namespace {

// One vector of pixels from `from`, four channels each, as floats: 8-bit channels as their
// steps 0..255, half floats as their values.
template <class V>
void ReadPixelVector(const void* from, bool halves, V* red, V* green, V* blue, V* alpha)
{
    const Tag d;
    if (halves) {
        const hn::Rebind<std::uint16_t, Tag> bits;
        const hn::Rebind<hwy::float16_t, Tag> half;
        hn::Vec<decltype(bits)> r, g, b, a;
        hn::LoadInterleaved4(bits, static_cast<const std::uint16_t*>(from), r, g, b, a);
        *red = hn::PromoteTo(d, hn::BitCast(half, r));
        *green = hn::PromoteTo(d, hn::BitCast(half, g));
        *blue = hn::PromoteTo(d, hn::BitCast(half, b));
        *alpha = hn::PromoteTo(d, hn::BitCast(half, a));
        return;
    }
    const hn::Rebind<std::uint8_t, Tag> bytes;
    const hn::Rebind<std::int32_t, Tag> whole;
    hn::Vec<decltype(bytes)> r, g, b, a;
    hn::LoadInterleaved4(bytes, static_cast<const std::uint8_t*>(from), r, g, b, a);
    *red = hn::ConvertTo(d, hn::PromoteTo(whole, r));
    *green = hn::ConvertTo(d, hn::PromoteTo(whole, g));
    *blue = hn::ConvertTo(d, hn::PromoteTo(whole, b));
    *alpha = hn::ConvertTo(d, hn::PromoteTo(whole, a));
}

} // namespace

void LoadTileImpl(const void* rgba, std::size_t rowPixels, int columns, int rows, bool halves, float* pixels)
{
    const Tag d;
    const int lanes = static_cast<int>(hn::Lanes(d));
    const std::size_t pixelBytes = halves ? 8 : 4;
    if (columns < kTileSide || rows < kTileSide)
        std::fill(pixels, pixels + kTilePixels * 4, 0.0f); // past the target's edges
    // The last pixels of a row, fewer than a vector, go through a copy padded with zeros.
    alignas(64) unsigned char tail[16 * 8] = {};
    alignas(64) float tailChannels[4][16];
    for (int y = 0; y < rows; ++y) {
        const auto* from =
            static_cast<const unsigned char*>(rgba) + static_cast<std::size_t>(y) * rowPixels * pixelBytes;
        float* to = pixels + static_cast<std::size_t>(y) * kTileSide;
        for (int x = 0; x < columns; x += lanes) {
            const int count = std::min(lanes, columns - x);
            const void* source = from + static_cast<std::size_t>(x) * pixelBytes;
            if (count < lanes) {
                std::memcpy(tail, source, static_cast<std::size_t>(count) * pixelBytes);
                source = tail;
            }
            hn::Vec<Tag> red, green, blue, alpha;
            ReadPixelVector(source, halves, &red, &green, &blue, &alpha);
            if (count == lanes) {
                hn::StoreU(red, d, to + x);
                hn::StoreU(green, d, to + kTilePixels + x);
                hn::StoreU(blue, d, to + 2 * kTilePixels + x);
                hn::StoreU(alpha, d, to + 3 * kTilePixels + x);
                continue;
            }
            hn::Store(red, d, tailChannels[0]);
            hn::Store(green, d, tailChannels[1]);
            hn::Store(blue, d, tailChannels[2]);
            hn::Store(alpha, d, tailChannels[3]);
            for (int c = 0; c < 4; ++c)
                std::copy(tailChannels[c], tailChannels[c] + count, to + c * kTilePixels + x);
        }
    }
}

} // namespace HWY_NAMESPACE
} // namespace lumeno
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lumeno {

HWY_EXPORT(DrawTileLinesImpl);
HWY_EXPORT(LoadTileImpl);

void LoadTile(const void* rgba, std::size_t rowPixels, int columns, int rows, bool halves, float* pixels)
{
    HWY_DYNAMIC_DISPATCH(LoadTileImpl)(rgba, rowPixels, columns, rows, halves, pixels);
}

bool DrawTileLines(std::span<const std::uint32_t> listed, const ReadyLine* lines, const LineTile& tile)
{
    return HWY_DYNAMIC_DISPATCH(DrawTileLinesImpl)(listed, lines, tile);
}

} // namespace lumeno
#endif
