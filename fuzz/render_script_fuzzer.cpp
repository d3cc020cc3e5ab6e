// libFuzzer target: any bytes as a lumeno-render input script. A script either parses
// into events that hold only what the grammar allows, ordered by frame, or is refused
// with "line N: ..." naming one of its lines; never anything in between.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "render_script.h"

namespace lumeno {
namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "render script fuzzer: %s\n", what);
        std::abort();
    }
}

// getline's count: one line per newline, and one more for text after the last.
int LineCount(const std::string& text)
{
    const auto newlines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return newlines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

bool IsEventKey(std::uint32_t key)
{
    return key == VK_RETURN || key == VK_SHIFT || key == VK_SPACE || key == VK_BACK || (key >= '1' && key <= '4');
}

void CheckEvent(const ScriptEvent& event)
{
    Require(event.frame >= 1, "an event before frame 1");
    Require(event.messages.size() == 1 || event.messages.size() == 3, "an event of neither 1 nor 3 messages");
    if (event.messages.size() == 3) {
        // shift+return, the one event of three messages.
        Require(event.messages[0].message == WM_KEYDOWN && event.messages[0].virtualKey == VK_SHIFT &&
                    event.messages[1].message == WM_KEYDOWN && event.messages[1].virtualKey == VK_RETURN &&
                    event.messages[2].message == WM_KEYUP && event.messages[2].virtualKey == VK_SHIFT,
                "three messages that are not shift+return");
        return;
    }
    const WindowMessage& m = event.messages[0];
    Require(!m.repeated, "a scripted key marked repeated");
    switch (m.message) {
    case WM_MOUSEMOVE:
        Require(m.virtualKey == 0, "a move with a key");
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        Require(m.virtualKey == 0 && m.pointerX == 0 && m.pointerY == 0, "a click with a key or position");
        break;
    case WM_KEYDOWN:
        Require(IsEventKey(m.virtualKey) && m.virtualKey != VK_SHIFT, "a key no script names");
        Require(m.pointerX == 0 && m.pointerY == 0, "a key with a position");
        break;
    default:
        Require(false, "a message no script makes");
    }
}

} // namespace
} // namespace lumeno

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumeno;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    std::vector<ScriptEvent> events;
    std::string error;
    const bool parsed = ParseRenderScript(in, &events, &error);
    const int lines = LineCount(text);
    if (parsed) {
        Require(error.empty(), "an error text on success");
        Require(events.size() <= static_cast<std::size_t>(lines), "more events than lines");
        Require(std::is_sorted(events.begin(), events.end(),
                               [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; }),
                "events out of frame order");
        for (const ScriptEvent& event : events)
            CheckEvent(event);
        return 0;
    }
    Require(error.rfind("line ", 0) == 0, "a refusal that names no line");
    const int line = std::atoi(error.c_str() + 5);
    Require(line >= 1 && line <= lines, "a refusal naming a line the script does not have");
    Require(error.find(": ", 5) != std::string::npos, "a refusal without its reason");
    return 0;
}
