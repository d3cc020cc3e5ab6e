#include <gtest/gtest.h>

#include <string>

#include "engine/view_keys.h"

namespace lumeno {
namespace {

TEST(ViewKeys, F11TogglesEscapeOnlyLeavesFullscreenAndRAAndMToggleRecordingAutopilotAndListeningOncePerPress)
{
    struct Case {
        WindowMessage message;
        bool fullscreen;
        bool escapeIsOurs;
        const char* expected;
    };
    const auto down = [](std::uint32_t key, bool repeated = false) {
        WindowMessage m;
        m.message = WM_KEYDOWN;
        m.virtualKey = key;
        m.repeated = repeated;
        return m;
    };
    WindowMessage altF11 = down(VK_F11);
    altF11.message = WM_SYSKEYDOWN;
    WindowMessage rUp = down('R');
    rUp.message = WM_KEYUP;
    const Case cases[] = {
        {down(VK_F11), false, true, "toggle"},
        {down(VK_F11), true, true, "toggle"},
        {down(VK_F11, true), false, true, ""},
        {altF11, false, true, ""},
        {down(VK_ESCAPE), true, true, "leave"},
        {down(VK_ESCAPE), false, true, ""},
        {down(VK_ESCAPE), true, false, ""},
        {down('R'), false, true, "record"},
        {down('R'), true, true, "record"},
        {down('R', true), false, true, ""},
        {rUp, false, true, ""},
        {down('A'), false, true, "autopilot"},
        {down('A', true), true, true, ""},
        {down('M'), false, true, "listen"},
        {down('M', true), true, true, ""},
        {down('C'), true, true, ""},
    };
    for (const Case& c : cases) {
        std::string done;
        ViewKeyActions actions{
            [&] { return c.fullscreen; },
            [&] { done += "toggle"; },
            c.escapeIsOurs ? std::function<void()>([&] { done += "leave"; }) : nullptr,
            [&] { done += "record"; },
            [&] { done += "autopilot"; },
            [&] { done += "listen"; },
        };
        HandleViewKeys(c.message, actions);
        EXPECT_EQ(done, c.expected) << "key " << c.message.virtualKey << " message " << c.message.message
                                    << " fullscreen " << c.fullscreen;
    }
}

} // namespace
} // namespace lumeno
