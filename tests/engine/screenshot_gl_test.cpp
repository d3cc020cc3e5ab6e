// Both screenshot formats of one engine canvas, read back from their files: the HDR
// clipped to 0..1 is the BMP, and the HDR keeps what lies above 1, whether the canvas
// holds streaks added to black or subtracted from white.

#include "engine_fixture.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include <stb_image.h>

#include "particles/particle_system.h"

namespace lumeno::test {
namespace {

constexpr int kCanvasWidth = 64;
constexpr int kCanvasHeight = 48;

// The picture as floats, three a pixel; empty unless it is one of the canvas's size.
std::vector<float> Load(const char* path, bool hdr)
{
    int width = 0, height = 0, channels = 0;
    void* data = hdr ? static_cast<void*>(stbi_loadf(path, &width, &height, &channels, 3))
                     : static_cast<void*>(stbi_load(path, &width, &height, &channels, 3));
    std::vector<float> loaded;
    for (int i = 0; data && width == kCanvasWidth && height == kCanvasHeight && i < width * height * 3; ++i)
        loaded.push_back(hdr ? static_cast<float*>(data)[i] : static_cast<stbi_uc*>(data)[i] / 255.0f);
    stbi_image_free(data);
    return loaded;
}

class Screenshots : public EngineTest {};

TEST_F(Screenshots, HdrClippedToOneIsTheBmpAndKeepsWhatLiesAboveOne)
{
    struct Case {
        bool invert;
        std::int32_t format;
    };
    const Case cases[] = {{true, kFormatRGBA32F}, {false, kFormatRGBA32F}, {true, kFormatRGBA16F}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "invert " << c.invert << ", format " << c.format);
        g_particleSettings.invert = c.invert;
        CanvasSettingsRecord().format = c.format;
        ASSERT_EQ(BuildEngine(), S_OK);
        Send(WM_MOUSEMOVE, 0, kCanvasWidth / 2, kCanvasHeight / 2);
        for (int frame = 0; frame < 40; ++frame)
            m_engine->Render();

        const std::vector<float> canvas = ReadCanvas();
        m_engine->GetParticleSystem()->SaveCanvas("shot.hdr", ImageFileFormat::Hdr);
        m_engine->GetParticleSystem()->SaveCanvas("shot.bmp", ImageFileFormat::Bmp);
        ASSERT_TRUE(m_boxes->Boxes().empty()) << m_boxes->Boxes()[0].text;
        const std::vector<float> hdr = Load("shot.hdr", true);
        const std::vector<float> bmp = Load("shot.bmp", false);
        ASSERT_FALSE(hdr.empty());
        ASSERT_FALSE(bmp.empty());
        ASSERT_EQ(canvas.size(), std::size_t{kCanvasWidth * kCanvasHeight * 4});

        int belowZero = 0, zeroToOne = 0, aboveOne = 0;
        int mismatches = 0;
        std::ostringstream first;
        for (int pixel = 0; pixel < kCanvasWidth * kCanvasHeight; ++pixel) {
            const float* h = &hdr[static_cast<std::size_t>(pixel) * 3];
            // RGBE keeps 8 bits of mantissa a channel under the pixel's shared exponent and
            // truncates: a channel reads back up to one step low, and a step is at most
            // 1/128 of the pixel's largest channel. Half a step of 1/255 covers the BMP's
            // rounding, 1e-6 the float arithmetic.
            const float rgbeStep = std::max({h[0], h[1], h[2]}) / 128.0f;
            for (int channel = 0; channel < 3; ++channel) {
                const float value = canvas[static_cast<std::size_t>(pixel) * 4 + channel];
                const float stored = h[channel];
                const float clipped = std::clamp(stored, 0.0f, 1.0f);
                const float byte = bmp[static_cast<std::size_t>(pixel) * 3 + channel];
                const float kept = std::max(value, 0.0f);
                (value < 0.0f ? belowZero : value > 1.0f ? aboveOne : zeroToOne)++;

                const bool matchesBmp = std::abs(clipped - byte) <= 0.5f / 255.0f + rgbeStep + 1e-6f;
                const bool keepsCanvas = stored <= kept + 1e-6f && stored >= kept - rgbeStep - 1e-6f;
                const bool staysAboveOne = !(value > 1.0f + rgbeStep) || stored > 1.0f;
                if (!(matchesBmp && keepsCanvas && staysAboveOne) && mismatches++ == 0)
                    first << "pixel " << pixel % kCanvasWidth << "," << pixel / kCanvasWidth << " channel "
                          << channel << ": canvas " << value << ", HDR " << stored << ", BMP " << byte;
            }
        }
        EXPECT_EQ(mismatches, 0) << "first: " << first.str();
        // The canvas must hold what the comparison is about.
        EXPECT_GT(zeroToOne, 0);
        if (c.invert)
            EXPECT_GT(belowZero, 0) << "streaks subtracted from white go below 0";
        else
            EXPECT_GT(aboveOne, 0) << "streaks added to black go above 1";
    }
}

// A right click and a read at once, as a screenshot taken before the next frame: Mesa's
// llvmpipe handed back the streaks of before the clear unless the read waited for all
// the work before it. Engines after the first, with either line path, showed it.
TEST_F(Screenshots, ACanvasReadRightAfterAClearHoldsTheClear)
{
    g_particleSettings.invert = false;
    for (LineDrawing lines : {LineDrawing::Software, LineDrawing::Driver, LineDrawing::Software}) {
        ASSERT_EQ(BuildEngine(), S_OK);
        m_engine->GetGlDevice()->SetLineDrawing(lines);
        Send(WM_MOUSEMOVE, 0, 40, 30);
        for (int frame = 0; frame < 30; ++frame)
            m_engine->Render();
        Send(WM_RBUTTONDOWN);
        const std::vector<float> canvas = ReadCanvas();
        EXPECT_EQ(std::count(canvas.begin(), canvas.end(), 0.0f), static_cast<long>(canvas.size()));
        DestroyEngine();
    }
}

} // namespace
} // namespace lumeno::test
