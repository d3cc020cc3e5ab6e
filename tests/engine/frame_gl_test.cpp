#include "engine_fixture.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include <epoxy/gl.h>

#include "engine/render_device.h"
#include "particles/attractor.h"
#include "particles/particle_system.h"
#include "platform/random15.h"

namespace lumeno::test {
namespace {

class Frames : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        g_particleSettings.invert = false;
        g_particleSettings.colorIndex = 0; // red
        g_particleSettings.alphaIntensity = 1.0f;
        g_particleSettings.radius = 0.1f;
        g_particleSettings.power = 0.0f; // on the rim of the circle
        CanvasSettingsRecord().particleCount = 200;
    }

    void RenderFrames(int count)
    {
        for (int i = 0; i < count; ++i)
            m_engine->Render();
    }

    // Brightness-weighted centre of the canvas, in pixels (pixel centres at +0.5).
    std::pair<double, double> BrightCentre(const std::vector<float>& canvas) const
    {
        double sum = 0, sx = 0, sy = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                const float* p = &canvas[static_cast<std::size_t>((y * 64 + x) * 4)];
                const double b = p[0] + p[1] + p[2];
                sum += b;
                sx += b * (x + 0.5);
                sy += b * (y + 0.5);
            }
        }
        return {sx / sum, sy / sum};
    }
};

TEST_F(Frames, StreaksGatherUnderTheCursorAtAnyScale)
{
    for (float scale : {1.0f, 2.0f}) {
        g_particleSettings.scale = scale;
        SimulationAttractor() = Attractor{};
        ASSERT_EQ(BuildEngine(), S_OK);
        // The canvas point (48, 12) lies at client (48, 12) at scale 1 and (96, 24) at 2.
        Send(WM_MOUSEMOVE, 0, static_cast<int>(48 * scale), static_cast<int>(12 * scale));
        Send(WM_LBUTTONDOWN);
        Send(WM_RBUTTONDOWN);
        RenderFrames(40);
        const auto [x, y] = BrightCentre(ReadCanvas());
        EXPECT_NEAR(x, 48.0, 1.5) << "scale " << scale;
        EXPECT_NEAR(y, 12.0, 1.5) << "scale " << scale;
    }
}

TEST_F(Frames, StreaksComeBackWithTheScaleAfterAScaleOfZeroOrNaN)
{
    for (float bad : {0.0f, std::numeric_limits<float>::quiet_NaN()}) {
        g_particleSettings.scale = 1.0f;
        SimulationAttractor() = Attractor{};
        ASSERT_EQ(BuildEngine(), S_OK);
        g_particleSettings.scale = bad; // the pointer now maps to infinity or NaN
        Send(WM_MOUSEMOVE, 0, 10, 40);
        RenderFrames(3);
        g_particleSettings.scale = 1.0f;
        ASSERT_EQ(BuildEngine(), S_OK); // the attractor outlives the rebuild
        Send(WM_MOUSEMOVE, 0, 48, 12);
        Send(WM_LBUTTONDOWN);
        Send(WM_RBUTTONDOWN);
        RenderFrames(40);
        const auto [x, y] = BrightCentre(ReadCanvas());
        EXPECT_NEAR(x, 48.0, 1.5) << "after scale " << bad;
        EXPECT_NEAR(y, 12.0, 1.5) << "after scale " << bad;
    }
}

TEST_F(Frames, StreaksAddOnBlackAndSubtractOnWhiteInTheirOwnHue)
{
    for (bool invert : {false, true}) {
        g_particleSettings.invert = invert;
        ASSERT_EQ(BuildEngine(), S_OK);
        Send(WM_MOUSEMOVE, 0, 32, 24);
        Send(WM_LBUTTONDOWN);
        RenderFrames(20);
        const std::vector<float> canvas = ReadCanvas();
        const float background = invert ? 1.0f : 0.0f;
        int streaks = 0;
        for (std::size_t i = 0; i < canvas.size(); i += 4) {
            if (canvas[i] == background && canvas[i + 1] == background)
                continue;
            ++streaks;
            EXPECT_GT(canvas[i], canvas[i + 1]) << (invert ? "red on white" : "red on black");
            EXPECT_TRUE(invert ? canvas[i + 1] <= 1.0f : canvas[i] > 0.0f) << "invert " << invert;
        }
        EXPECT_GT(streaks, 10) << "invert " << invert;
    }
}

TEST_F(Frames, HalfFadeConvergesToTheBackground)
{
    ASSERT_EQ(BuildEngine(), S_OK);
    Send(WM_MOUSEMOVE, 0, 32, 24);
    RenderFrames(10);
    g_particleSettings.alphaIntensity = 0.0f;
    g_particleSettings.fadeOutRatio = 0.5f;
    RenderFrames(40);
    const std::vector<float> faded = ReadCanvas();
    EXPECT_LT(*std::max_element(faded.begin(), faded.end()), 1e-3f);
}

