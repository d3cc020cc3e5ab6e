#include "app_fixture.h"

#include <string>

#include <QAction>
#include <QMenuBar>

#include "engine/render_engine.h"
#include "gl_surface_window.h"
#include "main_view.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/properties_dialog.h"
#include "splash_window.h"
#include "support/process_state.h"

namespace lumeno::test {
namespace {

void ResetRecords() { ResetProcessState(); }

} // namespace

void AppTest::SetUp()
{
    m_previousDirectory = std::filesystem::current_path();
    std::filesystem::create_directory_symlink(std::filesystem::path(LUMENO_SOURCE_DIR) / "Engine",
                                              m_folder.Path() / "Engine");
    std::filesystem::current_path(m_folder.Path());
    ResetRecords();
    CanvasSettingsRecord().width = 96;
    CanvasSettingsRecord().height = 64;
    CanvasSettingsRecord().particleCount = 512;
    m_boxes = std::make_unique<MessageBoxRecorder>();
    std::string error;
    m_window = HeadlessWindow::Create(kClientWidth, kClientHeight, &error);
    ASSERT_TRUE(m_window) << "no headless OpenGL context: " << error;
    App().SetRenderTargetForTesting(m_window.get());
}

void AppTest::TearDown()
{
    if (App().MainFrame() != nullptr)
        delete App().MainFrame();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(g_engine, nullptr) << "the frame shuts the engine down";
    App().SetRenderTargetForTesting(nullptr);
    m_window.reset();
    m_boxes.reset();
    std::filesystem::current_path(m_previousDirectory);
    ResetRecords();
}

QWindow* AppTest::Surface() const { return &Frame().View()->Surface(); }

void AppTest::Start(bool keepSplash)
{
    ASSERT_TRUE(App().InitInstance());
    // The properties dialog shows once the frame's window is up, from the event queue.
    QCoreApplication::sendPostedEvents(Frame().PropertiesDialog(), QEvent::MetaCall);
    // So does the splash.
    if (CSplashWindow::Current() != nullptr)
        QCoreApplication::sendPostedEvents(CSplashWindow::Current(), QEvent::MetaCall);
    if (!keepSplash && CSplashWindow::Current() != nullptr)
        CSplashWindow::Current()->Hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void AppTest::Close()
{
    const QList<QAction*> items = Frame().menuBar()->actions().front()->menu()->actions();
    items.back()->trigger(); // E&xit
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void AppTest::WriteSettingsFile() const
{
    ASSERT_TRUE(SaveSettingsTo(kSettingsFileName, CanvasSettingsRecord(), g_particleSettings));
}

} // namespace lumeno::test
