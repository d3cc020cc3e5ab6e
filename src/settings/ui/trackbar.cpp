#include "settings/ui/trackbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>

namespace lumeno {
namespace {

bool IsScrollKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

} // namespace

Trackbar::Trackbar(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::NoTicks);
    connect(this, &QSlider::valueChanged, this, &Trackbar::scrolled);
}

void Trackbar::SetRange(int min, int max)
{
    setRange(min, max);
    setPageStep(std::max(1, (max - min) / 5));
}

QRect Trackbar::HandleRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

void Trackbar::mouseReleaseEvent(QMouseEvent* event)
{
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit scrolled();
}

void Trackbar::keyReleaseEvent(QKeyEvent* event)
{
    QSlider::keyReleaseEvent(event);
    if (IsScrollKey(event->key()) && !event->isAutoRepeat())
        emit scrolled();
}

} // namespace lumeno
