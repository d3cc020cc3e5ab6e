#pragma once
// A Qt key event as the window message the key handling is written in, with the key's
// Windows virtual-key code: the one translation for the main frame and the dialogs.

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

// WM_KEYDOWN / WM_KEYUP, or WM_SYSKEYDOWN / WM_SYSKEYUP while Alt is held; a held key's
// repeats are key-downs marked repeated. None for keys without a virtual-key code and for
// the releases of auto-repeat, which Windows never sends.
std::optional<WindowMessage> KeyMessage(const QKeyEvent& event);

// KeyMessage of a key press; none for any other event.
std::optional<WindowMessage> KeyDownMessage(const QKeyEvent& event);

} // namespace lumeno
