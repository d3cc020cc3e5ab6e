// What the music does to the toy: the mapping's choices frame by frame, and the player
// that turns them into window messages and settings and puts the user's settings back.

#include <gtest/gtest.h>

#include "play/music_analysis.h"
#include "play/music_player.h"
#include "settings/particle_settings.h"
#include "support/wav_file.h"

namespace lumeno {
namespace {

MusicFrame Onset(float strength) { return MusicFrame{0.0f, true, strength, false}; }
MusicFrame Beat() { return MusicFrame{0.0f, false, 0.0f, true}; }

TEST(MusicMapping, SilenceLeavesEverySettingAsItIsAndGivesNoInput)
{
    MusicMapping mapping(60, 3);
    for (int i = 0; i < 100; ++i) {
        const MusicInputs inputs = mapping.Next(MusicFrame{});
        EXPECT_EQ(inputs.speedFactor, 1.0f);
        EXPECT_EQ(inputs.intensityFactor, 1.0f);
        EXPECT_FALSE(inputs.reEmit);
        EXPECT_EQ(inputs.colorSlot, -1);
        EXPECT_FALSE(inputs.beat);
    }
}

TEST(MusicMapping, LoudnessScalesSpeedAndIntensityAroundTheUsersValues)
{
    MusicMapping mapping(60, 0);
    const MusicInputs full = mapping.Next(MusicFrame{1.0f, false, 0.0f, false});
    EXPECT_EQ(full.speedFactor, 1.6f);
    EXPECT_EQ(full.intensityFactor, 2.0f);
    const MusicInputs half = mapping.Next(MusicFrame{0.5f, false, 0.0f, false});
    EXPECT_EQ(half.speedFactor, 1.3f);
    EXPECT_EQ(half.intensityFactor, 1.5f);
}

TEST(MusicMapping, OnsetsReEmitAtMostEveryPointThreeSecondsAndNotWhenFaint)
{
    // At 60 frames a second 0.3 s is 18 frames.
    std::vector<MusicFrame> frames(80);
    for (const int at : {0, 5, 17, 18, 30, 40})
        frames[at] = Onset(1.0f);
    frames[58] = Onset(0.1f); // faint: left to the loudness
    frames[62] = Onset(0.2f);
    MusicMapping mapping(60, 0);
    std::vector<int> emitted;
    for (int i = 0; i < 80; ++i) {
        if (mapping.Next(frames[i]).reEmit)
            emitted.push_back(i);
    }
    EXPECT_EQ(emitted, (std::vector<int>{0, 18, 40, 62}));
}

TEST(MusicMapping, EveryEighthBeatStepsTheColourSlotRoundAllFour)
{
    MusicMapping mapping(60, 2);
    std::vector<int> slots;
    for (int beat = 1; beat <= 32; ++beat) {
        const MusicInputs inputs = mapping.Next(Beat());
        EXPECT_TRUE(inputs.beat);
        if (beat % 8 != 0)
            EXPECT_EQ(inputs.colorSlot, -1) << "beat " << beat;
        else
            slots.push_back(inputs.colorSlot);
    }
    EXPECT_EQ(slots, (std::vector<int>{3, 0, 1, 2}));
}

// The player's messages, each with the film frame it came before.
struct Delivered {
    int frame;
    std::uint32_t message;
    std::uint32_t key;
    bool operator==(const Delivered&) const = default;
};

class MusicPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_particleSettings.SetDefaults();
        g_particleSettings.speed = 0.75f;
        g_particleSettings.alphaIntensity = 0.3f;
        g_particleSettings.colorIndex = 1;
    }
    void TearDown() override { g_particleSettings.SetDefaults(); }

    MusicPlayer::Deliver Recorder()
    {
        return [this](const WindowMessage& m) { delivered.push_back({frame, m.message, m.virtualKey}); };
    }

    int frame = 0;
    std::vector<Delivered> delivered;
};

