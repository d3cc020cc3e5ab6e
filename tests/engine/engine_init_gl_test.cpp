#include "engine_fixture.h"

#include <fstream>
#include <string>

#include "engine/effect_cache.h"
#include "engine/render_device.h"
#include "particles/particle_system.h"
#include "platform/render_window.h"

namespace lumeno::test {
namespace {

class NoContextWindow final : public RenderWindow {
public:
    GlContext* Context() override { return nullptr; }
    int ClientWidth() const override { return 64; }
    int ClientHeight() const override { return 48; }
};

using EngineInit = EngineTest;

constexpr const char* kInitFailed = "Error: An undetermined error occurred";

// The process's peak resident memory (VmHWM) in KiB.
long PeakMemoryKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

TEST_F(EngineInit, BuildsDeviceCacheParticlesAndClearsTheCanvas)
{
    ASSERT_EQ(BuildEngine(), S_OK);
    EXPECT_TRUE(m_engine->IsInitialised());
    EXPECT_EQ(g_device, m_engine->GetGlDevice());
    EXPECT_EQ(m_engine->GetAspect(), 0.75f);
    ASSERT_TRUE(m_engine->GetParticleSystem()->IsInitialised());
    EXPECT_EQ(m_engine->GetEffectCache()->ReferenceCount("Engine/Shaders/Lumeno.fx"), 1);
    EXPECT_TRUE(m_boxes->Boxes().empty());

    // Invert is on by default: both canvases start white with alpha 0.
    const std::vector<float> canvas = ReadCanvas();
    ASSERT_EQ(canvas.size(), 64u * 48u * 4u);
    EXPECT_EQ(canvas[0], 1.0f);
    EXPECT_EQ(canvas[3], 0.0f);

    m_engine->Shutdown();
    EXPECT_FALSE(m_engine->IsInitialised());
    EXPECT_EQ(g_device, nullptr) << "the global must not outlive the device";
    EXPECT_EQ(m_engine->GetParticleSystem(), nullptr);
    EXPECT_EQ(m_engine->GetEffectCache(), nullptr);
    EXPECT_EQ(m_engine->GetDevice(), nullptr);
    m_engine->Shutdown(); // twice is harmless
}

TEST_F(EngineInit, DeviceThatCannotBeCreatedSaysSoUnderInitDirectXError)
{
    NoContextWindow window;
    CRenderEngine engine;
    EXPECT_EQ(engine.Init(&window), E_FAIL);
    EXPECT_EQ(m_boxes->Shown(), (std::vector<ShownBox>{{kInitFailed, "Init DirectX error!", MessageIcon::Error}}));
    EXPECT_FALSE(engine.IsInitialised());
    engine.Shutdown(); // only the half-built device wrapper exists
    engine.Render();   // and nothing renders
}

TEST_F(EngineInit, OldContextIsRefusedByVertexThenPixelCheck)
{
    m_hooks.claimedVersion = ContextVersion{3, 0, 1, 30};
    EXPECT_EQ(BuildEngine(), E_FAIL);
    m_hooks.claimedVersion = ContextVersion{3, 3, 1, 50};
    EXPECT_EQ(BuildEngine(), E_FAIL);
    m_hooks.claimedVersion.reset();

    EXPECT_EQ(m_boxes->Shown(), (std::vector<ShownBox>{{"Minimum vertex shader: 1.0", "Error", MessageIcon::Error},
                                                       {kInitFailed, "Init DirectX error!", MessageIcon::Error},
                                                       {"Minimum pixel shader: 2.0", "Error", MessageIcon::Error},
                                                       {kInitFailed, "Init DirectX error!", MessageIcon::Error}}));
}

TEST_F(EngineInit, ParticleSystemFailuresLeaveARunningEngine)
{
    // No effect file in the working directory.
    std::filesystem::remove(m_folder.Path() / "Engine");
    ASSERT_EQ(BuildEngine(), S_OK);
    const ShownBox noEffect{"Failed to create Effect\n\nError Description:\nAn undetermined error occurred",
                            "DXErrorInfo:", MessageIcon::Warning};
    EXPECT_EQ(m_boxes->Shown(), std::vector<ShownBox>{noEffect});
    EXPECT_FALSE(m_engine->GetParticleSystem()->IsInitialised());
    m_engine->Render(); // frames go on without particles
    Send(WM_LBUTTONDOWN);
    Send(WM_RBUTTONDOWN);
    Send(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(m_boxes->Shown(),
              (std::vector<ShownBox>{noEffect,
                                     {"Error save picture!\n\nError Description:\nInvalid call", "DXErrorInfo:",
                                      MessageIcon::Warning}}));
}

TEST_F(EngineInit, CanvasAndVertexBufferFailuresHaveTheirBoxes)
{
    ASSERT_EQ(BuildEngine(), S_OK);
    CParticleSystem system(*m_engine);
    system.Init({100000, 48, 10});
    EXPECT_FALSE(system.IsInitialised());
    CanvasSettingsRecord().format = 42;
    system.Init({64, 48, 10});
    EXPECT_FALSE(system.IsInitialised());
    CanvasSettingsRecord().format = kFormatRGBA8;
    // Over a gigabyte of vertices: refused, and the array allocated before that check
    // was never written, so the process never held its gigabyte.
    const long peakBefore = PeakMemoryKiB();
    system.Init({64, 48, 17'000'000});
    EXPECT_FALSE(system.IsInitialised());
    EXPECT_LT(PeakMemoryKiB() - peakBefore, 256 * 1024);

    const ShownBox canvas{"Failed to create float4 RT\nTry smaller or lower precision Canvas.\n\nError Description:\nInvalid call",
                          "DXErrorInfo:", MessageIcon::Warning};
    EXPECT_EQ(m_boxes->Shown(),
              (std::vector<ShownBox>{canvas, canvas,
                                     {"Create Vertex Buffer Error!\nTry less Particle.\n\nError Description:\nOut of "
                                      "video memory",
                                      "DXErrorInfo:", MessageIcon::Warning}}));
    EXPECT_EQ(m_engine->GetEffectCache()->ReferenceCount("Engine/Shaders/Lumeno.fx"), 1)
        << "failed systems gave their effect back";

    system.Init({64, 48, 10});
    EXPECT_TRUE(system.IsInitialised()) << "ready again after a failure";
}

} // namespace
} // namespace lumeno::test
