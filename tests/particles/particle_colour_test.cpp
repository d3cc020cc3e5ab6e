#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "fake_engine.h"
#include "particles/particle_system.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno {
namespace {

class ParticleColour : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_particleSettings.SetDefaults();
        CanvasSettingsRecord().SetDefaults();
        CanvasSettingsRecord().particleCount = 16;
    }
    void TearDown() override
    {
        g_particleSettings.SetDefaults();
        CanvasSettingsRecord().SetDefaults();
    }
    void InitWithSlot(int slot)
    {
        g_particleSettings.colorIndex = slot;
        system.Init({64, 48, 16});
    }

    test::FakeEngine engine;
    CParticleSystem system{engine};
};

TEST_F(ParticleColour, InitialColourComesFromTheSlot)
{
    InitWithSlot(1);
    EXPECT_EQ(system.CurrentColor()[0], 0.0f);
    EXPECT_EQ(system.CurrentColor()[1], 1.0f);
    EXPECT_EQ(system.CurrentColor()[3], 1.0f);
    InitWithSlot(3);
    EXPECT_EQ(system.CurrentColor()[0], 0.0f);
    EXPECT_EQ(system.CurrentColor()[1], 0.0f);
    EXPECT_EQ(system.CurrentColor()[2], 0.0f);
    EXPECT_EQ(system.CurrentColor()[3], 1.0f);
    float cycle[4] = {9, 9, 9, 9};
    system.GetCycleColor(cycle);
    EXPECT_EQ(cycle[0] + cycle[1] + cycle[2] + cycle[3], 0.0f);
    system.GetCycleColor(nullptr);
}

TEST_F(ParticleColour, CycleColourFollowsThreeSineWavesOfTheFrameCount)
{
    InitWithSlot(3);
    engine.frameCount = 1000;
    system.UpdateColor();
    const float phase = 1000.0f / 6.5f * 10.0f;
    float cycle[4];
    system.GetCycleColor(cycle);
    EXPECT_EQ(cycle[0], (std::sin(0.003f * phase) + 1.0f) * 0.5f);
    EXPECT_EQ(cycle[1], (std::sin(0.005f * phase) + 1.0f) * 0.5f);
    EXPECT_EQ(cycle[2], (std::sin(0.007f * phase) + 1.0f) * 0.5f);
    EXPECT_EQ(cycle[3], 1.0f);
    EXPECT_EQ(std::memcmp(system.CurrentColor(), cycle, sizeof cycle), 0) << "at rest the colour is the slot's";

    engine.frameCount = -1; // the count is read as unsigned
    system.UpdateColor();
    system.GetCycleColor(cycle);
    const float wrapped = 4294967295.0f / 6.5f * 10.0f;
    EXPECT_EQ(cycle[0], (std::sin(0.003f * wrapped) + 1.0f) * 0.5f);
}

TEST_F(ParticleColour, BlendHoldsOneFrameThenSnapsAfterTheFadeTime)
{
    InitWithSlot(0);
    system.UpdateColor();
    g_particleSettings.colorFadingSpeed = 0.1f;
    engine.frameTime = 0.025f;
    system.SetColorIndex(2);

    system.UpdateColor(); // t = 0: unchanged
    EXPECT_EQ(system.CurrentColor()[0], 1.0f);
    EXPECT_EQ(system.CurrentColor()[2], 0.0f);

    int frames = 1;
    while (system.CurrentColor()[2] != 1.0f && frames < 100) {
        system.UpdateColor();
        ++frames;
        if (system.CurrentColor()[2] != 1.0f) {
            EXPECT_GT(system.CurrentColor()[0], 0.0f);
        }
    }
    // t climbs 0.25 a frame: frames with t = 0, 0.25, 0.5, 0.75 blend, the fifth snaps.
    EXPECT_EQ(frames, 5);
    EXPECT_EQ(system.CurrentColor()[0], 0.0f);
    EXPECT_EQ(system.CurrentColor()[1], 0.0f);
    EXPECT_EQ(system.CurrentColor()[3], 1.0f);
}

TEST_F(ParticleColour, SlotOutsideTheTableShowsTheCyclingColour)
{
    InitWithSlot(57);
    engine.frameCount = 400;
    system.UpdateColor();
    float cycle[4];
    system.GetCycleColor(cycle);
    EXPECT_EQ(std::memcmp(system.CurrentColor(), cycle, sizeof cycle), 0);
    system.SetColorIndex(-4);
    system.UpdateColor();
    system.UpdateColor();
    EXPECT_TRUE(std::isfinite(system.CurrentColor()[0]));
}

TEST_F(ParticleColour, EditingTheShownPresetShowsAtTheNextFrame)
{
    InitWithSlot(1);
    system.UpdateColor();
    g_particleSettings.colors[1] = {0.5f, 0.25f, 0.125f};
    system.UpdateColor();
    EXPECT_EQ(system.CurrentColor()[0], 0.5f);
    EXPECT_EQ(system.CurrentColor()[1], 0.25f);
    EXPECT_EQ(system.CurrentColor()[2], 0.125f);
}

} // namespace
} // namespace lumeno
