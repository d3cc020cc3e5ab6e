#pragma once
// The main window: the menu, the client view with the GL surface the device presents
// into, the properties and help dialogs, the frame timer and the splash. It turns keys
// and mouse input into engine and settings operations (its pre-translation) and hosts
// the properties dialog.
//
// The engine itself is built by the application (CMainApp::RebuildEngine), reached
// through the callback given at construction; the frame shuts it down when it goes.
//
// Beside those keys the frame has its own: F11 fullscreen (Escape leaves it), R, which
// records the shown picture into a film (frame_recording.h), A, which hands the pointer to
// the autopilot (play/autopilot.h) and takes it back, and M, which plays the toy to what
// the computer hears (play/music_listening.h). The menu's Randomise (N) draws a new look
// and Undo Randomise (Ctrl+Z) puts back the one before it (play/look_undo.h).

#include <functional>
#include <optional>

#include <QMainWindow>
#include <QTimer>

#include "frame_recording.h"
#include "platform/window_message.h"
#include "play/autopilot.h"
#include "play/look_undo.h"
#include "play/music_listening.h"
#include "qt_clipboard.h"
#include "settings/ui/properties_host.h"

class QAction;
class QDialog;

namespace lumeno {

class CMainView;
class CPropertiesDialog;
class RenderWindow;
class SettingsPresets;

inline constexpr const char* kFrameTitle = "   .:: Lumeno beta1 ::.";
// Appended to the caption while a film is recorded.
inline constexpr const char* kRecordingCaption = " - recording";
// Appended to the caption while the autopilot steers.
inline constexpr const char* kAutopilotCaption = " - autopilot";
// Appended to the caption while the toy listens to the sound input.
inline constexpr const char* kListeningCaption = " - listening";
// The shortest interval a window timer has on the platform this program was made for;
// with one simulation step a frame, it keeps the motion at its designed speed.
inline constexpr int kFrameTimerMs = 10;

class CMainFrame final : public QMainWindow, private PropertiesDialogHost {
    Q_OBJECT

public:
    explicit CMainFrame(std::function<void()> rebuildEngine);
    // Shuts the engine down first, then destroys the help dialog, the properties
    // dialog and the view, in that order.
    ~CMainFrame() override;

    void ShowProperties();
    void ShowHelp();
    void RefreshProperties();

    // Shows the frame maximised, filling the screen's free area also where no window
    // manager maximises it.
    void ShowMaximised();
    // Fullscreen without the menu bar, the canvas centred as in the window; leaving it
    // gives back the window as it was (maximised or not).
    void ToggleFullscreen();
    void LeaveFullscreen();
    bool IsRecording() const { return m_recording.IsRecording(); }
    // A new path each time it is turned on; off, the pointer is the mouse's again.
    void ToggleAutopilot();
    bool IsAutopilotOn() const { return m_autopilot.has_value(); }
    MusicListening& Listening() { return m_listening; }

    // For an input event on its way to `target`, before anyone else sees it: acts on it
    // when the target is this frame's window or its GL surface. Never consumes it.
    bool PreTranslateMessage(QObject* target, QEvent* event);
    // The engine's input handler, then the frame's own keys.
    void HandleMessage(const WindowMessage& message);

    // Where the engine renders, and whether its picture shows.
    RenderWindow* RenderTarget();
    void ShowCanvas(bool visible);

    CMainView* View() const { return m_view; }
    CPropertiesDialog* PropertiesDialog() const { return m_properties; }
    QDialog* HelpDialog() const { return m_help; }
    const QTimer& FrameTimer() const { return m_frameTimer; }
    // Open Settings..., Save Settings As... and settings files dropped on the window.
    SettingsPresets& Presets() const { return *m_presets; }

    // The menu's Randomise and Undo Randomise: the look changes in place, on a fresh
    // canvas, and the properties dialog shows it.
    void RandomiseLook();
    void UndoRandomiseLook();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenu();
    // Drops on the frame (and so on the view) and on the GL surface open settings files.
    void AcceptSettingsDrops();
    void OnFrameTimer();
    // The title with what the frame is doing: the autopilot, listening, recording (last,
    // so that the caption ends in it while a film is made).
    void UpdateCaption();
    // A move to where the mouse is, when it is over the canvas's surface.
    void MovePointerToMouse();
    std::optional<WindowMessage> TranslateInput(QObject* target, QEvent* event) const;
    // The engine's handler, the frame's keys and the window's; Escape leaves fullscreen
    // only where it is not a dialog's key.
    void HandleInput(const WindowMessage& message, bool escapeLeavesFullscreen);

    // PropertiesDialogHost
    void RebuildEngine() override;
    bool SupportsPostPixelShaderBlending(int format) override;
    CParticleSystem* ParticleSystem() override;
    void ForwardKeyDown(const WindowMessage& message) override;
    void RedrawMainWindow() override;
    ParticleSettings SettingsToSave() override { return m_listening.UsersSettings(); }

    std::function<void()> m_rebuildEngine;
    CMainView* m_view = nullptr;
    CPropertiesDialog* m_properties = nullptr;
    QDialog* m_help = nullptr;
    QTimer m_frameTimer;
    QtClipboard m_clipboard;
    SettingsPresets* m_presets = nullptr; // owned as a child
    FrameRecording m_recording;
    std::optional<Autopilot> m_autopilot;
    MusicListening m_listening;
    bool m_captionRecording = false;
    bool m_captionListening = false;
    bool m_maximisedBeforeFullscreen = true;
    LookUndo m_looks;
    QAction* m_randomise = nullptr;
    QAction* m_undoRandomise = nullptr; // enabled while there is a look to put back
};

} // namespace lumeno
