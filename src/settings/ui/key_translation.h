#pragma once
// A Qt key press as the window message the key handling is written in: WM_KEYDOWN, or
// WM_SYSKEYDOWN while Alt is held, with the key's Windows virtual-key code.

#include <optional>
#include <string_view>

#include <QKeyEvent>

#include "platform/window_message.h"

namespace lumeno {

// The virtual-key code of a key, none for keys without one here. Digits of the keypad
// are VK_NUMPAD0..9, so they are not the main keys 1 to 4.
std::optional<std::uint32_t> VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// The virtual-key code of a key event. The digit row is known by the physical key (the
// native scan code), not by the character: Shift+3 and AZERTY's unshifted digit row are
// still the keys 0x31 to 0x39 and 0x30. `windowSystem` names the platform whose native
// codes the event carries (Qt's platform name); by default the running one.
std::optional<std::uint32_t> VirtualKeyOf(const QKeyEvent& event, std::string_view windowSystem);
std::optional<std::uint32_t> VirtualKeyOf(const QKeyEvent& event);

// None for keys without a virtual-key code.
std::optional<WindowMessage> KeyDownMessage(const QKeyEvent& event);

} // namespace lumeno
