#pragma once
// A Qt key press as the window message the key handling is written in: WM_KEYDOWN, or
// WM_SYSKEYDOWN while Alt is held, with the key's Windows virtual-key code.

#include <optional>

#include <QKeyEvent>

#include "platform/window_message.h"

namespace lumeno {

// The virtual-key code of a key, none for keys without one here. Digits of the keypad
// are VK_NUMPAD0..9, so they are not the main keys 1 to 4.
std::optional<std::uint32_t> VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// None for keys without a virtual-key code.
std::optional<WindowMessage> KeyDownMessage(const QKeyEvent& event);

} // namespace lumeno
