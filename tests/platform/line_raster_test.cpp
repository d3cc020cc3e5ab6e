#include "platform/gl/line_raster.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace lumeno {
namespace {

// A line from (x0, y0) to (x1, y1) in window pixels, colour (1, 0.5, 0.25) at `alpha`.
void AddLine(std::vector<CapturedVertex>& vertices, float x0, float y0, float x1, float y1, float alpha = 1.0f,
             float w = 1.0f)
{
    vertices.push_back({x0, y0, 0, w, 1.0f, 0.5f, 0.25f, alpha});
    vertices.push_back({x1, y1, 0, w, 1.0f, 0.5f, 0.25f, alpha});
}

// The light of the lines on width x height pixels, drawn in `batches` calls by `threads`
// threads, row by row.
std::vector<float> Draw(const std::vector<CapturedVertex>& vertices, int width, int height, int threads,
                        int batches = 1)
{
    std::vector<float> light(LineRaster::LightFloats(width, height));
    LineRaster raster(threads);
    raster.Attach(light.data(), width, height);
    raster.Begin();
    const std::size_t lines = vertices.size() / 2;
    for (int batch = 0; batch < batches; ++batch) {
        const std::size_t first = lines * static_cast<std::size_t>(batch) / static_cast<std::size_t>(batches);
        const std::size_t last = lines * static_cast<std::size_t>(batch + 1) / static_cast<std::size_t>(batches);
        raster.Add(std::span(vertices).subspan(first * 2, (last - first) * 2));
    }
    std::vector<float> rows;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c)
                rows.push_back(light[LineRaster::LightIndex(x, y, c, width)]);
    return rows;
}

double Red(const std::vector<float>& rows)
{
    double sum = 0;
    for (std::size_t i = 0; i < rows.size(); i += 4)
        sum += rows[i];
    return sum;
}

