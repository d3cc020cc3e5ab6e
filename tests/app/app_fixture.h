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

#include "main_app.h"
#include "engine/render_engine.h"
#include "gl_surface_window.h"
#include "main_frame.h"
#include "main_view.h"
#include "platform/headless_window.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "support/message_box_recorder.h"
#include "support/temp_folder.h"

namespace lumeno::test {

inline std::string FileBytes(const std::string& path)
{
    return (std::ostringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static CMainApp& App() { return *static_cast<CMainApp*>(QCoreApplication::instance()); }
    CMainFrame& Frame() const { return *App().MainFrame(); }
    QWindow* FrameWindow() const { return Frame().windowHandle(); }
    QWindow* Surface() const { return &Frame().View()->Surface(); }
    QList<QAction*> MenuItems() const { return Frame().menuBar()->actions().front()->menu()->actions(); }
    QAction* MenuItem(const QString& text) const
    {
        const QList<QAction*> items = MenuItems();
        const auto found = std::find_if(items.begin(), items.end(), [&](QAction* item) { return item->text() == text; });
        return found != items.end() ? *found : nullptr;
    }
    QString XResLabel() const { return Frame().PropertiesDialog()->ControlAs<QLabel>(control_id::kXResLabel)->text(); }
    const std::vector<MessageBoxRequest>& Boxes() const { return m_boxes->Boxes(); }

    // InitInstance, then the splash out of the way unless asked to keep it.
    void Start(bool keepSplash = false);
    // Closes the frame as Exit does and lets it be deleted.
    void Close();
    void WriteSettingsFile() const;

    TempFolder m_folder;
    std::filesystem::path m_previousDirectory;
    std::unique_ptr<HeadlessWindow> m_window;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
};

} // namespace lumeno::test
