#include "render_script.h"

#include <algorithm>
#include <sstream>

namespace lumeno {
namespace {

WindowMessage Key(std::uint32_t message, std::uint32_t key)
{
    WindowMessage m;
    m.message = message;
    m.virtualKey = key;
    return m;
}

bool KeyMessages(const std::string& name, std::vector<WindowMessage>* out)
{
    if (name == "return") {
        *out = {Key(WM_KEYDOWN, VK_RETURN)};
    } else if (name == "shift+return") {
        *out = {Key(WM_KEYDOWN, VK_SHIFT), Key(WM_KEYDOWN, VK_RETURN), Key(WM_KEYUP, VK_SHIFT)};
    } else if (name == "space") {
        *out = {Key(WM_KEYDOWN, VK_SPACE)};
    } else if (name == "backspace") {
        *out = {Key(WM_KEYDOWN, VK_BACK)};
    } else if (name.size() == 1 && name[0] >= '1' && name[0] <= '4') {
        *out = {Key(WM_KEYDOWN, static_cast<std::uint32_t>(name[0]))};
    } else {
        return false;
    }
    return true;
}

bool ParseLine(std::istringstream& words, ScriptEvent* event, std::string* error)
{
    std::string kind;
    if (!(words >> event->frame) || event->frame < 1) {
        *error = "expected a frame number from 1";
        return false;
    }
    if (!(words >> kind)) {
        *error = "expected move, left, right or key after the frame";
        return false;
    }
    if (kind == "move") {
        int x = -1, y = -1;
        if (!(words >> x >> y) || x < 0 || y < 0 || x > 65535 || y > 65535) {
            *error = "move needs two client pixel coordinates from 0 to 65535";
            return false;
        }
        WindowMessage m;
        m.message = WM_MOUSEMOVE;
        m.pointerX = static_cast<std::uint16_t>(x);
        m.pointerY = static_cast<std::uint16_t>(y);
        event->messages = {m};
    } else if (kind == "left" || kind == "right") {
        WindowMessage m;
        m.message = kind == "left" ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
        event->messages = {m};
    } else if (kind == "key") {
        std::string name;
        if (!(words >> name) || !KeyMessages(name, &event->messages)) {
            *error = "key needs one of return, shift+return, space, backspace, 1, 2, 3, 4";
            return false;
        }
    } else {
        *error = "unknown event '" + kind + "'";
        return false;
    }
    std::string extra;
    if (words >> extra) {
        *error = "unexpected '" + extra + "' at the end";
        return false;
    }
    return true;
}

} // namespace

bool ParseRenderScript(std::istream& in, std::vector<ScriptEvent>* events, std::string* error)
{
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        std::istringstream words(line);
        ScriptEvent event;
        if (!ParseLine(words, &event, error)) {
            *error = "line " + std::to_string(number) + ": " + *error;
            return false;
        }
        events->push_back(std::move(event));
    }
    std::stable_sort(events->begin(), events->end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return true;
}

std::string EventsAfterLastFrame(const std::vector<ScriptEvent>& events, int frames)
{
    const auto first = std::find_if(events.begin(), events.end(),
                                    [frames](const ScriptEvent& event) { return event.frame > frames; });
    const auto left = events.end() - first;
    if (left == 0)
        return {};
    return std::to_string(left) + (left == 1 ? " event" : " events") + " after the last frame (" +
           std::to_string(frames) + ") " + (left == 1 ? "is" : "are") + " not delivered, the first for frame " +
           std::to_string(first->frame);
}

} // namespace lumeno
