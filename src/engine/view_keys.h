#pragma once
// The keys of the window itself, beside those of the particle toy: F11 turns fullscreen
// on and off, Escape leaves it, R starts and stops a recording, A turns the autopilot on
// and off, M starts and stops listening to the music the computer hears. Plain key-downs
// only, and once a press: a held key toggles nothing again, and Escape does nothing when
// the window is not fullscreen.
//
// The window's concern, kept in the core without Qt so that the Qt-free tests can press
// the keys; the actions are the window's.

#include <functional>

#include "platform/window_message.h"

namespace lumeno {

struct ViewKeyActions {
    std::function<bool()> isFullscreen;
    std::function<void()> toggleFullscreen;
    // Empty where Escape belongs to someone else (a dialog hides on it).
    std::function<void()> leaveFullscreen;
    std::function<void()> toggleRecording;
    std::function<void()> toggleAutopilot;
    std::function<void()> toggleListening;
};

void HandleViewKeys(const WindowMessage& message, const ViewKeyActions& actions);

} // namespace lumeno
