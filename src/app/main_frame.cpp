#include "main_frame.h"

#include <utility>

#include <QAction>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QUrl>

#include "engine/frame_keys.h"
#include "engine/render_device.h"
#include "engine/render_engine.h"
#include "engine/view_keys.h"
#include "play/seeded_random.h"
#include "engine_lifetime.h"
#include "gl_surface_window.h"
#include "platform/gl/gl_device.h"
#include "help_dialog.h"
#include "main_view.h"
#include "qt_sound_input.h"
#include "settings/ui/properties_dialog.h"
#include "settings_drop.h"
#include "settings_presets.h"
#include "splash_window.h"
#include "window_messages.h"

namespace lumeno {

// The creation steps, in order: view, properties dialog, help dialog, the properties
// dialog shown and refreshed, the focus, the frame timer, the splash.
CMainFrame::CMainFrame(std::function<void()> rebuildEngine)
    : m_rebuildEngine(std::move(rebuildEngine)),
      m_recording([this](bool recording) {
          m_captionRecording = recording;
          UpdateCaption();
      }),
      m_listening([] { return std::make_unique<QtSoundInput>(); },
                  [this](bool listening) {
                      m_captionListening = listening;
                      UpdateCaption();
                  },
                  // As the user's own input; Escape is not among the music's keys.
                  [this](const WindowMessage& message) { HandleInput(message, false); }),
      m_looks(FreshSeed())
{
    setWindowTitle(QString::fromUtf8(kFrameTitle));
    m_listening.onBeat = [this] {
        if (m_autopilot)
            m_autopilot->HopOnBeat();
    };
    CreateMenu();

    m_view = new CMainView(this);
    setCentralWidget(m_view);
    AcceptSettingsDrops();
    m_properties = new CPropertiesDialog(*this, this);
    // N and Ctrl+Z also from the properties dialog, as the frame's other keys are; not from
    // the help dialog, whose keys are its own.
    m_properties->addActions({m_randomise, m_undoRandomise});
    m_help = CreateHelpDialog(this);
    m_properties->ShowAtHomePosition();
    RefreshProperties();
    m_view->setFocus();

    connect(&m_frameTimer, &QTimer::timeout, this, &CMainFrame::OnFrameTimer);
    m_frameTimer.start(kFrameTimerMs);

    CSplashWindow::Show(kSplashDisplayMs, kSplashBitmap, this);
}

CMainFrame::~CMainFrame()
{
    m_frameTimer.stop();
    m_recording.Stop(false);
    m_listening.Stop();
    // The engine renders into the view's surface: it goes while that still exists.
    DestroyEngine();
    delete m_help;
    delete m_properties;
    // Null while it goes: its children's teardown still sends events through the
    // application's filter, which must not reach into a half-destroyed view.
    delete std::exchange(m_view, nullptr);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Closing hides the window and may take the surface's native window with it; the
    // engine goes first, while its context can still be made current on that window.
    // A film being made ends with what it holds. Listening ends before anything is kept,
    // so the settings are the user's, not those of the music's last frame.
    m_frameTimer.stop();
    m_recording.Stop(false);
    m_listening.Stop();
    DestroyEngine();
    QMainWindow::closeEvent(event);
}

void CMainFrame::CreateMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Lumeno!"));
    menu->addAction(QStringLiteral("Properties..."), this, &CMainFrame::ShowProperties);
    menu->addAction(QStringLiteral("Help.."), this, &CMainFrame::ShowHelp);
    m_presets = new SettingsPresets(*this, [this] { RefreshProperties(); }, [this] { RebuildEngine(); },
                                    [this] { return SettingsToSave(); });
    menu->addAction(QStringLiteral("Open Settings..."), m_presets, &SettingsPresets::OpenChosen);
    menu->addAction(QStringLiteral("Save Settings As..."), m_presets, &SettingsPresets::SaveChosen);
    // Window shortcuts, not application ones: N would otherwise be taken from the help
    // dialog and from the fields of the file dialogs.
    m_randomise = menu->addAction(QStringLiteral("Randomise"), this, &CMainFrame::RandomiseLook);
    m_randomise->setShortcut(QKeySequence(Qt::Key_N));
    m_undoRandomise = menu->addAction(QStringLiteral("Undo Randomise"), this, &CMainFrame::UndoRandomiseLook);
    m_undoRandomise->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_undoRandomise->setEnabled(false);
    // Also the frame's own, so that they work in fullscreen, where the menu bar is hidden.
    addActions({m_randomise, m_undoRandomise});
    // The folder of the settings, screenshots and films, in the desktop's file manager.
    menu->addAction(QStringLiteral("Open Lumeno Folder"), this,
                    [] { QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::currentPath())); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
}

void CMainFrame::AcceptSettingsDrops()
{
    setAcceptDrops(true);
    auto* drops = new SettingsDropFilter(this, [this](const QString& path) { m_presets->Open(path); });
    drops->Watch(*this);
    drops->Watch(m_view->Surface());
}

void CMainFrame::ShowProperties()
{
    m_properties->ShowAtHomePosition();
    RefreshProperties();
}

void CMainFrame::ShowHelp()
{
    // Where it was last, on top.
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void CMainFrame::RefreshProperties() { m_properties->UpdateControls(); }

void CMainFrame::RandomiseLook()
{
    MakeEngineCurrent();
    m_looks.Randomise();
    m_undoRandomise->setEnabled(m_looks.CanUndo());
    RefreshProperties();
}

void CMainFrame::UndoRandomiseLook()
{
    MakeEngineCurrent();
    m_looks.Undo();
    m_undoRandomise->setEnabled(m_looks.CanUndo());
    RefreshProperties();
}

void CMainFrame::ShowMaximised()
{
    // Beneath the maximised state the frame keeps a normal place, which the window
    // manager's restore gives back: three quarters of the room of the screen it opens
    // on, centred, so that its title bar lies on the screen.
    if (const QScreen* target = screen()) {
        const QRect room = target->availableGeometry();
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, room.size() * 3 / 4, room));
    }
    showMaximized();
}

