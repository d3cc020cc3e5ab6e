// Settings files that only a hand edit or a broken disk gives, loaded as they are and
// built into an engine on a real headless context: the build works or ends in its
// boxes, and frames, input and screenshots go on without a crash or undefined
// behaviour (the sanitizer builds run these too).

#include "engine_fixture.h"

#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "particles/particle_system.h"
#include "platform/frame_profiler.h"
#include "settings/settings_file.h"
#include "support/process_state.h"

namespace lumeno::test {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Counts the canvas passes the frames run.
class PassCounter final : public FrameProfiler {
public:
    void Begin(FramePhase phase) override { ++counts[static_cast<int>(phase)]; }
    void End(FramePhase) override {}
    int counts[static_cast<int>(FramePhase::Count)] = {};
};

class HostileSettings : public EngineTest {
protected:
    // Writes a 64 x 48 canvas of 500 particles, every other field at its default, then
    // `edit`, as the settings file; loads it through the start-up path and builds the
    // engine in a fixed 64 x 48 window (the file's scale may be anything).
    HRESULT LoadAndBuild(const std::function<void(CanvasSettings&, ParticleSettings&)>& edit)
    {
        CanvasSettings canvas;
        canvas.width = 64;
        canvas.height = 48;
        canvas.format = kFormatRGBA32F;
        canvas.particleCount = 500;
        ParticleSettings particles;
        edit(canvas, particles);
        const std::vector<std::byte> bytes = EncodeSettings(canvas, particles);
        std::ofstream(kSettingsFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(LoadSettings());
        std::string error;
        m_window = HeadlessWindow::Create(64, 48, &error);
        if (!m_window) {
            ADD_FAILURE() << "no headless context: " << error;
            return E_FAIL;
        }
        return StartEngine();
    }

    // Frames with every input the engine takes, a screenshot into an existing folder;
    // then the texts of all boxes so far.
    std::vector<std::string> DriveFrames()
    {
        std::filesystem::create_directory("screenshots");
        for (int frame = 0; frame < 4; ++frame) {
            Send(WM_MOUSEMOVE, 0, 10 * frame, 5 * frame);
            m_engine->Render();
            Send(WM_LBUTTONDOWN);
            m_engine->Render();
            Send(WM_RBUTTONDOWN);
        }
        Send(WM_KEYDOWN, VK_SPACE);
        m_engine->Render();
        Send(WM_KEYDOWN, VK_SPACE);
        Send(WM_KEYDOWN, VK_RETURN);
        std::vector<std::string> texts;
        for (const MessageBoxRequest& box : m_boxes->Boxes())
            texts.push_back(box.text);
        return texts;
    }
};

// A fade ratio that is not a number means no fading: the scene is drawn, the fade never.
TEST_F(HostileSettings, NotANumberInfinitiesAndOutOfRangeIndicesRunWithoutABox)
{
    ASSERT_EQ(LoadAndBuild([](CanvasSettings& canvas, ParticleSettings& p) {
                  canvas.multiThreaded = true;
                  p.scale = p.fadeOutRatio = p.drag = p.exp = p.radius = kNaN;
                  p.alphaIntensity = p.gravityAmount = p.power = kInf;
                  p.speed = p.gravityPower = p.scattering = -kInf;
                  p.debug = true;
                  p.createMethod = 7;
                  p.colorFadingSpeed = 0.0f;
                  p.colors[1] = {kNaN, kInf, -kInf};
                  p.colorIndex = std::numeric_limits<std::int32_t>::min();
              }),
              S_OK);
    EXPECT_TRUE(m_engine->GetParticleSystem()->IsInitialised());
    m_engine->GetParticleSystem()->SetColorIndex(g_particleSettings.colorIndex);
    PassCounter passes;
    m_engine->SetFrameProfiler(&passes);
    const std::vector<std::string> texts = DriveFrames();
    m_engine->SetFrameProfiler(nullptr);
    EXPECT_EQ(texts, std::vector<std::string>{});
    EXPECT_GT(passes.counts[static_cast<int>(FramePhase::Scene)], 0);
    EXPECT_EQ(passes.counts[static_cast<int>(FramePhase::Fade)], 0);
}

TEST_F(HostileSettings, CountsFormatsAndScalesNoCanvasCanUseEndInTheirBoxes)
{
    const std::string saveFailed = "Error save picture!\n\nError Description:\nInvalid call";
    const struct {
        const char* name;
        std::function<void(CanvasSettings&, ParticleSettings&)> edit;
        bool particles;
        std::vector<std::string> texts;
    } cases[] = {
        {"huge scale, negative method", [](CanvasSettings&, ParticleSettings& p) {
             p.scale = 1e30f;
             p.createMethod = -1;
             p.colorIndex = 99;
             p.invert = false;
         }, true, {}},
        {"zero particles", [](CanvasSettings& c, ParticleSettings&) { c.particleCount = 0; }, false,
         {"Create Vertex Buffer Error!\nTry less Particle.\n\nError Description:\nInvalid call", saveFailed}},
        {"negative count", [](CanvasSettings& c, ParticleSettings&) { c.particleCount = -5; }, false,
         {"Not enough memory for -5 particles.\nTry less Particle.\n\nError Description:\nRan out of memory", saveFailed}},
        {"unknown format", [](CanvasSettings& c, ParticleSettings&) { c.format = 42; }, false,
         {"Failed to create float4 RT\nTry smaller or lower precision Canvas.\n\nError Description:\nInvalid call",
          saveFailed}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(LoadAndBuild(c.edit), S_OK);
        EXPECT_EQ(m_engine->GetParticleSystem()->IsInitialised(), c.particles);
        EXPECT_EQ(DriveFrames(), c.texts);
        DestroyEngine();
        ResetProcessState(); // as a test of its own would start
        m_boxes.reset();
        m_boxes = std::make_unique<MessageBoxRecorder>();
    }
}

// A canvas no device can have ends the engine build in the two boxes; the caller's
// own "Init Engine Failed!" box follows in the application.
TEST_F(HostileSettings, CanvasSizesNoDeviceCanHaveFailTheDevice)
{
    for (const auto& [width, height] : {std::pair{0, 0}, {-1, 48}, {64, -2147483647 - 1}, {2147483647, 48}}) {
        EXPECT_EQ(LoadAndBuild([&](CanvasSettings& c, ParticleSettings&) {
                      c.width = width;
                      c.height = height;
                  }),
                  E_FAIL)
            << width << " x " << height;
        Send(WM_LBUTTONDOWN);
        m_engine->Render();
        DestroyEngine();
    }
    ASSERT_EQ(m_boxes->Boxes().size(), 4u);
    for (const MessageBoxRequest& box : m_boxes->Boxes()) {
        EXPECT_EQ(box.text, "Error: Invalid call");
        EXPECT_EQ(box.title, "Init DirectX error!");
    }
}

} // namespace
} // namespace lumeno::test
