#pragma once
// A start-up of the application in a fresh working directory that sees the shipped
// effect file, with small canvases, every box recorded, and the engine rendering into a
// headless window instead of the frame's surface (the offscreen platform has no GL).

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <QWindow>

#include "main_app.h"
#include "main_frame.h"
#include "platform/headless_window.h"
#include "support/message_box_recorder.h"
#include "support/temp_folder.h"

namespace lumeno::test {

inline constexpr int kClientWidth = 320;
inline constexpr int kClientHeight = 240;

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static CMainApp& App() { return *static_cast<CMainApp*>(QCoreApplication::instance()); }
    CMainFrame& Frame() const { return *App().MainFrame(); }
    QWindow* FrameWindow() const { return Frame().windowHandle(); }
    QWindow* Surface() const;

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
