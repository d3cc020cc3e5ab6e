#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "fake_engine.h"
#include "particles/attractor.h"
#include "particles/particle_system.h"
#include "platform/random15.h"
#include "platform/threads.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "support/message_box_recorder.h"

namespace lumeno {
namespace {

class Workers : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_particleSettings.SetDefaults();
        CanvasSettingsRecord().SetDefaults();
        g_particleSettings.scattering = 0.01f;
        engine.mouse[0] = 100.0f;
        engine.mouse[1] = 60.0f;
    }
    void TearDown() override
    {
        g_particleSettings.SetDefaults();
        CanvasSettingsRecord().SetDefaults();
        FailNextThreadStartsForTesting(0);
    }

    // Runs `frames` updates of a fresh system and tears it down.
    void Run(bool multiThreaded, int count, int frames)
    {
        CanvasSettingsRecord().multiThreaded = multiThreaded;
        CanvasSettingsRecord().particleCount = count;
        SimulationAttractor() = Attractor{};
        SeedRand15(5);
        CParticleSystem system(engine);
        system.Init({160, 120, count});
        EXPECT_EQ(system.WorkersRunning(), multiThreaded);
        for (int frame = 0; frame < frames; ++frame) {
            engine.mouse[0] += 3.0f; // a moving pointer makes every step's attractor differ
            system.Update();
        }
        system.Release(); // waits for the armed step in multithreaded mode
        EXPECT_FALSE(system.WorkersRunning());
    }

    test::FakeEngine engine;
};

TEST_F(Workers, ThreadedStepsEqualPlainStepsOneFrameLater)
{
    constexpr int n = 1001; // odd: the high half has one particle more
    auto capture = [&](bool threaded, int frames) {
        CanvasSettingsRecord().multiThreaded = threaded;
        CanvasSettingsRecord().particleCount = n;
        SimulationAttractor() = Attractor{};
        engine.mouse[0] = 100.0f;
        SeedRand15(5);
        CParticleSystem system(engine);
        system.Init({160, 120, n});
        for (int frame = 0; frame < frames; ++frame) {
            engine.mouse[0] += 3.0f;
            system.Update();
        }
        // The step armed by the last update is running: the array is the workers' until
        // it is done.
        system.WaitForStep();
        std::vector<float> state;
        for (int i = 0; i < n; ++i) {
            const Particle& p = system.Particles()[i];
            for (float value : {p.current.x, p.current.y, p.current.vx, p.current.vy, p.previous.x, p.previous.y})
                state.push_back(value);
        }
        return state;
    };
    // Update k of the threaded system arms the step that update k of the plain system
    // takes, with the same attractor; once it is done the arrays agree bit for bit.
    const std::vector<float> plain = capture(false, 6);
    const std::vector<float> threaded = capture(true, 6);
    ASSERT_EQ(plain.size(), threaded.size());
    EXPECT_EQ(std::memcmp(plain.data(), threaded.data(), plain.size() * sizeof(float)), 0);
}

TEST_F(Workers, OneParticleGivesTheLowWorkerAnEmptyRange)
{
    Run(true, 1, 3);
    Run(true, 0, 2);
}

TEST_F(Workers, FailedThreadStartIsReportedAndNoWorkerIsLeftRunning)
{
    test::MessageBoxRecorder boxes;
    CanvasSettingsRecord().multiThreaded = true;
    CParticleSystem system(engine);
    FailNextThreadStartsForTesting(1); // the low worker fails, the high one starts
    system.Init({160, 120, 100});
    EXPECT_FALSE(system.IsInitialised());
    EXPECT_FALSE(system.WorkersRunning());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Error create threads!");
    EXPECT_EQ(boxes.Boxes()[0].title, "");
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Error);

    system.Init({160, 120, 100}); // ready for the next Init
    EXPECT_TRUE(system.IsInitialised());
    EXPECT_TRUE(system.WorkersRunning());
}

TEST_F(Workers, ReleaseDuringAStepWaitsForIt)
{
    CanvasSettingsRecord().multiThreaded = true;
    CParticleSystem system(engine);
    for (int round = 0; round < 5; ++round) {
        system.Init({160, 120, 200000});
        system.Update(); // arms a step that is still running when Release comes
        system.Release();
        EXPECT_FALSE(system.WorkersRunning());
        EXPECT_EQ(system.Particles(), nullptr);
    }
}

TEST_F(Workers, EmitWaitsForTheRunningStep)
{
    CanvasSettingsRecord().multiThreaded = true;
    g_particleSettings.radius = 0.0f;
    g_particleSettings.scattering = 0.0f;
    CParticleSystem system(engine);
    system.Init({160, 120, 100000});
    system.Update();
    engine.mouse[0] = 80.0f;
    system.Emit(80.0f, 60.0f); // the centre of the canvas
    for (int i = 0; i < 100000; i += 997)
        ASSERT_EQ(system.Particles()[i].current.x, 0.0f) << "a step wrote after the emission";
}

TEST_F(Workers, CanvasFlipsOnlyAtOrBelowTheFadeThreshold)
{
    CParticleSystem system(engine);
    system.Init({160, 120, 10});
    g_particleSettings.fadeOutRatio = 1.0f;
    system.Update();
    EXPECT_FALSE(system.CanvasIndex());
    g_particleSettings.fadeOutRatio = 0.99999f;
    system.Update();
    EXPECT_TRUE(system.CanvasIndex());
    system.Update();
    EXPECT_FALSE(system.CanvasIndex());
    g_particleSettings.fadeOutRatio = std::numeric_limits<float>::quiet_NaN();
    system.Update();
    EXPECT_FALSE(system.CanvasIndex());
}

} // namespace
} // namespace lumeno
