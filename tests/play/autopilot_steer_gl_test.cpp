// The autopilot steering a real engine: the pointer on the path, on the engine's clock,
// and the path's presses handed on as a window hands on input.

#include <vector>

#include "engine_fixture.h"
#include "play/autopilot.h"

namespace lumeno::test {
namespace {

using AutopilotSteer = EngineTest;

void ExpectPointerAt(const CanvasPoint& expected, const char* when)
{
    EXPECT_EQ(g_engine->GetMousePosition()[0], expected.x) << when;
    EXPECT_EQ(g_engine->GetMousePosition()[1], expected.y) << when;
}

TEST_F(AutopilotSteer, MovesThePointerOnTheEnginesClockStandsWhilePausedAndStepsOverStalls)
{
    ASSERT_EQ(BuildEngine(), S_OK);
    const auto ignore = [](const WindowMessage&) {};
    Autopilot autopilot(3);
    AutopilotPath path(3, g_engine->CanvasWidth(), g_engine->CanvasHeight());
    autopilot.Steer(*g_engine, 4'294'967'000u, ignore);
    ExpectPointerAt(path.At(0.0), "the first frame starts the path");
    autopilot.Steer(*g_engine, 4'294'967'000u + 16u, ignore);
    ExpectPointerAt(path.At(0.016), "16 ms later");
    autopilot.Steer(*g_engine, 1000u, ignore); // the clock wrapped, and the window stalled
    ExpectPointerAt(path.At(0.016 + 0.1), "a stall moves the path on by 100 ms at most");
    Send(WM_KEYDOWN, VK_SPACE);
    autopilot.Steer(*g_engine, 1050u, ignore);
    ExpectPointerAt(path.At(0.016 + 0.1), "paused, the path stands");
    Send(WM_KEYDOWN, VK_SPACE);
    autopilot.Steer(*g_engine, 1070u, ignore);
    ExpectPointerAt(path.At(0.016 + 0.1 + 0.02), "and goes on from where it stood");
    autopilot.HopOnBeat();
    autopilot.HopOnBeat();
    autopilot.Steer(*g_engine, 1070u, ignore);
    ExpectPointerAt(path.At(0.016 + 0.1 + 0.02 + 0.24), "two beats move the path on");

    // A rebuilt engine on another canvas: the same seed's path, made for that canvas.
    DestroyEngine();
    CanvasSettingsRecord().width = 80;
    CanvasSettingsRecord().height = 120;
    ASSERT_EQ(BuildEngine(), S_OK);
    autopilot.Steer(*g_engine, 1086u, ignore);
    ExpectPointerAt(AutopilotPath(3, 80, 120).At(0.016 + 0.1 + 0.02 + 0.24 + 0.016), "on the new canvas");
}

TEST_F(AutopilotSteer, PressesTheLeftButtonAndTheColourKeysAsItsGesturesStart)
{
    ASSERT_EQ(BuildEngine(), S_OK);
    std::vector<WindowMessage> pressed;
    Autopilot autopilot(11);
    std::uint32_t now = 0;
    double seconds = 0.0;
    std::vector<double> frameSeconds{0.0};
    for (int frame = 0; frame < 60 * 150; ++frame, now += 16) {
        autopilot.Steer(*g_engine, now, [&](const WindowMessage& message) { pressed.push_back(message); });
        if (frame > 0)
            frameSeconds.push_back(seconds += 0.016);
    }
    AutopilotPath path(11, g_engine->CanvasWidth(), g_engine->CanvasHeight());
    std::vector<WindowMessage> expected;
    for (std::size_t i = 1; i < frameSeconds.size(); ++i) {
        for (const GestureStart& start : path.StartsBetween(frameSeconds[i - 1], frameSeconds[i])) {
            if (start.reemits)
                expected.push_back(WindowMessage{WM_LBUTTONDOWN});
            if (start.colourSlot >= 0)
                expected.push_back(WindowMessage{WM_KEYDOWN, static_cast<std::uint32_t>('1' + start.colourSlot)});
        }
    }
    ASSERT_GE(expected.size(), 6u) << "150 seconds hold a few re-emissions and colour changes";
    ASSERT_EQ(pressed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(pressed[i].message, expected[i].message) << i;
        EXPECT_EQ(pressed[i].virtualKey, expected[i].virtualKey) << i;
        EXPECT_FALSE(pressed[i].repeated);
    }
    EXPECT_TRUE(Autopilot::TakesOver(WindowMessage{WM_MOUSEMOVE}));
    for (std::uint32_t other : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_KEYDOWN, WM_KEYUP})
        EXPECT_FALSE(Autopilot::TakesOver(WindowMessage{other})) << "a person's clicks and keys still act";
}

} // namespace
} // namespace lumeno::test
