#pragma once
// A window message as the engine and the main frame read it: translated once from the
// toolkit's events, keeping the message and key names the input handling is written in.

#include <cstdint>

namespace lumeno {

enum MessageCode : std::uint32_t {
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_RBUTTONDOWN = 0x0204,
};

enum VirtualKey : std::uint32_t {
    VK_BACK = 0x08,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_F11 = 0x7A,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    // '0'..'9' and 'A'..'Z' are their ASCII codes.
};

struct WindowMessage {
    std::uint32_t message = 0;
    std::uint32_t virtualKey = 0; // key messages
    std::uint16_t pointerX = 0;   // mouse messages: client pixels, as the message carries them
    std::uint16_t pointerY = 0;
    bool repeated = false;        // key-downs: the key was down already (auto-repeat)
};

} // namespace lumeno
