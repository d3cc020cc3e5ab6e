#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "fake_engine.h"
#include "particles/attractor.h"
#include "particles/particle_system.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "support/message_box_recorder.h"

namespace lumeno {
namespace {

class ParticleSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_particleSettings.SetDefaults();
        CanvasSettingsRecord().SetDefaults();
    }
    void TearDown() override { SetUp(); }

    test::FakeEngine engine;
    CParticleSystem system{engine};
};

TEST_F(ParticleSystem, EmitBeforeInitAndAfterReleaseDoesNothing)
{
    system.Emit(10, 10);
    EXPECT_FALSE(system.IsInitialised());
    EXPECT_EQ(system.Particles(), nullptr);
    system.Release();
    system.Release();
    EXPECT_EQ(system.Count(), 0);
}

TEST_F(ParticleSystem, InitEmitsAtTheEngineMouseAndReleaseEmptiesIt)
{
    engine.mouse[0] = 32.0f; // the canvas centre
    engine.mouse[1] = 24.0f;
    g_particleSettings.radius = 0.0f;
    system.Init({64, 48, 100});
    ASSERT_TRUE(system.IsInitialised());
    ASSERT_EQ(system.Count(), 100);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(system.Particles()[i].current.x, 0.0f);
        EXPECT_EQ(system.Particles()[i].current.y, 0.0f);
    }
    system.Init({64, 48, 10}); // a second Init replaces the first
    EXPECT_EQ(system.Count(), 10);
    system.Release();
    EXPECT_FALSE(system.IsInitialised());
    EXPECT_EQ(system.Count(), 0);
    EXPECT_EQ(system.Width(), 0);
}

TEST_F(ParticleSystem, CountTheMachineCannotHoldIsReportedAndLeavesItInert)
{
    test::MessageBoxRecorder boxes;
    // The largest count a settings file can hold: 137 GB of particles.
    system.Init({64, 48, std::numeric_limits<std::int32_t>::max()});
    EXPECT_FALSE(system.IsInitialised());
    system.Init({64, 48, -5});
    EXPECT_FALSE(system.IsInitialised());
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Not enough memory for 2147483647 particles.\nTry less Particle."
                                     "\n\nError Description:\nRan out of memory");
    EXPECT_EQ(boxes.Boxes()[0].title, "DXErrorInfo:");
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Warning);

    system.Init({64, 48, 5}); // a failed Init leaves it ready for the next
    EXPECT_TRUE(system.IsInitialised());
}

TEST_F(ParticleSystem, StepUsesTheFixedInputsAndTheAttractorOutlivesTheSystem)
{
    engine.mouse[0] = 48.0f;
    engine.mouse[1] = 12.0f;
    g_particleSettings.colorIndex = 0;
    system.Init({64, 48, 20});
    system.AdvanceAttractor();
    system.FixStepInputs();
    const Attractor attractor = SimulationAttractor();
    EXPECT_TRUE(attractor.placed);

    const StepInputs& in = system.CurrentStepInputs();
    EXPECT_EQ(in.attractorX, attractor.x);
    EXPECT_EQ(in.color[0], 0.0f) << "red, inverted";
    EXPECT_EQ(in.color[1], 1.0f);
    EXPECT_EQ(in.color[3], 1.0f);
    EXPECT_EQ(in.drag, 0.99f);
    system.Simulate(0, system.Count());
    EXPECT_EQ(system.Particles()[7].current.g, 1.0f);

    system.Release();
    system.Init({64, 48, 20});
    EXPECT_EQ(SimulationAttractor().x, attractor.x);
    EXPECT_EQ(SimulationAttractor().y, attractor.y);
}

} // namespace
} // namespace lumeno