TEST_F(Frames, PausedDisplayKeepsParticlesAndPictureButCountsFrames)
{
    ASSERT_EQ(BuildEngine(), S_OK);
    Send(WM_MOUSEMOVE, 0, 20, 30);
    RenderFrames(5);
    Send(WM_KEYDOWN, VK_SPACE);
    ASSERT_TRUE(m_engine->IsPaused());
    CParticleSystem& system = *m_engine->GetParticleSystem();
    const std::vector<Particle> particles(system.Particles(), system.Particles() + system.Count());
    const std::vector<float> canvas = ReadCanvas();
    const int frames = m_engine->GetFrameCount();
    RenderFrames(3);
    EXPECT_EQ(std::memcmp(particles.data(), system.Particles(), particles.size() * sizeof(Particle)), 0);
    EXPECT_EQ(ReadCanvas(), canvas) << "paused, and a fade ratio of 1 never fades";
    EXPECT_EQ(m_engine->GetFrameCount(), frames + 3);
}

TEST_F(Frames, DebugLinesGoOntoTheFrameOnlyAndStatesAreRestored)
{
    std::vector<float> canvases[2];
    std::vector<std::uint8_t> frames[2];
    for (bool debug : {false, true}) {
        g_particleSettings.debug = debug;
        SimulationAttractor() = Attractor{};
        SeedRand15(1); // the same emission both times
        ASSERT_EQ(BuildEngine(), S_OK);
        Send(WM_MOUSEMOVE, 0, 40, 20);
        RenderFrames(8);
        canvases[debug] = ReadCanvas();
        frames[debug] = BackBuffer();

        // The device's fixed states survive every pass.
        const std::pair<D3DRENDERSTATETYPE, std::uint32_t> fixed[] = {
            {D3DRS_ZENABLE, D3DZB_TRUE},        {D3DRS_CULLMODE, D3DCULL_CW},        {D3DRS_ALPHATESTENABLE, 0},
            {D3DRS_ALPHABLENDENABLE, 0},        {D3DRS_SRCBLEND, D3DBLEND_ZERO},     {D3DRS_DESTBLEND, D3DBLEND_SRCALPHA},
            {D3DRS_FILLMODE, D3DFILL_SOLID},    {D3DRS_STENCILENABLE, 0},
        };
        for (const auto& [state, value] : fixed) {
            std::uint32_t now = 0;
            ASSERT_EQ(m_engine->GetGlDevice()->GetRenderState(state, &now), S_OK);
            EXPECT_EQ(now, value) << "state " << state;
        }
    }
    EXPECT_EQ(canvases[0], canvases[1]);
    EXPECT_NE(frames[0], frames[1]);
}

TEST_F(Frames, InvertedSmoothFrameLeavesBlendOpAndLineSmoothingAsTheyWere)
{
    // Subtracted, anti-aliased streaks: a pass that kept either state would hand it to
    // the debug lines, the text and every later frame.
    g_particleSettings.invert = true;
    g_particleSettings.antiAlias = 1;
    g_particleSettings.debug = true;
    ASSERT_EQ(BuildEngine(), S_OK);
    // A fresh device adds and draws hard lines; three frames later it still does.
    const std::pair<D3DRENDERSTATETYPE, std::uint32_t> restored[] = {{D3DRS_BLENDOP, D3DBLENDOP_ADD},
                                                                     {D3DRS_ANTIALIASEDLINEENABLE, 0}};
    Send(WM_MOUSEMOVE, 0, 32, 24);
    for (int frames : {0, 3}) {
        RenderFrames(frames);
        for (const auto& [state, value] : restored) {
            std::uint32_t now = ~0u;
            ASSERT_EQ(m_engine->GetGlDevice()->GetRenderState(state, &now), S_OK);
            EXPECT_EQ(now, value) << "state " << state << " after " << frames << " frames";
        }
    }
    // And GL itself, which is what the next draw uses.
    GLint equationRgb = 0, equationAlpha = 0;
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &equationRgb);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &equationAlpha);
    EXPECT_EQ(equationRgb, GL_FUNC_ADD);
    EXPECT_EQ(equationAlpha, GL_FUNC_ADD);
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
}

TEST_F(Frames, ReturnSavesABmpShiftReturnAnHdrIntoTheScreenshotsFolder)
{
    ASSERT_EQ(BuildEngine(), S_OK);
    Send(WM_MOUSEMOVE, 0, 32, 24);
    RenderFrames(40);
    Send(WM_KEYDOWN, VK_RETURN);
    ASSERT_EQ(m_boxes->Boxes().size(), 1u) << "no screenshots folder yet";
    EXPECT_EQ(m_boxes->Boxes()[0].text, "Error save picture!\n\nError Description:\nThe folder does not exist");
    EXPECT_EQ(m_boxes->Boxes()[0].title, "DXErrorInfo:");

    std::filesystem::create_directory("screenshots");
    Send(WM_KEYDOWN, VK_RETURN);
    Send(WM_KEYDOWN, VK_SHIFT);
    Send(WM_KEYDOWN, VK_RETURN);
    Send(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(m_boxes->Boxes().size(), 1u);

    std::vector<std::filesystem::path> bmp, hdr;
    for (const auto& entry : std::filesystem::directory_iterator("screenshots"))
        (entry.path().extension() == ".bmp" ? bmp : hdr).push_back(entry.path());
    ASSERT_EQ(bmp.size(), 1u);
    ASSERT_EQ(hdr.size(), 1u);
    EXPECT_EQ(hdr[0].extension(), ".hdr");
    const std::string name = bmp[0].stem().string();
    EXPECT_EQ(name.find_first_not_of("0123456789"), std::string::npos) << name;
}

} // namespace
} // namespace lumeno::test