void CMainFrame::ToggleFullscreen()
{
    if (isFullScreen()) {
        LeaveFullscreen();
        return;
    }
    m_maximisedBeforeFullscreen = isMaximized();
    menuBar()->hide();
    showFullScreen();
}

void CMainFrame::LeaveFullscreen()
{
    if (!isFullScreen())
        return;
    menuBar()->show();
    if (m_maximisedBeforeFullscreen)
        showMaximized();
    else
        showNormal();
}

RenderWindow* CMainFrame::RenderTarget() { return &m_view->Surface(); }

void CMainFrame::ShowCanvas(bool visible) { m_view->ShowSurface(visible); }

void CMainFrame::UpdateCaption()
{
    QString caption = QString::fromUtf8(kFrameTitle);
    if (m_autopilot)
        caption += QString::fromUtf8(kAutopilotCaption);
    if (m_captionListening)
        caption += QString::fromUtf8(kListeningCaption);
    if (m_captionRecording)
        caption += QString::fromUtf8(kRecordingCaption);
    setWindowTitle(caption);
}

void CMainFrame::ToggleAutopilot()
{
    if (m_autopilot) {
        m_autopilot.reset();
        MovePointerToMouse();
    } else {
        m_autopilot.emplace(FreshSeed());
    }
    UpdateCaption();
}

void CMainFrame::MovePointerToMouse()
{
    QWindow& surface = m_view->Surface();
    const QPointF at = surface.mapFromGlobal(QCursor::pos());
    if (!QRectF(QPointF(0, 0), surface.size()).contains(at))
        return;
    const QMouseEvent move(QEvent::MouseMove, at, QCursor::pos(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    if (const std::optional<WindowMessage> message = MouseMessage(move, at, surface.devicePixelRatio()))
        HandleInput(*message, true);
}

void CMainFrame::OnFrameTimer()
{
    m_recording.Watch();
    if (g_engine == nullptr)
        return;
    m_listening.BeforeFrame();
    MakeEngineCurrent();
    if (m_autopilot)
        m_autopilot->Steer(*g_engine, g_engine->NowMs(),
                           [this](const WindowMessage& message) { HandleInput(message, true); });
    g_engine->Render();
}

// Input events are looked at where they enter the program, at a window: the frame's own
// (the view and the menu bar) or the GL surface over the view. Those of the dialogs stay
// theirs; the properties dialog forwards its key-downs itself.
std::optional<WindowMessage> CMainFrame::TranslateInput(QObject* target, QEvent* event) const
{
    if (m_view == nullptr)
        return std::nullopt;
    QWindow* surface = &m_view->Surface();
    const bool atSurface = target == surface;
    if (!atSurface && (target != windowHandle() || windowHandle() == nullptr))
        return std::nullopt;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return KeyMessage(static_cast<const QKeyEvent&>(*event));
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (atSurface)
            return MouseMessage(mouse, mouse.position(), surface->devicePixelRatio());
        // Over the frame's window the view is the client area; the menu bar is not.
        const QPointF inView = m_view->mapFrom(this, mouse.position());
        if (!m_view->rect().contains(inView.toPoint()))
            return std::nullopt;
        return MouseMessage(mouse, inView, m_view->devicePixelRatioF());
    }
    default:
        return std::nullopt;
    }
}

bool CMainFrame::PreTranslateMessage(QObject* target, QEvent* event)
{
    if (const std::optional<WindowMessage> message = TranslateInput(target, event))
        HandleInput(*message, true);
    return false;
}

void CMainFrame::HandleMessage(const WindowMessage& message) { HandleInput(message, true); }

void CMainFrame::HandleInput(const WindowMessage& message, bool escapeLeavesFullscreen)
{
    // While the autopilot steers, the mouse does not.
    if (g_engine != nullptr && !(m_autopilot && Autopilot::TakesOver(message))) {
        MakeEngineCurrent();
        g_engine->HandleMessage(message);
    }
    HandleFrameKeys(message, FrameKeyActions{
                                 [this] { m_properties->ToggleDebug(); },
                                 [this](int) { m_properties->SyncColorRadios(); },
                                 [this] { g_engine->CopyToClipboard(m_clipboard); },
                             });
    HandleViewKeys(message, ViewKeyActions{
                                [this] { return isFullScreen(); },
                                [this] { ToggleFullscreen(); },
                                escapeLeavesFullscreen ? std::function<void()>([this] { LeaveFullscreen(); }) : nullptr,
                                [this] { m_recording.Toggle(); },
                                [this] { ToggleAutopilot(); },
                                [this] { m_listening.Toggle(); },
                            });
}

void CMainFrame::RebuildEngine()
{
    // A film keeps one canvas size; the new engine may have another.
    m_recording.Stop(true);
    m_rebuildEngine();
}

bool CMainFrame::SupportsPostPixelShaderBlending(int format)
{
    // No device, nothing to warn about.
    if (g_engine == nullptr || g_engine->GetDevice() == nullptr)
        return true;
    return g_engine->GetDevice()->SupportsPostPixelShaderBlending(format);
}

CParticleSystem* CMainFrame::ParticleSystem() { return g_engine != nullptr ? g_engine->GetParticleSystem() : nullptr; }

// Escape in the dialog is the dialog's: it hides it.
void CMainFrame::ForwardKeyDown(const WindowMessage& message) { HandleInput(message, false); }

void CMainFrame::RedrawMainWindow() { repaint(); }

} // namespace lumeno
