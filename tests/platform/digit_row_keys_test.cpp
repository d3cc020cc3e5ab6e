#include <gtest/gtest.h>

#include "platform/digit_row_keys.h"

namespace lumeno {
namespace {

// XKB keycodes 10..19, set-1 scan codes 0x02..0x0B, and macOS's virtual key codes, which
// do not run in the row's order (5 is 0x17, 6 is 0x16).
TEST(DigitRowKeys, EachWindowSystemsNativeCodesGiveTheirDigitAndNothingElse)
{
    const struct {
        const char* system;
        std::uint32_t scanCode, virtualKey;
        std::optional<char> digit;
    } cases[] = {
        {"xcb", 10, 0, '1'}, {"wayland", 19, 0, '0'}, {"xcb", 9, 0, std::nullopt}, {"wayland", 20, 0, std::nullopt},
        {"windows", 0x02, 0, '1'}, {"windows", 0x0B, 0, '0'}, {"windows", 0x0C, 0x31, std::nullopt},
        {"cocoa", 0, 0x12, '1'}, {"cocoa", 0, 0x15, '4'}, {"cocoa", 0, 0x17, '5'}, {"cocoa", 0, 0x16, '6'},
        {"cocoa", 0, 0x1A, '7'}, {"cocoa", 0, 0x1C, '8'}, {"cocoa", 0, 0x19, '9'}, {"cocoa", 0, 0x1D, '0'},
        {"cocoa", 0x12, 0x18, std::nullopt}, {"offscreen", 10, 0x12, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DigitRowKeyDigit(c.system, c.scanCode, c.virtualKey), c.digit)
            << c.system << " " << c.scanCode << " " << c.virtualKey;
}

} // namespace
} // namespace lumeno
