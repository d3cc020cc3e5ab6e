#include "engine_fixture.h"

#include <algorithm>
#include <cstdlib>

#include "engine/render_device.h"
#include "platform/clock.h"
#include "platform/font/text_renderer.h"

namespace lumeno::test {
namespace {

// The frame-rate text on the back buffer, with a scripted clock so that the rate is known.
class FrameText : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        CanvasSettingsRecord().width = 160; // room for the whole text
        CanvasSettingsRecord().height = 48;
        g_particleSettings.alphaIntensity = 0.0f; // streaks leave the canvas plain
        m_hooks.clock = [this] { return m_now; };
    }

    std::uint32_t m_now = 1000;
};

TEST_F(FrameText, RateAverageLentToEveryEngineGoesOnAcrossARebuild)
{
    // Four 10 ms frames on one engine, then two on a rebuilt one. Lent the same average,
    // as the application lends its own, the second engine's second frame is the sixth
    // sample and completes the first block (six rates of 100 over five); with an average
    // of its own the new engine has two samples and still shows nothing.
    struct Case {
        bool lent;
        float shownAfterRebuild;
    };
    const Case cases[] = {{true, 120.0f}, {false, 0.0f}};
    for (const Case& c : cases) {
        FrameRateAverage average;
        m_hooks.frameRate = c.lent ? &average : nullptr;
        ASSERT_EQ(BuildEngine(), S_OK);
        for (int frame = 0; frame < 4; ++frame) {
            m_now += 10;
            m_engine->Render();
        }
        EXPECT_EQ(m_engine->FramesPerSecond(), 0.0f) << "lent " << c.lent;
        ASSERT_EQ(BuildEngine(), S_OK);
        for (int frame = 0; frame < 2; ++frame) {
            m_now += 10;
            m_engine->Render();
        }
        EXPECT_NEAR(m_engine->FramesPerSecond(), c.shownAfterRebuild, 1e-3f) << "lent " << c.lent;
    }
}

TEST_F(FrameText, RateTextIsBlackOnInvertWhiteOtherwiseAtTenTen)
{
    struct Case {
        bool invert;
        float scale;
        std::uint32_t intervalMs;
        int frames;
        const char* text; // what the last frame must show
    };
    // The text of frame k shows the rate after k - 1 timing updates: none before the sixth
    // update, then six samples over five, then blocks of five.
    const Case cases[] = {
        {false, 1.0f, 10, 1, "FPS: 0.000"},    {false, 1.0f, 10, 12, "FPS: 100.000"},
        {true, 1.0f, 400, 12, "FPS: 2.500"},   {true, 2.0f, 3, 12, "FPS: 333.333"},
        {false, 1.0f, 20, 7, "FPS: 60.000"},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.text) + (c.invert ? " inverted" : "") + " at scale " +
                                 std::to_string(c.scale);
        g_particleSettings.invert = c.invert;
        g_particleSettings.scale = c.scale;
        ASSERT_EQ(BuildEngine(), S_OK);
        for (int frame = 0; frame < c.frames; ++frame) {
            m_now += c.intervalMs;
            m_engine->Render();
        }
        const std::vector<std::uint8_t> frame = BackBuffer();

        // The same text drawn on its own, with the engine's font size, over the plain
        // canvas colour: the frame must match it pixel for pixel.
        GlDevice& device = *m_engine->GetGlDevice();
        const std::unique_ptr<TextRenderer> font = TextRenderer::Create(device, 14);
        if (!font)
            GTEST_SKIP() << "no TrueType face installed: the engine draws no text";
        const std::uint8_t background = c.invert ? 255 : 0;
        const int ink = c.invert ? 0 : 255;
        ASSERT_EQ(device.SetRenderTarget(0, m_engine->GetDevice()->BackBufferReference()), S_OK);
        ASSERT_EQ(device.Clear(c.invert ? 0xFFFFFFFF : 0xFF000000), S_OK);
        font->Draw(c.text, GlRect{10, 10, 500, 500}, c.invert ? 0xFF000000 : 0xFFFFFFFF);
        const std::vector<std::uint8_t> expected = BackBuffer();
        ASSERT_EQ(frame.size(), expected.size());
        const auto difference = std::mismatch(frame.begin(), frame.end(), expected.begin()).first - frame.begin();
        EXPECT_EQ(difference, static_cast<std::ptrdiff_t>(frame.size()))
            << what << ": first different pixel at " << difference / 4 % CanvasSettingsRecord().width << ", "
            << difference / 4 / CanvasSettingsRecord().width;

        // Where the text lies and what colour it is, independently of the drawing above.
        const int width = CanvasSettingsRecord().width, height = CanvasSettingsRecord().height;
        int left = width, top = height, bottom = -1, nearest = 255;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = &frame[static_cast<std::size_t>((y * width + x) * 4)];
                if (p[0] == background && p[1] == background && p[2] == background)
                    continue;
                left = std::min(left, x), top = std::min(top, y);
                bottom = std::max(bottom, y);
                nearest = std::min(nearest, std::abs(p[0] - ink));
                EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << what << ": grey edges only, at " << x << ", " << y;
            }
        // Anti-aliased glyphs of 14 pixels: the fullest stroke pixels carry the colour
        // itself, to within a step of coverage.
        EXPECT_LE(nearest, 2) << what << ": the strokes are in the text colour";
        // The text box's top-left corner is at (10, 10): the first glyph's ink starts
        // just right of and below it, and one line of 14 pixels holds it all.
        EXPECT_GE(left, 10) << what;
        EXPECT_LE(left, 12) << what;
        EXPECT_GE(top, 10) << what;
        EXPECT_LE(top, 14) << what;
        EXPECT_LT(bottom, 10 + 14) << what;
    }
}

} // namespace
} // namespace lumeno::test
