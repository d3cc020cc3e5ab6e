// The device's own smooth lines against the driver's, on the same context: the same light
// in the same pixels, in every canvas format, added and subtracted, and the driver's lines
// wherever the rasteriser does not model the states.

#include <cmath>
#include <cstring>
#include <numeric>
#include <random>

#include "gl_test_support.h"

namespace lumeno::test {
namespace {

constexpr int kCanvasWidth = 48;
constexpr int kCanvasHeight = 24;

// Positions in pixels of GL's window (y up); the light is the vertex colour.
const char* const kLinesEffect = R"(
@vertex PixelLine
layout(location = 1) in vec2 inPosition;
layout(location = 3) in vec4 inColour;
out vec4 colour;
void main() { gl_Position = vec4(inPosition / lumeno_TargetSize * 2.0 - 1.0, 0.0, 1.0); colour = inColour; }
@fragment LineColour
in vec4 colour;
out vec4 fragColour;
void main() { fragColour = colour; }
@compute CapturePixelLine
layout(local_size_x = 64) in;
void main()
{
    int vertex = LumenoVertex();
    if (vertex >= lumeno_VertexCount)
        return;
    vec4 place = LumenoStreamTexel(vertex, 0);
    LumenoCapture(vertex, vec4(place.xy / lumeno_TargetSize * 2.0 - 1.0, 0.0, 1.0), LumenoStreamTexel(vertex, 1));
}
@technique Lit PixelLine LineColour CapturePixelLine
@technique Unlit PixelLine LineColour
)";

struct Vertex {
    float x, y, vx, vy, r, g, b, a;
};

struct Line {
    Vertex from, to;
};

Line MakeLine(float x0, float y0, float x1, float y1, float alpha = 1.0f)
{
    return {{x0, y0, 0, 0, 1.0f, 0.5f, 0.25f, alpha}, {x1, y1, 0, 0, 1.0f, 0.5f, 0.25f, alpha}};
}

class GlSoftwareLines : public GlDeviceTest {
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (HasFatalFailure())
            return;
        m_effect = LoadEffect(kLinesEffect);
        ASSERT_NE(m_effect, nullptr);
    }
    void TearDown() override
    {
        m_effect.reset();
        GlDeviceTest::TearDown();
    }

    // The canvas after drawing the lines onto `background` with the particle pass's states.
    std::vector<float> Draw(const std::vector<Line>& lines, LineDrawing drawing, D3DFORMAT format = D3DFMT_A32B32G32R32F,
                            bool invert = false, const char* technique = "Lit", bool smooth = true,
                            std::uint32_t destinationBlend = D3DBLEND_ONE)
    {
        Canvas canvas = MakeCanvas(format, kCanvasWidth, kCanvasHeight);
        EXPECT_EQ(m_device->SetRenderTarget(0, canvas.surface), S_OK);
        EXPECT_EQ(m_device->Clear(invert ? 0x00FFFFFF : 0x00000000), S_OK);
        std::shared_ptr<GlVertexBuffer> buffer;
        EXPECT_EQ(m_device->CreateVertexBuffer(static_cast<std::uint32_t>(lines.size() * sizeof(Line)), &buffer), S_OK);
        void* data = nullptr;
        EXPECT_EQ(buffer->Lock(0, 0, &data, 0), S_OK);
        std::memcpy(data, lines.data(), lines.size() * sizeof(Line));
        EXPECT_EQ(buffer->Unlock(), S_OK);

        m_device->SetLineDrawing(drawing);
        EXPECT_EQ(m_device->SetRenderState(D3DRS_ANTIALIASEDLINEENABLE, smooth ? 1 : 0), S_OK);
        EXPECT_EQ(m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1), S_OK);
        EXPECT_EQ(m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA), S_OK);
        EXPECT_EQ(m_device->SetRenderState(D3DRS_DESTBLEND, destinationBlend), S_OK);
        EXPECT_EQ(m_device->SetRenderState(D3DRS_BLENDOP, invert ? D3DBLENDOP_REVSUBTRACT : D3DBLENDOP_ADD), S_OK);
        EXPECT_EQ(m_device->SetFVF(D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE4(2)), S_OK);
        EXPECT_EQ(m_device->SetStreamSource(0, buffer, 0, sizeof(Vertex)), S_OK);
        EXPECT_EQ(m_effect->SetTechnique(technique), S_OK);
        EXPECT_EQ(m_effect->BeginPass(0), S_OK);
        EXPECT_EQ(m_device->DrawPrimitive(D3DPT_LINELIST, 0, static_cast<std::uint32_t>(lines.size())), S_OK);
        EXPECT_EQ(m_effect->EndPass(), S_OK);
        return ReadChannels(*canvas.surface);
    }

    std::vector<float> DrawWithBlend(const std::vector<Line>& lines, LineDrawing drawing, const char* technique,
                                     bool smooth, std::uint32_t destinationBlend)
    {
        return Draw(lines, drawing, D3DFMT_A32B32G32R32F, false, technique, smooth, destinationBlend);
    }

    std::unique_ptr<GlEffect> m_effect;
};

double Sum(const std::vector<float>& channels, int channel)
{
    double sum = 0;
    for (std::size_t i = static_cast<std::size_t>(channel); i < channels.size(); i += 4)
        sum += channels[i];
    return sum;
}

double LargestDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    double largest = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        largest = std::max(largest, std::fabs(static_cast<double>(a[i]) - b[i]));
    return largest;
}

