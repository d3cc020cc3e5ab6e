#include "engine/view_keys.h"

namespace lumeno {

void HandleViewKeys(const WindowMessage& message, const ViewKeyActions& actions)
{
    if (message.message != WM_KEYDOWN || message.repeated)
        return;
    const auto call = [](const std::function<void()>& action) {
        if (action)
            action();
    };
    switch (message.virtualKey) {
    case VK_F11:
        call(actions.toggleFullscreen);
        break;
    case VK_ESCAPE:
        if (actions.isFullscreen && actions.isFullscreen())
            call(actions.leaveFullscreen);
        break;
    case 'R':
        call(actions.toggleRecording);
        break;
    case 'A':
        call(actions.toggleAutopilot);
        break;
    case 'M':
        call(actions.toggleListening);
        break;
    default:
        break;
    }
}

} // namespace lumeno
