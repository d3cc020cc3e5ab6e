// Failures injected into a real engine build on a headless context: a shipped effect
// file that does not compile or compiles with a warning, a "screenshots" folder that is
// read-only or full. Each ends in its box, with its exact text, and the engine keeps
// rendering. (A particle count the machine cannot hold: particle_system_test and the
// negative count of hostile_settings_gl_test.)

#include "engine_fixture.h"

#include <fstream>
#include <string>

#include "engine/effect_cache.h"
#include "mount_namespace.h"
#include "particles/particle_system.h"
#include "support/file_bytes.h"

namespace lumeno::test {
namespace {

class FaultInjection : public EngineTest {
protected:
    // The engine is built, and frames and input go on.
    void ExpectRunning(bool particles)
    {
        EXPECT_TRUE(m_engine->IsInitialised());
        EXPECT_EQ(m_engine->GetParticleSystem()->IsInitialised(), particles);
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

// A copy of the shipped effect file with a line inserted at the top of the Exposure
// section, which only the Scene technique uses.
TEST_F(FaultInjection, EffectThatDoesNotCompileOrWarnsShowsTheLogThenFailedToCreateEffect)
{
    const struct {
        const char* line;
        const char* inLog;
        const char* notInLog;
    } cases[] = {{"this is not a shader;", "error", "no such text"},
                 {"float UnsetForTheTest() { float unset; return unset; }", "warning", "error"}};
    const std::string shipped = FileBytes(std::filesystem::path(LUMENO_SOURCE_DIR) / kEffectFileName);
    std::filesystem::remove(m_folder.Path() / "Engine");
    std::filesystem::create_directories(m_folder.Path() / "Engine/Shaders");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inLog);
        std::string text = shipped;
        const auto at = text.find("@fragment Exposure\n");
        ASSERT_NE(at, std::string::npos);
        text.insert(at + std::string("@fragment Exposure\n").size(), c.line + std::string("\n"));
        std::ofstream(m_folder.Path() / kEffectFileName) << text;
        ASSERT_EQ(BuildEngine(), S_OK);
        ASSERT_EQ(m_boxes->Boxes().size(), 2u);
        const MessageBoxRequest& log = m_boxes->Boxes()[0];
        EXPECT_EQ(log.text.rfind("Engine/Shaders/Lumeno.fx (Scene): ", 0), 0u) << log.text;
        EXPECT_NE(log.text.find(c.inLog), std::string::npos) << log.text;
        EXPECT_EQ(log.text.find(c.notInLog), std::string::npos) << log.text;
        EXPECT_EQ(log.title, "");
        EXPECT_EQ(log.icon, MessageIcon::None);
        EXPECT_EQ(m_boxes->Boxes()[1].text, "Failed to create Effect\n\nError Description:\nAn undetermined error occurred");
        EXPECT_EQ(m_boxes->Boxes()[1].title, "DXErrorInfo:");
        EXPECT_EQ(m_engine->GetEffectCache()->ReferenceCount(kEffectFileName), 0);
        ExpectRunning(false);
        EXPECT_EQ(m_boxes->Boxes().size(), 2u);
        DestroyEngine();
        m_boxes.reset();
        m_boxes = std::make_unique<MessageBoxRecorder>();
    }
}

// Both formats (Enter, Shift+Enter) into a read-only or a full "screenshots" folder: a
// full disk must not pass for a saved picture, and no truncated picture is left behind.
TEST_F(FaultInjection, ScreenshotsIntoAReadOnlyOrFullFolderFailAndWriteNothing)
{
    std::filesystem::create_directory(m_folder.Path() / "screenshots");
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "full" : "read-only");
        ASSERT_EQ(MountTmpfs(m_folder.Path() / "screenshots", full ? 8 : 64, !full), "");
        ASSERT_EQ(full ? FillUp(m_folder.Path() / "screenshots") : "", "");
        ASSERT_EQ(BuildEngine(), S_OK);
        m_engine->Render();
        Send(WM_KEYDOWN, VK_RETURN);
        Send(WM_KEYDOWN, VK_SHIFT);
        Send(WM_KEYDOWN, VK_RETURN);
        Send(WM_KEYUP, VK_SHIFT);
        ASSERT_EQ(m_boxes->Boxes().size(), 2u);
        for (const MessageBoxRequest& box : m_boxes->Boxes()) {
            EXPECT_EQ(box.text, full ? "Error save picture!\n\nError Description:\nThere is not enough space on the disk"
                                     : "Error save picture!\n\nError Description:\nAccess is denied");
            EXPECT_EQ(box.title, "DXErrorInfo:");
        }
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path() / "screenshots"))
            EXPECT_EQ(entry.path().filename(), "filler");
        ExpectRunning(true);
        DestroyEngine();
        Unmount(m_folder.Path() / "screenshots");
        m_boxes.reset();
        m_boxes = std::make_unique<MessageBoxRecorder>();
    }
}

} // namespace
} // namespace lumeno::test
