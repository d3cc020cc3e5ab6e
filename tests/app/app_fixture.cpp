// The application tests' fixture and main: the real application object on the offscreen
// platform. Each test runs its own start-up (InitInstance) and closes the frame afterwards.

#include "app_fixture.h"

#include <QStandardPaths>

#include "splash_window.h"
#include "support/process_state.h"

namespace lumeno::test {

void AppTest::SetUp()
{
    m_previousDirectory = std::filesystem::current_path();
    std::filesystem::create_directory_symlink(std::filesystem::path(LUMENO_SOURCE_DIR) / "Engine",
                                              m_folder.Path() / "Engine");
    std::filesystem::current_path(m_folder.Path());
    ResetProcessState();
    CanvasSettingsRecord().width = 96;
    CanvasSettingsRecord().height = 64;
    CanvasSettingsRecord().particleCount = 512;
    m_boxes = std::make_unique<MessageBoxRecorder>();
    std::string error;
    m_window = HeadlessWindow::Create(320, 240, &error);
    ASSERT_TRUE(m_window) << "no headless OpenGL context: " << error;
    App().SetRenderTargetForTesting(m_window.get());
}

void AppTest::TearDown()
{
    delete App().MainFrame();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(g_engine, nullptr) << "the frame shuts the engine down";
    App().SetRenderTargetForTesting(nullptr);
    std::filesystem::current_path(m_previousDirectory);
    ResetProcessState();
}

void AppTest::Start(bool keepSplash)
{
    ASSERT_TRUE(App().InitInstance());
    // The properties dialog and the splash show once the frame's window is up, from the
    // event queue.
    QCoreApplication::sendPostedEvents(Frame().PropertiesDialog(), QEvent::MetaCall);
    if (CSplashWindow::Current() != nullptr)
        QCoreApplication::sendPostedEvents(CSplashWindow::Current(), QEvent::MetaCall);
    if (!keepSplash && CSplashWindow::Current() != nullptr)
        CSplashWindow::Current()->Hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void AppTest::Close()
{
    MenuItems().back()->trigger(); // E&xit
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void AppTest::WriteSettingsFile() const
{
    ASSERT_TRUE(SaveSettingsTo(kSettingsFileName, CanvasSettingsRecord(), g_particleSettings));
}

} // namespace lumeno::test

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    lumeno::CMainApp application(argc, argv);
    // Tests close frames one after another; none of them ends the run.
    application.setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
