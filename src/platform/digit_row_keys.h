#pragma once
// The keys 1 to 0 of the keyboard's digit row, known by where they sit rather than by the
// character they type: Shift+3 types '#' on a US layout and an unshifted 1 types '&' on
// AZERTY, yet both are the digit keys whose virtual-key codes are 0x31 to 0x39 and 0x30.

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumeno {

// The digit ('0' to '9') of a digit-row key, from the native codes the window system
// gave its event; `windowSystem` is the platform's name as Qt spells it ("xcb",
// "wayland", "windows", "cocoa"). None for other keys, for the keypad, and where the
// window system is unknown or gave no native code (synthesised events).
std::optional<char> DigitRowKeyDigit(std::string_view windowSystem, std::uint32_t nativeScanCode,
                                     std::uint32_t nativeVirtualKey);

} // namespace lumeno
