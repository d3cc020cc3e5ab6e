#pragma once
// The keys the main frame acts on itself, after the engine has seen the message:
// BackSpace toggles the debug lines, 1 to 4 choose the colour slot, C copies the canvas.
// Plain key-downs only: with Alt held (system key-down) none of them acts.
//
// The window's concern, kept in the core without Qt so that lumeno-render's scripts and
// the Qt-free tests press these keys as the window does.

#include <functional>

#include "platform/window_message.h"

namespace lumeno {

struct FrameKeyActions {
    // Flips the debug switch (the properties dialog does it through its check box).
    std::function<void()> toggleDebug;
    // Shows the chosen slot in the properties dialog; may be empty.
    std::function<void(int slot)> syncColorRadios;
    // Copies the canvas to the clipboard; may be empty where there is no clipboard.
    std::function<void()> copyToClipboard;
};

void HandleFrameKeys(const WindowMessage& message, const FrameKeyActions& actions);

} // namespace lumeno
