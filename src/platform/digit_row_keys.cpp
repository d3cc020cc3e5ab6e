#include "platform/digit_row_keys.h"

#include <array>

namespace lumeno {
namespace {

constexpr std::array<char, 10> kDigitRow = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};

// X11 and Wayland report XKB keycodes: the kernel's key code plus 8, so the row 1..0
// (kernel codes 2..11) is 10..19.
constexpr std::uint32_t kXkbKeycodeOfOne = 10;
// Windows reports the set-1 scan code: 1..0 are 0x02..0x0B.
constexpr std::uint32_t kSet1ScanCodeOfOne = 0x02;
// macOS gives no scan code; its virtual key codes (kVK_ANSI_1 ...) name key positions.
constexpr std::array<std::uint32_t, 10> kMacKeyCodes = {0x12, 0x13, 0x14, 0x15, 0x17, 0x16, 0x1A, 0x1C, 0x19, 0x1D};

std::optional<char> DigitAt(std::uint32_t code, std::uint32_t codeOfOne)
{
    if (code < codeOfOne || code >= codeOfOne + kDigitRow.size())
        return std::nullopt;
    return kDigitRow[code - codeOfOne];
}

} // namespace

std::optional<char> DigitRowKeyDigit(std::string_view windowSystem, std::uint32_t nativeScanCode,
                                     std::uint32_t nativeVirtualKey)
{
    if (windowSystem == "xcb" || windowSystem == "wayland")
        return DigitAt(nativeScanCode, kXkbKeycodeOfOne);
    if (windowSystem == "windows")
        return DigitAt(nativeScanCode, kSet1ScanCodeOfOne);
    if (windowSystem == "cocoa") {
        for (std::size_t i = 0; i < kMacKeyCodes.size(); ++i)
            if (kMacKeyCodes[i] == nativeVirtualKey)
                return kDigitRow[i];
    }
    return std::nullopt;
}

} // namespace lumeno
