// The device's own smooth lines against the driver's, on the same context: the same light
// in the same pixels, in every canvas format, added and subtracted, and the driver's lines
// wherever the rasteriser does not model the states.

#include <array>
#include <cmath>
#include <random>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

constexpr int kCanvasWidth = 48;
constexpr int kCanvasHeight = 24;

using Line = std::array<LineVertex, 2>;

Line MakeLine(float x0, float y0, float x1, float y1, float alpha = 1.0f)
{
    return {{{x0, y0, 0, 0, 1.0f, 0.5f, 0.25f, alpha}, {x1, y1, 0, 0, 1.0f, 0.5f, 0.25f, alpha}}};
}

// How the particle pass draws, and the states the rasteriser does not model.
struct Drawing {
    D3DFORMAT format = D3DFMT_A32B32G32R32F;
    bool invert = false;
    const char* technique = "Lit";
    bool smooth = true;
    std::uint32_t destinationBlend = D3DBLEND_ONE;
};

class GlSoftwareLines : public GlEffectTest {
protected:
    // The canvas after drawing the lines onto black (white when inverted) with the
    // device's own lines or the driver's.
    std::vector<float> Draw(const std::vector<Line>& lines, LineDrawing lineDrawing, const Drawing& drawing = {})
    {
        Canvas canvas = MakeCanvas(drawing.format, kCanvasWidth, kCanvasHeight);
        Fill(canvas, drawing.invert ? 0x00FFFFFF : 0x00000000);
        m_device->SetLineDrawing(lineDrawing);
        EXPECT_EQ(m_device->SetRenderState(D3DRS_ANTIALIASEDLINEENABLE, drawing.smooth ? 1 : 0), S_OK);
        SetBlend(D3DBLEND_SRCALPHA, drawing.destinationBlend, drawing.invert ? D3DBLENDOP_REVSUBTRACT : D3DBLENDOP_ADD);
        DrawLines(drawing.technique, MakeBuffer(lines.data(), lines.size() * sizeof(Line)),
                  static_cast<std::uint32_t>(lines.size()));
        return ReadChannels(*canvas.surface);
    }
};

double Sum(const std::vector<float>& channels, int channel)
{
    double sum = 0;
    for (std::size_t i = static_cast<std::size_t>(channel); i < channels.size(); i += 4)
        sum += channels[i];
    return sum;
}

// One streak: where the rasteriser models the states, the device's own lines give the
// driver's light in the driver's pixels; where it does not, the driver draws them.
TEST_F(GlSoftwareLines, OneStreakGivesTheDriversLightInTheDriversPixelsOrIsTheDrivers)
{
    const struct {
        const char* what;
        Line line;
        Drawing drawing = {};
        bool software = true;
    } cases[] = {
        {"on a row of centres", MakeLine(4, 5.5f, 14, 5.5f)},
        {"between rows, ends inside pixels", MakeLine(4.3f, 5.2f, 10.7f, 5.2f)},
        {"diagonal", MakeLine(4, 3, 14, 9)},
        {"steep, right to left", MakeLine(30.2f, 2.7f, 27.9f, 19.4f)},
        {"shorter than a pixel", MakeLine(6, 6, 6.4f, 6)},
        {"a streak's usual six pixels at an angle", MakeLine(20.1f, 10.3f, 25.3f, 13.1f, 0.3f)},
        {"crossing the canvas edge", MakeLine(40, 12, 52, 14)},
        {"length zero: nothing", MakeLine(8.5f, 8.5f, 8.5f, 8.5f)},
        {"a technique without a capture", MakeLine(4.3f, 5.2f, 30.7f, 15.2f, 0.7f), {.technique = "Unlit"}, false},
        {"aliased lines", MakeLine(4.3f, 5.2f, 30.7f, 15.2f, 0.7f), {.smooth = false}, false},
        {"blending over (the debug lines' blend)", MakeLine(4.3f, 5.2f, 30.7f, 15.2f, 0.7f),
         {.destinationBlend = D3DBLEND_INVSRCALPHA}, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const std::vector<float> driver = Draw({test.line}, LineDrawing::Driver, test.drawing);
        const std::uint64_t before = m_device->SoftwareLineDraws();
        const std::vector<float> software = Draw({test.line}, LineDrawing::Software, test.drawing);
        EXPECT_EQ(m_device->SoftwareLineDraws(), before + (test.software ? 1 : 0));
        if (!test.software) {
            EXPECT_EQ(software, driver);
            continue;
        }
        EXPECT_NEAR(Sum(software, 0), Sum(driver, 0), 1e-3);
        EXPECT_NEAR(Sum(software, 3), Sum(driver, 3), 1e-3);
        for (std::size_t i = 0; i < software.size(); ++i)
            ASSERT_NEAR(software[i], driver[i], 2e-3) << "channel " << i;
    }
    EXPECT_EQ(LineDrawingForRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"), LineDrawing::Software);
    EXPECT_EQ(LineDrawingForRenderer("softpipe"), LineDrawing::Software);
    EXPECT_EQ(LineDrawingForRenderer("NVIDIA H100 PCIe/PCIe/SSE2"), LineDrawing::Driver);
    EXPECT_EQ(LineDrawingForRenderer(""), LineDrawing::Driver);
}

// The attractor's pile-up: a thousand faint streaks through one pixel. The rasteriser sums
// a float canvas's light and adds it once; it blends each line into an 8-bit or half-float
// canvas as the canvas rounds it. Either way the driver's picture comes out.
TEST_F(GlSoftwareLines, AThousandStreaksThroughOnePixelGiveTheDriversPictureInEveryFormatAddedAndSubtracted)
{
    std::vector<Line> lines;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(0.0f, 6.2831853f);
    for (int i = 0; i < 1000; ++i) {
        const float a = angle(random), dx = 3 * std::cos(a), dy = 3 * std::sin(a);
        lines.push_back(MakeLine(24.5f - dx, 12.5f - dy, 24.5f + dx, 12.5f + dy, 0.01f));
    }
    for (D3DFORMAT format : kCanvasFormats) {
        for (bool invert : {false, true}) {
            SCOPED_TRACE(testing::Message() << "format " << format << (invert ? " on white" : " on black"));
            const std::vector<float> driver = Draw(lines, LineDrawing::Driver, {format, invert});
            const std::vector<float> software = Draw(lines, LineDrawing::Software, {format, invert});
            // 8-bit canvases to the step; half floats within one of their steps near 4 (the
            // driver's interpolation and ours differ in the last float bits).
            const float tolerance = format == D3DFMT_A8R8G8B8 ? 0.0f : format == D3DFMT_A16B16G16R16F ? 0.002f : 1e-4f;
            for (std::size_t i = 0; i < software.size(); ++i)
                ASSERT_NEAR(software[i], driver[i], tolerance) << "channel " << i;
            if (format != D3DFMT_A32B32G32R32F)
                continue;
            // Centre pixel: 1000 x 0.01 x colour (1, 0.5, 0.25), added to black or taken from
            // white. (Half floats lose a seventh of it, rounding every blend once the sum
            // passes 4; 8-bit ones clamp.)
            const std::vector<float> centre = Pixel(software, 24, 12, kCanvasWidth);
            const float light[3] = {10.0f, 5.0f, 2.5f};
            for (std::size_t c = 0; c < 3; ++c) {
                const float expected = invert ? 1.0f - light[c] : light[c];
                EXPECT_NEAR(centre[c], expected, 0.01f * std::fabs(expected)) << "channel " << c;
            }
        }
    }
}

} // namespace
} // namespace lumeno::test
