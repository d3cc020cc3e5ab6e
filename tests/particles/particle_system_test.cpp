#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "fake_engine.h"
#include "particles/attractor.h"
#include "particles/particle_system.h"
#include "platform/random15.h"
#include "platform/threads.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "support/message_box_recorder.h"
#include "support/process_state.h"

namespace lumeno {
namespace {

class ParticleSystem : public ::testing::Test {
protected:
    void SetUp() override { test::ResetProcessState(); }
    void TearDown() override { test::ResetProcessState(); }

    void Init(int count, bool multiThreaded = false, int slot = 3)
    {
        CanvasSettingsRecord().multiThreaded = multiThreaded;
        CanvasSettingsRecord().particleCount = count;
        g_particleSettings.colorIndex = slot;
        system.Init({160, 120, count});
    }

    std::vector<float> Colour() const { return {system.CurrentColor(), system.CurrentColor() + 4}; }
    std::vector<float> Cycle()
    {
        float cycle[4] = {9, 9, 9, 9};
        system.GetCycleColor(cycle);
        return {cycle, cycle + 4};
    }

    // `frames` updates of a fresh system with a moving pointer, so that every step's
    // attractor differs; then positions and velocities once the last armed step is done.
    std::vector<float> RunFrames(bool multiThreaded, int count, int frames)
    {
        test::ResetProcessState();
        SeedRand15(5);
        g_particleSettings.scattering = 0.01f;
        engine.mouse[0] = 100.0f;
        engine.mouse[1] = 60.0f;
        Init(count, multiThreaded);
        EXPECT_EQ(system.WorkersRunning(), multiThreaded);
        for (int frame = 0; frame < frames; ++frame) {
            engine.mouse[0] += 3.0f;
            system.Update();
        }
        system.WaitForStep(); // the step armed by the last update is the workers' until done
        std::vector<float> state;
        for (int i = 0; i < count; ++i) {
            const Particle& p = system.Particles()[i];
            state.insert(state.end(), {p.current.x, p.current.y, p.current.vx, p.current.vy, p.previous.x, p.previous.y});
        }
        return state;
    }

    test::FakeEngine engine;
    CParticleSystem system{engine};
};
using ParticleColour = ParticleSystem;
using Workers = ParticleSystem;

TEST_F(ParticleColour, SlotsGiveTheInitialColourAndEditsShowAtTheNextFrame)
{
    Init(16, false, 1);
    EXPECT_EQ(Colour(), (std::vector<float>{0, 1, 0, 1}));
    system.UpdateColor();
    g_particleSettings.colors[1] = {0.5f, 0.25f, 0.125f};
    system.UpdateColor();
    EXPECT_EQ(Colour(), (std::vector<float>{0.5f, 0.25f, 0.125f, 1}));
    Init(16, false, 3);
    EXPECT_EQ(Colour(), (std::vector<float>{0, 0, 0, 1}));
    EXPECT_EQ(Cycle(), (std::vector<float>{0, 0, 0, 0})) << "the cycle starts at zero";
    system.GetCycleColor(nullptr);
    // A slot outside the table shows the cycling colour.
    Init(16, false, 57);
    engine.frameCount = 400;
    system.UpdateColor();
    EXPECT_EQ(Colour(), Cycle());
    system.SetColorIndex(-4);
    system.UpdateColor();
    system.UpdateColor();
    EXPECT_TRUE(std::isfinite(system.CurrentColor()[0]));
}

// phase = frames / Tc * 10 with the frame count read unsigned; each channel is
// (sin(f * phase) + 1) / 2 with f = 0.003, 0.005, 0.007, worked out by hand.
TEST_F(ParticleColour, CycleColourAtChosenFrameCounts)
{
    struct Case {
        int frames;
        float fadeTime;
        float rgb[3];
    };
    const Case cases[] = {
        {200, 10.0f, {0.7823212f, 0.9207355f, 0.9927249f}},   // phase 200: sin 0.6, sin 1, sin 1.4
        {1000, 6.5f, {0.0023506f, 0.9934796f, 0.0127531f}},   // phase 1538.4617
        {-1, 6.5f, {0.0787731f, 0.7060203f, 0.4258775f}},     // 4294967295 frames: phase 6607642112
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames);
        g_particleSettings.colorFadingSpeed = c.fadeTime;
        Init(16, false, 3);
        engine.frameCount = c.frames;
        system.UpdateColor();
        const std::vector<float> cycle = Cycle();
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(cycle[i], c.rgb[i], 2e-6f) << "channel " << i;
        EXPECT_EQ(cycle[3], 1.0f);
        EXPECT_EQ(Colour(), cycle) << "at rest the colour is the slot's";
    }
}

TEST_F(ParticleColour, BlendHoldsOneFrameThenSnapsAfterTheFadeTime)
{
    Init(16, false, 0);
    system.UpdateColor();
    g_particleSettings.colorFadingSpeed = 0.1f;
    engine.frameTime = 0.025f;
    system.SetColorIndex(2);
    system.UpdateColor(); // t = 0: unchanged
    EXPECT_EQ(Colour(), (std::vector<float>{1, 0, 0, 1}));
    // t climbs 0.25 a frame: frames with t = 0, 0.25, 0.5, 0.75 blend, the fifth snaps.
    for (int frame = 2; frame <= 4; ++frame) {
        system.UpdateColor();
        EXPECT_GT(system.CurrentColor()[0], 0.0f) << "frame " << frame;
        EXPECT_LT(system.CurrentColor()[2], 1.0f) << "frame " << frame;
    }
    system.UpdateColor();
    EXPECT_EQ(Colour(), (std::vector<float>{0, 0, 1, 1}));
}

TEST_F(ParticleSystem, InertBeforeInitAndAfterReleaseAndInitEmitsAtTheEngineMouse)
{
    system.Emit(10, 10);
    system.Update();
    EXPECT_FALSE(system.IsInitialised());
    EXPECT_EQ(system.Particles(), nullptr);
    engine.mouse[0] = 80.0f; // the canvas centre
    engine.mouse[1] = 60.0f;
    g_particleSettings.radius = 0.0f;
    Init(100);
    ASSERT_EQ(system.Count(), 100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(std::pair(system.Particles()[i].current.x, system.Particles()[i].current.y), std::pair(0.0f, 0.0f));
    Init(10); // a second Init replaces the first
    EXPECT_EQ(system.Count(), 10);
    system.Release();
    system.Release();
    EXPECT_FALSE(system.IsInitialised());
    EXPECT_EQ(std::pair(system.Count(), system.Width()), std::pair(0, 0));
}

TEST_F(ParticleSystem, CountTheMachineCannotHoldIsReportedAndLeavesItInert)
{
    test::MessageBoxRecorder boxes;
    Init(std::numeric_limits<std::int32_t>::max()); // the largest count a file holds: 137 GB
    EXPECT_FALSE(system.IsInitialised());
    Init(-5);
    EXPECT_FALSE(system.IsInitialised());
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0], (test::ShownBox{"Not enough memory for 2147483647 particles.\nTry less Particle."
                                                "\n\nError Description:\nRan out of memory",
                                                "DXErrorInfo:", MessageIcon::Warning}));
    Init(5); // a failed Init leaves it ready for the next
    EXPECT_TRUE(system.IsInitialised());
}

