#include "splash_window.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

#include "window_messages.h"

namespace lumeno {

bool CSplashWindow::s_enabled = false;
CSplashWindow* CSplashWindow::s_current = nullptr;

CSplashWindow::CSplashWindow(QImage bitmap, QWidget* owner)
    // Above every other window while it is shown, the frame's own dialogs included: the
    // properties dialog opens at the same time and would otherwise cover part of it.
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_bitmap(std::move(bitmap))
{
    // Painted entirely by paintEvent: no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_bitmap.size());
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWindow::Hide);
}

CSplashWindow::~CSplashWindow()
{
    if (s_current == this)
        s_current = nullptr;
}

void CSplashWindow::Enable(bool enable) { s_enabled = enable; }

bool CSplashWindow::Show(int displayMs, int bitmapId, QWidget* owner)
{
    if (!s_enabled || s_current != nullptr)
        return false;
    QImage bitmap = LoadSplashBitmap(bitmapId);
    if (bitmap.isNull())
        return false;
    auto* splash = new CSplashWindow(std::move(bitmap), owner);
    s_current = splash;
    splash->CenterWindow(owner);
    // A window manager stacks an owned window above its owner only when the owner was
    // mapped first: before the frame is on screen, the splash waits for it (its time runs
    // from now all the same).
    if (owner != nullptr && !owner->isVisible())
        owner->installEventFilter(splash);
    else
        splash->ShowNow();
    splash->m_timer.start(displayMs);
    return true;
}

void CSplashWindow::ShowNow()
{
    show();
    raise();
    repaint();
}

bool CSplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched == parentWidget()) {
        watched->removeEventFilter(this);
        // The owner's show event comes before its window is mapped: show once that is done,
        // unless the splash went in the meantime.
        QMetaObject::invokeMethod(
            this, [this] {
                if (s_current == this)
                    ShowNow();
            },
            Qt::QueuedConnection);
    }
    return false;
}

void CSplashWindow::CenterWindow(const QWidget* owner)
{
    QRect area;
    if (owner != nullptr && owner->isVisible() && !owner->isMinimized())
        area = owner->frameGeometry();
    else if (const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

bool CSplashWindow::FilterMessage(const QEvent& event)
{
    if (s_current == nullptr || !IsKeyOrButtonDown(event.type()))
        return false;
    // A message box of the start-up (a failed engine build) takes its clicks and keys
    // itself; the splash only stays until the box is answered.
    if (QApplication::activeModalWidget() != nullptr)
        return false;
    s_current->Hide();
    return true;
}

void CSplashWindow::Hide()
{
    // Gone for the filter at once; the object itself goes once the event that closed it
    // has been dealt with, since that event may be on its way to this very window.
    if (s_current == this)
        s_current = nullptr;
    m_timer.stop();
    hide();
    deleteLater();
    if (QWidget* owner = parentWidget())
        owner->repaint();
}

void CSplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_bitmap);
}

} // namespace lumeno
