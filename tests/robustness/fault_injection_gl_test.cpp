// Failures injected into a real engine build on a headless context: a shipped effect
// file that does not compile or compiles with a warning, a "screenshots" folder that is
// read-only or full, and a particle count the machine cannot hold. Each ends in its box,
// with its exact text, and the engine keeps rendering.

#include "engine_fixture.h"

#include <fstream>
#include <iterator>
#include <string>

#include "engine/effect_cache.h"
#include "mount_namespace.h"
#include "particles/particle_system.h"

namespace lumeno::test {
namespace {

constexpr const char* kEffectFailure = "Failed to create Effect\n\nError Description:\nAn undetermined error occurred";
constexpr const char* kReadOnlyFailure = "Error save picture!\n\nError Description:\nAccess is denied";
constexpr const char* kFullDiskFailure = "Error save picture!\n\nError Description:\nThere is not enough space on the disk";

class FaultInjection : public EngineTest {
protected:
    // Replaces the shared effect file with a copy that has `line` inserted at the top of
    // the Exposure section, which only the Scene technique uses.
    void InstallEffectWith(const std::string& line)
    {
        const std::filesystem::path shipped = std::filesystem::path(LUMENO_SOURCE_DIR) / kEffectFileName;
        std::ifstream in(shipped);
        std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string marker = "@fragment Exposure\n";
        const auto at = text.find(marker);
        ASSERT_NE(at, std::string::npos);
        text.insert(at + marker.size(), line + "\n");
        std::filesystem::remove(m_folder.Path() / "Engine");
        std::filesystem::create_directories(m_folder.Path() / "Engine/Shaders");
        std::ofstream(m_folder.Path() / kEffectFileName) << text;
    }

    // The engine is built, the particle system is inert, and frames and input go on.
    void ExpectRunningWithoutParticles()
    {
        EXPECT_TRUE(m_engine->IsInitialised());
        EXPECT_FALSE(m_engine->GetParticleSystem()->IsInitialised());
        EXPECT_EQ(m_engine->GetEffectCache()->ReferenceCount(kEffectFileName), 0);
        m_engine->Render();
        Send(WM_LBUTTONDOWN);
        Send(WM_RBUTTONDOWN);
        m_engine->Render();
    }

    void TearDown() override
    {
        Unmount(m_folder.Path() / "screenshots");
        EngineTest::TearDown();
    }
};

TEST_F(FaultInjection, EffectThatDoesNotCompileShowsTheLogThenFailedToCreateEffect)
{
    InstallEffectWith("this is not a shader;");
    ASSERT_EQ(BuildEngine(), S_OK);
    ASSERT_EQ(m_boxes->Boxes().size(), 2u);
    const MessageBoxRequest& log = m_boxes->Boxes()[0];
    EXPECT_EQ(log.text.rfind("Engine/Shaders/Lumeno.fx (Scene): ", 0), 0u) << log.text;
    EXPECT_NE(log.text.find("error"), std::string::npos) << log.text;
    EXPECT_EQ(log.title, "");
    EXPECT_EQ(log.icon, MessageIcon::None);
    EXPECT_EQ(m_boxes->Boxes()[1].text, kEffectFailure);
    EXPECT_EQ(m_boxes->Boxes()[1].title, "DXErrorInfo:");
    ExpectRunningWithoutParticles();
    EXPECT_EQ(m_boxes->Boxes().size(), 2u);
}

TEST_F(FaultInjection, EffectThatCompilesWithAWarningIsRefusedTheSameWay)
{
    InstallEffectWith("float UnsetForTheTest() { float unset; return unset; }");
    ASSERT_EQ(BuildEngine(), S_OK);
    ASSERT_EQ(m_boxes->Boxes().size(), 2u);
    const MessageBoxRequest& log = m_boxes->Boxes()[0];
    EXPECT_EQ(log.text.rfind("Engine/Shaders/Lumeno.fx (Scene): ", 0), 0u) << log.text;
    EXPECT_NE(log.text.find("warning"), std::string::npos) << log.text;
    EXPECT_EQ(log.text.find("error"), std::string::npos) << log.text;
    EXPECT_EQ(log.title, "");
    EXPECT_EQ(m_boxes->Boxes()[1].text, kEffectFailure);
    ExpectRunningWithoutParticles();
}

TEST_F(FaultInjection, ReadOnlyScreenshotsFolderFailsBothFormatsAndWritesNothing)
{
    std::filesystem::create_directory(m_folder.Path() / "screenshots");
    ASSERT_EQ(MountTmpfs(m_folder.Path() / "screenshots", 64, true), "");
    ASSERT_EQ(BuildEngine(), S_OK);
    m_engine->Render();
    Send(WM_KEYDOWN, VK_RETURN);
    Send(WM_KEYDOWN, VK_SHIFT);
    Send(WM_KEYDOWN, VK_RETURN);
    Send(WM_KEYUP, VK_SHIFT);
    ASSERT_EQ(m_boxes->Boxes().size(), 2u);
    for (const MessageBoxRequest& box : m_boxes->Boxes()) {
        EXPECT_EQ(box.text, kReadOnlyFailure);
        EXPECT_EQ(box.title, "DXErrorInfo:");
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_folder.Path() / "screenshots"));
    m_engine->Render();
    EXPECT_TRUE(m_engine->GetParticleSystem()->IsInitialised());
}

// A full disk must not pass for a saved picture: the writer's error is the save's error,
// and no truncated picture is left behind.
TEST_F(FaultInjection, ScreenshotOntoAFullDiskFailsAndLeavesNoPartialFile)
{
    std::filesystem::create_directory(m_folder.Path() / "screenshots");
    ASSERT_EQ(MountTmpfs(m_folder.Path() / "screenshots", 8, false), "");
    ASSERT_EQ(FillUp(m_folder.Path() / "screenshots"), "");
    ASSERT_EQ(BuildEngine(), S_OK);
    m_engine->Render();
    Send(WM_KEYDOWN, VK_RETURN);
    Send(WM_KEYDOWN, VK_SHIFT);
    Send(WM_KEYDOWN, VK_RETURN);
    ASSERT_EQ(m_boxes->Boxes().size(), 2u);
    EXPECT_EQ(m_boxes->Boxes()[0].text, kFullDiskFailure);
    EXPECT_EQ(m_boxes->Boxes()[1].text, kFullDiskFailure);
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path() / "screenshots"))
        EXPECT_EQ(entry.path().filename(), "filler");
}

// 2³¹ − 1 particles would take 128 GiB: the array cannot be had, which is said, and the
// engine runs on.
TEST_F(FaultInjection, ParticleCountBeyondMemoryIsRefusedWithItsBox)
{
    CanvasSettingsRecord().particleCount = 2147483647;
    ASSERT_EQ(BuildEngine(), S_OK);
    ASSERT_EQ(m_boxes->Boxes().size(), 1u);
    EXPECT_EQ(m_boxes->Boxes()[0].text, "Not enough memory for 2147483647 particles.\nTry less Particle.\n\n"
                                        "Error Description:\nRan out of memory");
    EXPECT_EQ(m_boxes->Boxes()[0].title, "DXErrorInfo:");
    EXPECT_TRUE(m_engine->IsInitialised());
    EXPECT_FALSE(m_engine->GetParticleSystem()->IsInitialised());
    m_engine->Render();
    Send(WM_LBUTTONDOWN);
    m_engine->Render();
}

} // namespace
} // namespace lumeno::test
