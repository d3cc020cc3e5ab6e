#pragma once
// Input by frame for lumeno-render: one event a line, "FRAME move X Y", "FRAME left",
// "FRAME right" or "FRAME key NAME"; frames count from 1; '#' starts a comment.

#include <istream>
#include <string>
#include <vector>

#include "platform/window_message.h"

namespace lumeno {

struct ScriptEvent {
    int frame = 0;
    // The messages one event makes, in order (shift+return: Shift down, Return, Shift up).
    std::vector<WindowMessage> messages;
};

// Events in file order, stable by frame. False with "line N: ..." on the first bad line.
bool ParseRenderScript(std::istream& in, std::vector<ScriptEvent>* events, std::string* error);

// What a render of `frames` frames leaves out of sorted events, as "2 events after the last
// frame (6) are not delivered, the first for frame 8"; empty when every event is delivered.
std::string EventsAfterLastFrame(const std::vector<ScriptEvent>& events, int frames);

} // namespace lumeno