// A canvas that is no whole number of tiles, a cloud of streaks piled up in the middle
// and spread over the edges, long diagonals that cross many tiles, and lines the raster
// must leave alone: the light does not depend on the threads or on how the lines were
// batched, bit for bit.
TEST(LineRaster, TheLightIsTheSameForAnyThreadCountAndBatching)
{
    constexpr int kWidth = 150;
    constexpr int kHeight = 77;
    std::vector<CapturedVertex> vertices;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> place(-10.0f, 160.0f), step(-6.0f, 6.0f), alpha(0.05f, 0.6f);
    for (int i = 0; i < 3000; ++i) {
        const float x = i % 3 == 0 ? 75.0f + step(random) : place(random);
        const float y = i % 3 == 0 ? 38.0f + step(random) : place(random) * 0.5f;
        AddLine(vertices, x, y, x + step(random), y + step(random), alpha(random));
    }
    AddLine(vertices, -20.0f, -30.0f, 170.0f, 95.0f);
    AddLine(vertices, 149.5f, 0.5f, 0.5f, 76.5f, 0.4f);
    AddLine(vertices, 3.0f, 70.0f, 140.0f, 71.0f, 0.3f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    AddLine(vertices, nan, 10.0f, 20.0f, 10.0f);
    AddLine(vertices, 10.0f, -infinity, 10.0f, infinity);
    AddLine(vertices, 10.0f, 10.0f, 40.0f, 40.0f, 1.0f, -1.0f); // behind the eye
    AddLine(vertices, 10.0f, 10.0f, 40.0f, 40.0f, 1.0f, 0.0f);

    const std::vector<float> one = Draw(vertices, kWidth, kHeight, 1);
    EXPECT_GT(Red(one), 1000.0);
    for (const float value : one)
        ASSERT_TRUE(std::isfinite(value));
    EXPECT_EQ(Draw(vertices, kWidth, kHeight, 2), one);
    EXPECT_EQ(Draw(vertices, kWidth, kHeight, 3), one);
    EXPECT_EQ(Draw(vertices, kWidth, kHeight, 2, 7), one);
}

// Each vector target lays a line's pixels out its own way (steep lines a row to a block of
// four lanes where there are blocks): over lines at every angle and length, on a canvas of
// part tiles, every target gives every pixel the light the plainest one gives it.
TEST(LineRaster, EveryVectorTargetGivesEveryPixelTheSameLight)
{
    constexpr int kWidth = 101;
    constexpr int kHeight = 75;
    std::vector<CapturedVertex> vertices;
    std::mt19937 random(23);
    std::uniform_real_distribution<float> place(-4.0f, 105.0f), angle(0.0f, 6.2831853f), length(0.0f, 40.0f);
    for (int i = 0; i < 1500; ++i) {
        const float x = place(random), y = place(random) * 0.75f, a = angle(random), l = length(random);
        AddLine(vertices, x, y, x + l * std::cos(a), y + l * std::sin(a), 0.3f);
    }
    AddLine(vertices, 100.6f, 2.0f, 100.2f, 74.0f); // down the last column, the tiles' part one
    AddLine(vertices, 3.0f, 74.7f, 9.0f, 30.0f);     // steep through the top row
    std::vector<std::vector<float>> pictures;
    for (const std::int64_t vectors : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(vectors);
        pictures.push_back(Draw(vertices, kWidth, kHeight, 2));
    }
    hwy::SetSupportedTargetsForTest(0);
    ASSERT_GE(pictures.size(), 2u);
    const std::vector<float>& plainest = pictures.back();
    EXPECT_GT(Red(plainest), 1000.0);
    for (std::size_t target = 0; target + 1 < pictures.size(); ++target) {
        SCOPED_TRACE(hwy::TargetName(hwy::SupportedAndGeneratedTargets()[target]));
        for (std::size_t i = 0; i < plainest.size(); ++i)
            ASSERT_NEAR(pictures[target][i], plainest[i], 1e-4f * (1.0f + plainest[i])) << "pixel " << i / 4 << " channel " << i % 4;
    }
}

// `value` cut towards zero to a half float: 11 significant bits, or whole steps of 2^-24
// below 2^-14, as a half-float target stores each blend.
float CutToHalf(float value)
{
    if (std::fabs(value) < 1.0f / 16384.0f)
        return std::trunc(value * 16777216.0f) / 16777216.0f;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    bits &= 0xFFFFE000u;
    std::memcpy(&value, &bits, sizeof bits);
    return value;
}

// A half-float target rounds every blend towards zero, from its smallest steps on: a
// thousand faint lines over one pixel sum, on every vector target (some convert with the
// processor's own instructions), to exactly what a thousand such roundings give: a fifth
// less than rounding to nearest would give here.
TEST(LineRaster, EveryVectorTargetRoundsEveryHalfFloatBlendTowardsZero)
{
    constexpr int kSide = 8;
    constexpr float kAlpha = 3e-6f;
    // Along a row of pixel centres: the pixels inside get the whole colour times alpha.
    std::vector<CapturedVertex> lines;
    for (int i = 0; i < 1000; ++i)
        AddLine(lines, 1.0f, 4.5f, 7.0f, 4.5f, kAlpha);
    const std::vector<std::uint16_t> dark(static_cast<std::size_t>(kSide) * kSide * 4, 0);
    float red = 0.0f, green = 0.0f;
    for (int i = 0; i < 1000; ++i) {
        red = CutToHalf(red + 1.0f * kAlpha);
        green = CutToHalf(green + 0.5f * kAlpha);
    }
    ASSERT_GT(red, 1.0f / 16384.0f); // past the smallest steps
    std::vector<float> light(LineRaster::LightFloats(kSide, kSide));
    for (const std::int64_t vectors : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(vectors);
        SCOPED_TRACE(hwy::TargetName(vectors));
        LineRaster raster(1);
        raster.Attach(light.data(), kSide, kSide);
        raster.Load(dark.data(), TileBlend::AddHalf);
        raster.Add(lines);
        EXPECT_EQ(light[LineRaster::LightIndex(4, 4, 0, kSide)], red);
        EXPECT_EQ(light[LineRaster::LightIndex(4, 4, 1, kSide)], green);
        EXPECT_EQ(light[LineRaster::LightIndex(4, 4, 3, kSide)], 0.0f); // alpha squared: below the least step
    }
    hwy::SetSupportedTargetsForTest(0);
}

// A long line gives exactly its length in light, whichever tiles it crosses and however
// steep it is: a tile the sorting misses would lose part of it.
TEST(LineRaster, LongLinesAtEveryAngleGiveTheirLengthInLight)
{
    constexpr int kWidth = 300;
    constexpr int kHeight = 200;
    for (int degrees = 0; degrees < 180; degrees += 7) {
        SCOPED_TRACE(testing::Message() << degrees << " degrees");
        const float angle = static_cast<float>(degrees) * 3.14159265f / 180.0f;
        const float half = 90.0f;
        const float dx = half * std::cos(angle), dy = half * std::sin(angle);
        std::vector<CapturedVertex> vertices;
        AddLine(vertices, 150.3f - dx, 100.2f - dy, 150.3f + dx, 100.2f + dy, 0.5f);
        EXPECT_NEAR(Red(Draw(vertices, kWidth, kHeight, 2)), 2.0 * half * 0.5, 0.5);
    }
}

// The tiles, as runs, that hold light on a width x height buffer, in LitRuns' order.
std::vector<TileRun> TilesHoldingLight(const std::vector<float>& light, int width, int height)
{
    std::vector<TileRun> runs;
    for (int bottom = 0; bottom < height; bottom += kTileSide) {
        const int top = std::min(bottom + kTileSide, height);
        for (int left = 0; left < width; left += kTileSide) {
            const int right = std::min(left + kTileSide, width);
            bool lit = false;
            for (int y = bottom; y < top && !lit; ++y)
                for (int x = left; x < right && !lit; ++x)
                    for (int c = 0; c < 4; ++c)
                        lit = lit || light[LineRaster::LightIndex(x, y, c, width)] != 0.0f;
            if (!lit)
                continue;
            if (!runs.empty() && runs.back().bottom == bottom && runs.back().right == left)
                runs.back().right = right;
            else
                runs.push_back({left, bottom, right, top});
        }
    }
    return runs;
}

// A new picture starts dark: what the last one lit is gone, wherever it was. The lit
// runs name the tiles that hold light, and no other.
TEST(LineRaster, BeginDarkensWhatTheLastPictureLit)
{
    constexpr int kWidth = 3 * kTileSide + 4;
    constexpr int kHeight = 2 * kTileSide + 6;
    constexpr float kTile = kTileSide;
    std::vector<CapturedVertex> first, second;
    AddLine(first, 5.0f, 5.0f, kWidth - 5.0f, kHeight - 5.0f);
    AddLine(first, 10.0f, kHeight - 10.0f, 12.0f, kHeight - 9.0f);
    AddLine(second, kTile + 8.0f, 20.0f, kTile + 15.0f, 24.0f, 0.3f);
    std::vector<float> light(LineRaster::LightFloats(kWidth, kHeight));
    LineRaster raster(2);
    raster.Attach(light.data(), kWidth, kHeight);
    raster.Begin();
    raster.Add(first);
    EXPECT_EQ(raster.LitRuns(), TilesHoldingLight(light, kWidth, kHeight)); // the last row of them cut to the target
    raster.Begin();
    EXPECT_TRUE(raster.LitRuns().empty());
    raster.Add(second);
    EXPECT_EQ(raster.LitRuns(), (std::vector<TileRun>{{kTileSide, 0, 2 * kTileSide, kTileSide}})); // the short line's tile
    std::vector<float> alone(LineRaster::LightFloats(kWidth, kHeight));
    LineRaster fresh(1);
    fresh.Attach(alone.data(), kWidth, kHeight);
    fresh.Begin();
    fresh.Add(second);
    EXPECT_EQ(light, alone);
}

// An 8-bit target multiplies a colour of `a` steps by a blend factor of `b` steps into
// round(a * b / 255) steps. A line one pixel long through a pixel's centre covers that pixel
// wholly and no other, so line (a, b) puts exactly that product into pixel (b, a), and the
// factor times itself into its alpha: every pair of steps, on every vector target.
TEST(LineRaster, EightBitBlendsRoundEveryProductOfStepsAsTheTargetDoes)
{
    constexpr int kSide = 256;
    std::vector<CapturedVertex> lines;
    for (int a = 0; a < kSide; ++a)
        for (int b = 0; b < kSide; ++b) {
            const float colour = static_cast<float>(a) / 255.0f;
            const float alpha = static_cast<float>(b) / 255.0f;
            const float y = static_cast<float>(a) + 0.5f;
            lines.push_back({static_cast<float>(b), y, 0, 1, colour, colour, colour, alpha});
            lines.push_back({static_cast<float>(b) + 1.0f, y, 0, 1, colour, colour, colour, alpha});
        }
    const std::vector<unsigned char> black(static_cast<std::size_t>(kSide) * kSide * 4, 0);
    std::vector<float> light(LineRaster::LightFloats(kSide, kSide));
    for (const std::int64_t vectors : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(vectors);
        SCOPED_TRACE(hwy::TargetName(vectors));
        LineRaster raster(2);
        raster.Attach(light.data(), kSide, kSide);
        raster.Load(black.data(), TileBlend::AddSteps);
        raster.Add(lines);
        for (int a = 0; a < kSide; ++a)
            for (int b = 0; b < kSide; ++b) {
                const auto steps = [](int x, int y) { return static_cast<float>((x * y + 128 + ((x * y + 128) >> 8)) >> 8); };
                ASSERT_EQ(light[LineRaster::LightIndex(b, a, 0, kSide)], steps(a, b)) << a << " x " << b;
                ASSERT_EQ(light[LineRaster::LightIndex(b, a, 3, kSide)], steps(b, b)) << b << " x " << b;
            }
    }
    hwy::SetSupportedTargetsForTest(0);
}

// Blended into an 8-bit target's own pixels: every pixel of the tile the lines lit holds
// the target's value again, in steps, where no line lit it, and the lines' light, added
// in steps, where one did; a second picture starts from the target again. On every vector
// target: a row's last pixels, fewer than a vector, are read apart.
TEST(LineRaster, LoadedPixelsComeBackWholeWhereNoLineReachedThem)
{
    for (const std::int64_t vectors : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(vectors);
        SCOPED_TRACE(hwy::TargetName(vectors));
        constexpr int kWidth = 2 * kTileSide + 6;
        constexpr int kHeight = kTileSide + 8;
        constexpr float kTile = kTileSide;
        // As an 8-bit target reads back.
        std::vector<unsigned char> target(static_cast<std::size_t>(kWidth) * kHeight * 4);
        for (std::size_t i = 0; i < target.size(); ++i)
            target[i] = static_cast<unsigned char>((i * 37) % 200);
        std::vector<CapturedVertex> line;
        AddLine(line, 2 * kTile - 1.0f, 10.0f, 2 * kTile + 4.0f, 12.0f, 0.5f); // into the last tile, of 6 columns
        std::vector<float> light(LineRaster::LightFloats(kWidth, kHeight));
        LineRaster raster(2);
        raster.Attach(light.data(), kWidth, kHeight);
        for (int picture = 0; picture < 2; ++picture) {
            raster.Load(target.data(), TileBlend::AddSteps);
            raster.Add(line);
            EXPECT_EQ(raster.LitRuns(), (std::vector<TileRun>{{kTileSide, 0, kWidth, kTileSide}}));
            EXPECT_FLOAT_EQ(raster.Scale(), 1.0f / 255.0f);
            int lit = 0;
            for (int y = 0; y < kTileSide; ++y)
                for (int x = kTileSide; x < kWidth; ++x)
                    for (int c = 0; c < 4; ++c) {
                        const std::size_t pixel = static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x);
                        const float was = target[pixel * 4 + static_cast<std::size_t>(c)];
                        const float now = light[LineRaster::LightIndex(x, y, c, kWidth)];
                        const bool reached = x >= 2 * kTileSide - 4 && y >= 8 && y <= 14;
                        if (!reached)
                            ASSERT_EQ(now, was) << x << ", " << y;
                        else
                            lit += now > was ? 1 : 0;
                    }
            EXPECT_GT(lit, 20);
        }
    }
    hwy::SetSupportedTargetsForTest(0);
}

} // namespace
} // namespace lumeno
