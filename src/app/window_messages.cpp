#include "window_messages.h"

#include <algorithm>
#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>

#include "settings/ui/key_translation.h"

namespace lumeno {
namespace {

std::uint16_t ToPointerCoordinate(qreal physical)
{
    // The client area never lies left of or above its own origin; a press captured
    // outside it still lands on the nearest edge.
    return static_cast<std::uint16_t>(std::clamp<qreal>(std::floor(physical), 0, 65535));
}

} // namespace

std::optional<WindowMessage> KeyMessage(const QKeyEvent& event)
{
    const bool press = event.type() == QEvent::KeyPress;
    if (!press && (event.type() != QEvent::KeyRelease || event.isAutoRepeat()))
        return std::nullopt;
    const std::optional<std::uint32_t> virtualKey = VirtualKeyOf(event);
    if (!virtualKey)
        return std::nullopt;
    const bool alt = event.modifiers().testFlag(Qt::AltModifier);
    WindowMessage message;
    message.message = press ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    message.virtualKey = *virtualKey;
    message.repeated = press && event.isAutoRepeat();
    return message;
}

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
