// The properties dialog's placement: shown at its home position above its owner, and
// fitted to the screen there, scrolled where the screen is shorter than the template.

#include <QApplication>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

#include "settings/ui/dialog_fit.h"
#include "settings/ui/properties_dialog.h"

namespace lumeno {

void CPropertiesDialog::CreateScrollArea()
{
    // Hidden until a short screen needs it; the page then moves into it. It takes no focus,
    // so Tab goes from control to control as on the plain dialog, and it brings the focused
    // control into view on each step.
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(false);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->hide();
}

void CPropertiesDialog::ShowAtHomePosition()
{
    // An owned window is mapped after its owner. A window manager resolves the owner that
    // the transient hint names only if it manages that window already; a dialog mapped
    // first is stacked as an unrelated window, and the owner covers it when raised.
    QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (owner != nullptr && !owner->isVisible()) {
        ShowWithOwner(*owner);
        return;
    }
    PlaceAndShow(true);
}

void CPropertiesDialog::PlaceAndShow(bool activate)
{
    FitToScreen();
    move(kPropertiesDialogPosition);
    setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    show();
    raise();
    if (activate)
        activateWindow();
}

void CPropertiesDialog::ShowWithOwner(QWidget& owner)
{
    if (m_awaitedOwner == &owner)
        return;
    m_awaitedOwner = &owner;
    owner.installEventFilter(this);
}

bool CPropertiesDialog::OnOwnerEvent(const QEvent& event)
{
    if (event.type() != QEvent::Show)
        return false;
    // The owner's show event comes before its window is mapped: show the dialog once that
    // is done. The owner keeps the focus it was given.
    m_awaitedOwner->removeEventFilter(this);
    m_awaitedOwner = nullptr;
    QMetaObject::invokeMethod(this, [this] { PlaceAndShow(false); }, Qt::QueuedConnection);
    return false;
}

void CPropertiesDialog::FitToScreen()
{
    const QScreen* screen = QGuiApplication::screenAt(kPropertiesDialogPosition);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    bool estimated = false;
    const QMargins frame = WindowFrame(&estimated);
    FitTo(screen->availableGeometry(), frame);
    m_frameEstimated = estimated;
}

QMargins CPropertiesDialog::WindowFrame(bool* estimated) const
{
    // The window manager tells the frame only once it has framed the window; until then a
    // title bar of the style's height and a thin border stand in for it.
    const QWindow* window = windowHandle();
    const QMargins known = window != nullptr ? window->frameMargins() : QMargins();
    *estimated = known.isNull();
    if (!known.isNull())
        return known;
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return {border, title + border, border, border};
}

void CPropertiesDialog::FitTo(const QRect& available, const QMargins& frame)
{
    m_fittedArea = available;
    m_frameEstimated = false;
    const int scrollBarWidth = m_scroll->verticalScrollBar()->sizeHint().width();
    const DialogFit fit =
        FitDialogToScreen(m_page->size(), available, kPropertiesDialogPosition.y(), frame, scrollBarWidth);
    SetScrolling(fit.scrolls);
    setFixedSize(fit.clientSize);
    if (fit.scrolls)
        m_scroll->setGeometry(QRect(QPoint(0, 0), fit.clientSize));
}

bool CPropertiesDialog::Scrolls() const { return m_scroll->widget() == m_page; }

void CPropertiesDialog::SetScrolling(bool scrolling)
{
    if (scrolling == Scrolls())
        return;
    // Moving the page keeps the controls' focus chain, so the tab order stays as it was.
    if (scrolling) {
        m_scroll->setWidget(m_page);
        m_scroll->show();
        return;
    }
    m_scroll->takeWidget();
    m_page->setParent(this);
    m_page->move(0, 0);
    m_page->show();
    m_scroll->hide();
}

void CPropertiesDialog::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    // The window manager moves a window it has just framed: the frame is known now.
    bool estimated = false;
    const QMargins frame = WindowFrame(&estimated);
    if (m_frameEstimated && !estimated)
        FitTo(m_fittedArea, frame);
}

// While the page scrolls, the wheel over a control that does not have the focus scrolls
// the page: a trackbar or the combo box passed on the way would otherwise take the wheel
// and change its setting. A focused control, clicked or tabbed to, takes it as usual.
bool CPropertiesDialog::RouteWheelToScrollArea(QObject* control, QEvent* event)
{
    if (!Scrolls() || static_cast<QWidget*>(control)->hasFocus())
        return false;
    QCoreApplication::sendEvent(m_scroll->verticalScrollBar(), event);
    return true;
}

} // namespace lumeno
