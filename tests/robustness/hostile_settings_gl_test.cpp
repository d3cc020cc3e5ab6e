// Settings files that only a hand edit or a broken disk gives, loaded as they are and
// built into an engine on a real headless context: the build works or ends in its
// boxes, and frames, input and screenshots go on without a crash or undefined
// behaviour (the sanitizer builds run these too).

#include "engine_fixture.h"

#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "particles/particle_system.h"
#include "settings/settings_file.h"

namespace lumeno::test {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// A 64 x 48 canvas of 500 particles, every other field at its default, then `edit`.
template <typename Edit>
std::vector<std::byte> SettingsFile(Edit edit)
{
    CanvasSettings canvas;
    canvas.width = 64;
    canvas.height = 48;
    canvas.format = kFormatRGBA32F;
    canvas.particleCount = 500;
    ParticleSettings particles;
    edit(canvas, particles);
    return EncodeSettings(canvas, particles);
}

class HostileSettings : public EngineTest {
protected:
    // Writes the bytes as the settings file, loads it through the start-up path and
    // builds the engine in a fixed 64 x 48 window (the file's scale may be anything).
    HRESULT LoadAndBuild(const std::vector<std::byte>& bytes)
    {
        std::ofstream(kSettingsFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(LoadSettings());
        std::string error;
        m_window = HeadlessWindow::Create(64, 48, &error);
        if (!m_window) {
            ADD_FAILURE() << "no headless context: " << error;
            return E_FAIL;
        }
        m_engine = std::make_unique<CRenderEngine>();
        g_engine = m_engine.get();
        return m_engine->Init(m_window.get());
    }

    // Frames with every input the engine takes, a screenshot into an existing folder.
    void DriveFrames()
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
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const MessageBoxRequest& box : m_boxes->Boxes())
            texts.push_back(box.text);
        return texts;
    }
};

TEST_F(HostileSettings, NotANumberInfinitiesAndOutOfRangeIndicesRunWithoutABox)
{
    const auto bytes = SettingsFile([](CanvasSettings& canvas, ParticleSettings& p) {
        canvas.multiThreaded = true;
        p.scale = kNaN;
        p.alphaIntensity = kInf;
        p.fadeOutRatio = kNaN;
        p.speed = -kInf;
        p.drag = kNaN;
        p.gravityAmount = kInf;
        p.gravityPower = -kInf;
        p.exp = kNaN;
        p.debug = true;
        p.createMethod = 7;
        p.radius = kNaN;
        p.power = kInf;
        p.scattering = -kInf;
        p.colorFadingSpeed = 0.0f;
        p.colors[1] = {kNaN, kInf, -kInf};
        p.colorIndex = std::numeric_limits<std::int32_t>::min();
    });
    ASSERT_EQ(LoadAndBuild(bytes), S_OK);
    EXPECT_TRUE(m_engine->GetParticleSystem()->IsInitialised());
    m_engine->GetParticleSystem()->SetColorIndex(g_particleSettings.colorIndex);
    DriveFrames();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
}

TEST_F(HostileSettings, HugeScaleAndNegativeCreateMethodRunWithoutABox)
{
    const auto bytes = SettingsFile([](CanvasSettings&, ParticleSettings& p) {
        p.scale = 1e30f;
        p.createMethod = -1;
        p.colorIndex = 99;
        p.invert = false;
    });
    ASSERT_EQ(LoadAndBuild(bytes), S_OK);
    DriveFrames();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
}

TEST_F(HostileSettings, ZeroParticlesCannotHaveAVertexBuffer)
{
    ASSERT_EQ(LoadAndBuild(SettingsFile([](CanvasSettings& c, ParticleSettings&) { c.particleCount = 0; })), S_OK);
    EXPECT_FALSE(m_engine->GetParticleSystem()->IsInitialised());
    DriveFrames();
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "Create Vertex Buffer Error!\nTry less Particle.\n\nError Description:\nInvalid call",
                           "Error save picture!\n\nError Description:\nInvalid call"}));
}

TEST_F(HostileSettings, NegativeParticleCountIsRefusedBeforeAnythingIsMade)
{
    ASSERT_EQ(LoadAndBuild(SettingsFile([](CanvasSettings& c, ParticleSettings&) { c.particleCount = -5; })), S_OK);
    EXPECT_FALSE(m_engine->GetParticleSystem()->IsInitialised());
    DriveFrames();
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "Not enough memory for -5 particles.\nTry less Particle.\n\nError Description:\nRan out of memory",
                           "Error save picture!\n\nError Description:\nInvalid call"}));
}

TEST_F(HostileSettings, UnknownCanvasFormatFailsTheCanvasesOnly)
{
    ASSERT_EQ(LoadAndBuild(SettingsFile([](CanvasSettings& c, ParticleSettings&) { c.format = 42; })), S_OK);
    EXPECT_FALSE(m_engine->GetParticleSystem()->IsInitialised());
    DriveFrames();
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[0], "Failed to create float4 RT\nTry smaller or lower precision Canvas.\n\n"
                          "Error Description:\nInvalid call");
}

// A canvas no device can have ends the engine build in the two boxes; the caller's
// own "Init Engine Failed!" box follows in the application.
TEST_F(HostileSettings, CanvasSizesNoDeviceCanHaveFailTheDevice)
{
    const std::pair<std::int32_t, std::int32_t> sizes[] = {
        {0, 0}, {-1, 48}, {64, -2147483647 - 1}, {2147483647, 48}};
    for (const auto& [width, height] : sizes) {
        const auto bytes = SettingsFile([&](CanvasSettings& c, ParticleSettings&) {
            c.width = width;
            c.height = height;
        });
        EXPECT_EQ(LoadAndBuild(bytes), E_FAIL) << width << " x " << height;
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
