#pragma once
// A start-up of the application in a fresh working directory that sees the shipped
// effect file, with small canvases (96 x 64), every box recorded, and the engine
// rendering into a 320 x 240 headless window instead of the frame's surface (the
// offscreen platform has no GL).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include "engine/render_engine.h"
#include "gl_surface_window.h"
#include "main_app.h"
#include "main_view.h"
#include "platform/headless_window.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "splash_window.h"
#include "support/file_bytes.h"
#include "support/message_box_recorder.h"
#include "support/working_folder.h"

namespace lumeno::test {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CanvasSettingsRecord().width = 96;
        CanvasSettingsRecord().height = 64;
        CanvasSettingsRecord().particleCount = 512;
        std::string error;
        m_window = HeadlessWindow::Create(320, 240, &error);
        ASSERT_TRUE(m_window) << "no headless OpenGL context: " << error;
        App().SetRenderTargetForTesting(m_window.get());
    }

    void TearDown() override
    {
        delete App().MainFrame();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(g_engine, nullptr) << "the frame shuts the engine down";
        App().SetRenderTargetForTesting(nullptr);
    }

    static CMainApp& App() { return *static_cast<CMainApp*>(QCoreApplication::instance()); }
    CMainFrame& Frame() const { return *App().MainFrame(); }
    QWindow* FrameWindow() const { return Frame().windowHandle(); }
    QWindow* Surface() const { return &Frame().View()->Surface(); }
    QList<QAction*> MenuItems() const { return Frame().menuBar()->actions().front()->menu()->actions(); }
    QAction* MenuItem(const QString& text) const
    {
        for (QAction* item : MenuItems())
            if (item->text() == text)
                return item;
        return nullptr;
    }
    QString XResLabel() const { return Frame().PropertiesDialog()->ControlAs<QLabel>(control_id::kXResLabel)->text(); }
    const std::vector<MessageBoxRequest>& Boxes() const { return m_boxes.Boxes(); }
    std::vector<ShownBox> Shown() const { return m_boxes.Shown(); }

    // InitInstance, then the splash out of the way unless asked to keep it. The dialog and
    // the splash show once the frame's window is up, from the event queue.
    void Start(bool keepSplash = false)
    {
        ASSERT_TRUE(App().InitInstance());
        QCoreApplication::sendPostedEvents(Frame().PropertiesDialog(), QEvent::MetaCall);
        if (CSplashWindow::Current() != nullptr)
            QCoreApplication::sendPostedEvents(CSplashWindow::Current(), QEvent::MetaCall);
        if (!keepSplash && CSplashWindow::Current() != nullptr)
            CSplashWindow::Current()->Hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Closes the frame as E&xit does and lets it be deleted.
    void Close()
    {
        MenuItems().back()->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    WorkingFolder m_folder;
    std::unique_ptr<HeadlessWindow> m_window;
    MessageBoxRecorder m_boxes;
};

} // namespace lumeno::test