TEST_F(MusicPlayerTest, DeliversClicksAndKeysBeforeTheirFramesAndPutsTheUsersSettingsBack)
{
    std::vector<MusicFrame> music(20);
    music[2] = MusicFrame{1.0f, true, 1.0f, false};
    for (int i = 4; i < 20; i += 2)
        music[i].beat = true; // the eighth beat is at music frame 18: film frame 19
    int beats = 0;
    {
        MusicPlayer player(music, 60, Recorder());
        player.onBeat = [&beats] { ++beats; };
        for (frame = 1; frame <= 20; ++frame) {
            player.BeforeFrame(frame);
            if (frame == 3) {
                EXPECT_EQ(g_particleSettings.speed, 0.75f * 1.6f);
                EXPECT_EQ(g_particleSettings.alphaIntensity, 0.3f * 2.0f);
            }
            if (frame == 4) {
                EXPECT_EQ(g_particleSettings.speed, 0.75f); // silent again
            }
        }
        frame = 21;
        player.BeforeFrame(21); // past the music's end
        EXPECT_EQ(g_particleSettings.speed, 0.75f);
        player.Stop();
    }
    EXPECT_EQ(delivered, (std::vector<Delivered>{{3, WM_LBUTTONDOWN, 0}, {19, WM_KEYDOWN, '3'}}));
    EXPECT_EQ(beats, 8);
    EXPECT_EQ(g_particleSettings.speed, 0.75f);
    EXPECT_EQ(g_particleSettings.alphaIntensity, 0.3f);
}

// A save while it plays keeps the user's values, never the music's.
TEST_F(MusicPlayerTest, SettingsTheUserChangesWhileItPlaysAreScaledAndKept)
{
    MusicPlayer player({}, 60, Recorder());
    const MusicFrame loud{1.0f, false, 0.0f, false};
    player.Play(loud);
    EXPECT_EQ(g_particleSettings.speed, 0.75f * 1.6f);
    EXPECT_EQ(player.UsersSettings().speed, 0.75f);
    g_particleSettings.speed = 2.0f; // the properties dialog's slider
    EXPECT_EQ(player.UsersSettings().speed, 2.0f);
    player.Play(loud);
    EXPECT_EQ(g_particleSettings.speed, 2.0f * 1.6f);
    EXPECT_EQ(g_particleSettings.alphaIntensity, 0.3f * 2.0f);
    EXPECT_EQ(player.UsersSettings().speed, 2.0f);
    EXPECT_EQ(player.UsersSettings().alphaIntensity, 0.3f);
    g_particleSettings.alphaIntensity = 0.1f; // a preset opened
    EXPECT_EQ(player.UsersSettings().alphaIntensity, 0.1f);
    player.Stop();
    EXPECT_EQ(g_particleSettings.speed, 2.0f);
    EXPECT_EQ(g_particleSettings.alphaIntensity, 0.1f);
    player.Play(loud); // stopped: plays no more
    EXPECT_EQ(g_particleSettings.speed, 2.0f);
}

TEST_F(MusicPlayerTest, ClicksInASoundFileReEmitWithinOneFrameOfTheirTime)
{
    const std::vector<double> clicks{0.4, 0.9, 1.6};
    const std::vector<std::int16_t> wav = test::SilenceWithClicks(2.0, 44100, clicks);
    std::vector<float> samples;
    for (const std::int16_t s : wav)
        samples.push_back(s / 32768.0f);
    std::vector<MusicFrame> music;
    std::string error;
    ASSERT_TRUE(AnalyseMusic(samples, 44100, 50, 100, &music, &error)) << error;
    {
        MusicPlayer player(music, 50, Recorder());
        for (frame = 1; frame <= 100; ++frame)
            player.BeforeFrame(frame);
    }
    ASSERT_EQ(delivered.size(), clicks.size());
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        EXPECT_EQ(delivered[i].message, WM_LBUTTONDOWN);
        EXPECT_NEAR(delivered[i].frame, 1 + static_cast<int>(clicks[i] * 50), 1) << "click at " << clicks[i] << " s";
    }
}

} // namespace
} // namespace lumeno