TEST_F(GlSoftwareLines, OneStreakGivesTheDriversLightInTheDriversPixels)
{
    const struct {
        const char* what;
        Line line;
    } cases[] = {
        {"on a row of centres", MakeLine(4, 5.5f, 14, 5.5f)},
        {"between rows, ends inside pixels", MakeLine(4.3f, 5.2f, 10.7f, 5.2f)},
        {"diagonal", MakeLine(4, 3, 14, 9)},
        {"steep, right to left", MakeLine(30.2f, 2.7f, 27.9f, 19.4f)},
        {"shorter than a pixel", MakeLine(6, 6, 6.4f, 6)},
        {"a streak's usual six pixels at an angle", MakeLine(20.1f, 10.3f, 25.3f, 13.1f, 0.3f)},
        {"crossing the canvas edge", MakeLine(40, 12, 52, 14)},
        {"length zero: nothing", MakeLine(8.5f, 8.5f, 8.5f, 8.5f)},
    };
    for (const auto& test : cases) {
        const std::vector<float> driver = Draw({test.line}, LineDrawing::Driver);
        const std::uint64_t before = m_device->SoftwareLineDraws();
        const std::vector<float> software = Draw({test.line}, LineDrawing::Software);
        EXPECT_EQ(m_device->SoftwareLineDraws(), before + 1) << test.what << ": the device's own lines drew";
        EXPECT_NEAR(Sum(software, 0), Sum(driver, 0), 1e-3) << test.what;
        EXPECT_NEAR(Sum(software, 3), Sum(driver, 3), 1e-3) << test.what;
        EXPECT_LT(LargestDifference(software, driver), 2e-3) << test.what;
    }
}

// The attractor's pile-up: a thousand streaks through one pixel, summed in float by the
// rasteriser and once into the canvas; the driver blends each into the canvas's format.
TEST_F(GlSoftwareLines, AThousandStreaksThroughOnePixelSumInEveryFormatAddedAndSubtracted)
{
    std::vector<Line> lines;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(0.0f, 6.2831853f);
    for (int i = 0; i < 1000; ++i) {
        const float a = angle(random);
        lines.push_back(MakeLine(24.5f - 3 * std::cos(a), 12.5f - 3 * std::sin(a), 24.5f + 3 * std::cos(a),
                                 12.5f + 3 * std::sin(a), 0.01f));
    }
    for (D3DFORMAT format : kCanvasFormats) {
        for (bool invert : {false, true}) {
            const std::vector<float> driver = Draw(lines, LineDrawing::Driver, format, invert);
            const std::vector<float> software = Draw(lines, LineDrawing::Software, format, invert);
            // 8-bit canvases round every line's light as it is blended: the driver's alone.
            if (format == D3DFMT_A8R8G8B8) {
                EXPECT_EQ(software, driver) << (invert ? "on white" : "on black");
                continue;
            }
            // Centre pixel: 1000 x 0.01 x colour (1, 0.5, 0.25), added to black or taken from
            // white. Half floats hold it exactly
            // here; the driver's lines lose a seventh of it, rounding every blend to half
            // precision once the sum passes 4.
            const float colour[3] = {1.0f, 0.5f, 0.25f};
            const std::vector<float> centre = Pixel(software, 24, 12, kCanvasWidth);
            for (int c = 0; c < 3; ++c) {
                const auto i = static_cast<std::size_t>(c);
                const float exact = invert ? 1.0f - 10.0f * colour[c] : 10.0f * colour[c];
                EXPECT_NEAR(centre[i], exact, 0.01f * std::max(1.0f, std::fabs(exact)))
                    << "format " << format << (invert ? " on white" : " on black") << " channel " << c;
            }
            if (format == D3DFMT_A32B32G32R32F)
                EXPECT_NEAR(Sum(software, 0), Sum(driver, 0), 0.01 * std::fabs(Sum(driver, 0)))
                    << (invert ? "on white" : "on black");
        }
    }
    // Floats hold 10 units of red at the centre on black: nothing clamped, nothing wrapped.
    EXPECT_NEAR(Pixel(Draw(lines, LineDrawing::Software), 24, 12, kCanvasWidth)[0], 10.0f, 0.05f);
}

TEST_F(GlSoftwareLines, StatesTheRasteriserDoesNotModelAreTheDrivers)
{
    const std::vector<Line> lines = {MakeLine(4.3f, 5.2f, 30.7f, 15.2f, 0.7f)};
    const struct {
        const char* what;
        const char* technique;
        bool smooth;
        std::uint32_t destinationBlend;
    } cases[] = {
        {"a technique without a capture", "Unlit", true, D3DBLEND_ONE},
        {"aliased lines", "Lit", false, D3DBLEND_ONE},
        {"blending over (the debug lines' blend)", "Lit", true, D3DBLEND_INVSRCALPHA},
    };
    for (const auto& test : cases) {
        ASSERT_EQ(m_device->SetRenderState(D3DRS_DESTBLEND, test.destinationBlend), S_OK);
        const std::uint64_t before = m_device->SoftwareLineDraws();
        std::vector<float> software = DrawWithBlend(lines, LineDrawing::Software, test.technique, test.smooth,
                                                    test.destinationBlend);
        EXPECT_EQ(m_device->SoftwareLineDraws(), before) << test.what;
        EXPECT_EQ(software, DrawWithBlend(lines, LineDrawing::Driver, test.technique, test.smooth,
                                          test.destinationBlend))
            << test.what;
    }
    EXPECT_EQ(LineDrawingForRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"), LineDrawing::Software);
    EXPECT_EQ(LineDrawingForRenderer("softpipe"), LineDrawing::Software);
    EXPECT_EQ(LineDrawingForRenderer("NVIDIA H100 PCIe/PCIe/SSE2"), LineDrawing::Driver);
    EXPECT_EQ(LineDrawingForRenderer(""), LineDrawing::Driver);
}

} // namespace
} // namespace lumeno::test
