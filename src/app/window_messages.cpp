#include "window_messages.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>

namespace lumeno {
namespace {

std::uint16_t ToPointerCoordinate(qreal physical)
{
    // The client area never lies left of or above its own origin; a press captured
    // outside it still lands on the nearest edge.
    return static_cast<std::uint16_t>(std::clamp<qreal>(std::floor(physical), 0, 65535));
}

} // namespace

std::optional<WindowMessage> MouseMessage(const QMouseEvent& event, QPointF clientPos, qreal devicePixelRatio)
{
    WindowMessage message;
    if (event.type() == QEvent::MouseMove)
        message.message = WM_MOUSEMOVE;
    else if (event.type() == QEvent::MouseButtonPress && event.button() == Qt::LeftButton)
        message.message = WM_LBUTTONDOWN;
    else if (event.type() == QEvent::MouseButtonPress && event.button() == Qt::RightButton)
        message.message = WM_RBUTTONDOWN;
    else
        return std::nullopt;
    message.pointerX = ToPointerCoordinate(clientPos.x() * devicePixelRatio);
    message.pointerY = ToPointerCoordinate(clientPos.y() * devicePixelRatio);
    return message;
}

bool IsKeyOrButtonDown(QEvent::Type type)
{
    return type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
           type == QEvent::NonClientAreaMouseButtonPress;
}

} // namespace lumeno
