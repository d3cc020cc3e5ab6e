#include <gtest/gtest.h>

#include <sstream>

#include "render_script.h"

namespace lumeno {
namespace {

TEST(RenderScript, EventsBecomeTheirWindowMessagesInFrameOrder)
{
    std::istringstream in("# a comment\n"
                          "5 move 100 200\n"
                          "2 key shift+return\n"
                          "5 left\n"
                          "\n"
                          "7 right  # trailing comment\n"
                          "8 key 3\n");
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(ParseRenderScript(in, &events, &error)) << error;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].frame, 2);
    ASSERT_EQ(events[0].messages.size(), 3u);
    EXPECT_EQ(events[0].messages[0].message, WM_KEYDOWN);
    EXPECT_EQ(events[0].messages[0].virtualKey, VK_SHIFT);
    EXPECT_EQ(events[0].messages[1].virtualKey, VK_RETURN);
    EXPECT_EQ(events[0].messages[2].message, WM_KEYUP);
    EXPECT_EQ(events[1].frame, 5);
    EXPECT_EQ(events[1].messages[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(events[1].messages[0].pointerX, 100);
    EXPECT_EQ(events[1].messages[0].pointerY, 200);
    EXPECT_EQ(events[2].messages[0].message, WM_LBUTTONDOWN) << "same frame keeps file order";
    EXPECT_EQ(events[3].messages[0].message, WM_RBUTTONDOWN);
    EXPECT_EQ(events[4].messages[0].virtualKey, static_cast<std::uint32_t>('3'));
}

TEST(RenderScript, BadLinesAreNamedByNumber)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0 left\n", "line 1: expected a frame number from 1"},
        {"1 left\n3 jump\n", "line 2: unknown event 'jump'"},
        {"1 key enter\n", "line 1: key needs one of return, shift+return, space, backspace, 1, 2, 3, 4"},
        {"1 move 5\n", "line 1: move needs two client pixel coordinates from 0 to 65535"},
        {"1 left now\n", "line 1: unexpected 'now' at the end"},
    };
    for (const auto& [text, message] : cases) {
        std::istringstream in(text);
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(ParseRenderScript(in, &events, &error)) << text;
        EXPECT_EQ(error, message);
    }
}

TEST(RenderScript, EventsAfterTheLastFrameAreCounted)
{
    std::istringstream in("3 left\n9 right\n2 left\n5 key 1\n5 key 2\n");
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(ParseRenderScript(in, &events, &error)) << error;
    const std::pair<int, const char*> cases[] = {
        {9, ""},
        {8, "1 event after the last frame (8) is not delivered, the first for frame 9"},
        {4, "3 events after the last frame (4) are not delivered, the first for frame 5"},
        {0, "5 events after the last frame (0) are not delivered, the first for frame 2"},
    };
    for (const auto& [frames, message] : cases)
        EXPECT_EQ(EventsAfterLastFrame(events, frames), message) << frames;
}

} // namespace
} // namespace lumeno
