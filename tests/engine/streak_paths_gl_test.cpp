// The two ways the device can draw the particle streaks, the driver's smooth lines and
// its own rasteriser, give the same picture: after 60 frames of a fixed clock the canvases
// hold the same light in all (within 1%) and differ per pixel by an RMS below 2% of the
// brightest pixel, in every canvas format, additive and inverted, smoothed and aliased.

#include "engine_fixture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "particles/attractor.h"
#include "particles/particle_system.h"
#include "platform/clock.h"
#include "platform/random15.h"

namespace lumeno::test {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 192;
constexpr int kFrames = 60;

class StreakPaths : public EngineTest {
protected:
    struct Run {
        std::vector<float> canvas;
        std::uint64_t ownDraws = 0;
    };

    Run Render(LineDrawing drawing)
    {
        SeedRand15(1); // the same cloud on both paths
        SimulationAttractor() = Attractor{};
        std::uint32_t now = 1000;
        m_hooks.clock = [&now] { return now; }; // advanced once a frame, however often it is read
        Run run;
        if (BuildEngine() != S_OK) {
            ADD_FAILURE() << "no engine";
            return run;
        }
        m_engine->GetGlDevice()->SetLineDrawing(drawing);
        Send(WM_MOUSEMOVE, 0, kWidth / 3, kHeight / 2);
        for (int frame = 0; frame < kFrames; ++frame) {
            now += 16;
            m_engine->Render();
        }
        run.canvas = ReadCanvas();
        run.ownDraws = m_engine->GetGlDevice()->SoftwareLineDraws();
        DestroyEngine();
        m_hooks.clock = {};
        return run;
    }
};

// Light is what the streaks moved the canvas away from its background; alpha is not shown.
struct Comparison {
    double referenceLight = 0.0;
    double light = 0.0;
    double rms = 0.0;
    double brightest = 0.0; // of the reference
};

Comparison Compare(const std::vector<float>& reference, const std::vector<float>& canvas, float background)
{
    Comparison c;
    double squares = 0.0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        if (i % 4 == 3)
            continue;
        const double a = std::fabs(reference[i] - background);
        const double b = std::fabs(canvas[i] - background);
        c.referenceLight += a;
        c.light += b;
        squares += (a - b) * (a - b);
        c.brightest = std::max(c.brightest, a);
    }
    c.rms = std::sqrt(squares / static_cast<double>(reference.size() / 4 * 3));
    return c;
}

TEST_F(StreakPaths, OwnRasteriserGivesTheDriversPictureInEveryFormatAndBlend)
{
    CanvasSettingsRecord().width = kWidth;
    CanvasSettingsRecord().height = kHeight;
    CanvasSettingsRecord().particleCount = 5000;
    for (const bool invert : {false, true}) {
        for (const bool smooth : {true, false}) {
            g_particleSettings.invert = invert;
            g_particleSettings.antiAlias = smooth ? 1 : 0;
            CanvasSettingsRecord().format = kFormatRGBA32F;
            const Run exact = Render(LineDrawing::Driver);
            for (const std::int32_t& format : CanvasFormats) {
                CanvasSettingsRecord().format = format;
                const Run lines = format == kFormatRGBA32F ? exact : Render(LineDrawing::Driver);
                const Run own = Render(LineDrawing::Software);
                ASSERT_EQ(lines.canvas.size(), static_cast<std::size_t>(kWidth) * kHeight * 4);
                ASSERT_EQ(own.canvas.size(), lines.canvas.size());
                const std::string name = std::string(QualityNames[static_cast<std::size_t>(&format - CanvasFormats.data())]) +
                                         (invert ? ", inverted" : ", additive") + (smooth ? ", smooth" : ", aliased");
                const Comparison c = Compare(lines.canvas, own.canvas, invert ? 1.0f : 0.0f);
                ASSERT_GT(c.referenceLight, 0.0) << name;
                EXPECT_LT(c.rms, 0.02 * c.brightest) << name << ", brightest " << c.brightest;
                EXPECT_NEAR(c.light / c.referenceLight, 1.0, 0.01) << name;
                // Aliased lines stay the driver's; smooth lines are the rasteriser's own, in
                // every format.
                EXPECT_EQ(own.ownDraws > 0, smooth) << name;
                EXPECT_EQ(lines.ownDraws, 0u) << name;
            }
        }
    }
}

} // namespace
} // namespace lumeno::test
