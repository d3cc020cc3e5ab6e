#pragma once
// Qt's input events as the window messages the engine and the frame's keys are written
// in. Pointer positions become client pixels of the physical screen, so that the engine
// maps them onto the canvas in the same pixels the device presents in.

#include <optional>

#include <QEvent>
#include <QPointF>

#include "platform/window_message.h"
#include "settings/ui/key_translation.h" // KeyMessage, shared with the dialogs

class QMouseEvent;

namespace lumeno {

// WM_MOUSEMOVE, WM_LBUTTONDOWN or WM_RBUTTONDOWN at `clientPos` (logical pixels from the
// client area's top-left corner) times `devicePixelRatio`; none for other events.
std::optional<WindowMessage> MouseMessage(const QMouseEvent& event, QPointF clientPos, qreal devicePixelRatio);

// A key-down (with or without Alt) or any mouse-button press, in a client area or on a
// window's frame: what closes the splash.
bool IsKeyOrButtonDown(QEvent::Type type);

} // namespace lumeno