TEST_F(ParticleSystem, StepUsesTheFixedInputsAndTheAttractorOutlivesTheSystem)
{
    engine.mouse[0] = 48.0f;
    engine.mouse[1] = 12.0f;
    Init(20, false, 0);
    system.AdvanceAttractor();
    system.FixStepInputs();
    const Attractor attractor = SimulationAttractor();
    EXPECT_TRUE(attractor.placed);
    const StepInputs& in = system.CurrentStepInputs();
    EXPECT_EQ(in.attractorX, attractor.x);
    EXPECT_EQ(std::vector<float>(in.color, in.color + 4), (std::vector<float>{0, 1, 1, 1})) << "red, inverted";
    EXPECT_EQ(in.drag, 0.99f);
    system.Simulate(0, system.Count());
    EXPECT_EQ(system.Particles()[7].current.g, 1.0f);
    system.Release();
    Init(20);
    EXPECT_EQ(std::pair(SimulationAttractor().x, SimulationAttractor().y), std::pair(attractor.x, attractor.y));
}

// Update k of the threaded system arms the step that update k of the plain system takes,
// with the same attractor; once it is done the arrays agree bit for bit. 1001 is odd: the
// high half has one particle more; one particle leaves the low worker an empty range.
TEST_F(Workers, ThreadedStepsEqualPlainStepsOneFrameLater)
{
    for (int n : {1001, 1, 0}) {
        const std::vector<float> plain = RunFrames(false, n, 6), threaded = RunFrames(true, n, 6);
        ASSERT_EQ(plain.size(), threaded.size());
        // memcmp may not be given the null data() of an empty array, even for no bytes
        EXPECT_TRUE(plain.empty() || std::memcmp(plain.data(), threaded.data(), plain.size() * sizeof(float)) == 0) << n;
        system.Release(); // waits for the armed step
        EXPECT_FALSE(system.WorkersRunning());
    }
}

TEST_F(Workers, FailedThreadStartIsReportedAndNoWorkerIsLeftRunning)
{
    test::MessageBoxRecorder boxes;
    FailNextThreadStartsForTesting(1); // the low worker fails, the high one starts
    Init(100, true);
    EXPECT_FALSE(system.IsInitialised());
    EXPECT_FALSE(system.WorkersRunning());
    EXPECT_EQ(boxes.Shown(), (std::vector<test::ShownBox>{{"Error create threads!", "", MessageIcon::Error}}));
    Init(100, true); // ready for the next Init
    EXPECT_TRUE(system.IsInitialised() && system.WorkersRunning());
}

TEST_F(Workers, ReleaseAndEmitWaitForTheRunningStep)
{
    for (int round = 0; round < 5; ++round) {
        Init(200000, true);
        system.Update(); // arms a step that is still running when Release comes
        system.Release();
        EXPECT_FALSE(system.WorkersRunning());
        EXPECT_EQ(system.Particles(), nullptr);
    }
    g_particleSettings.radius = 0.0f;
    Init(100000, true);
    system.Update();
    system.Emit(80.0f, 60.0f); // the centre of the canvas
    for (int i = 0; i < 100000; i += 997)
        ASSERT_EQ(system.Particles()[i].current.x, 0.0f) << "a step wrote after the emission";
}

TEST_F(Workers, CanvasFlipsOnlyAtOrBelowTheFadeThreshold)
{
    Init(10);
    const struct {
        float ratio;
        bool onCanvasB;
    } frames[] = {{1.0f, false}, {0.99999f, true}, {0.99999f, false}, {std::numeric_limits<float>::quiet_NaN(), false}};
    for (const auto& frame : frames) {
        g_particleSettings.fadeOutRatio = frame.ratio;
        system.Update();
        EXPECT_EQ(system.DrawsOnCanvasB(), frame.onCanvasB) << frame.ratio;
    }
}

} // namespace
} // namespace lumeno
