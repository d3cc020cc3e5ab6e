// Randomise and its one step of undo, over the records, with no engine: undo gives back
// the record's 115 serialized bytes exactly, and the canvas record is never touched.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/render_engine.h"
#include "play/look_undo.h"
#include "settings/canvas_settings.h"
#include "settings/settings_file.h"

namespace lumeno {
namespace {

std::vector<std::byte> RecordsBytes() { return EncodeSettings(CanvasSettingsRecord(), g_particleSettings); }

class LookUndoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(g_engine, nullptr);
        m_savedParticles = g_particleSettings;
        m_savedCanvas = CanvasSettingsRecord();
        CanvasSettingsRecord().width = 800;
        CanvasSettingsRecord().particleCount = 27000;
        g_particleSettings.alphaIntensity = 0.123f;
        g_particleSettings.colors[0] = {0.1f, 0.2f, 0.3f};
        g_particleSettings.colorIndex = 2;
    }
    void TearDown() override
    {
        g_particleSettings = m_savedParticles;
        CanvasSettingsRecord() = m_savedCanvas;
    }

    ParticleSettings m_savedParticles;
    CanvasSettings m_savedCanvas;
};

TEST_F(LookUndoTest, UndoPutsBackTheRecordByteForByteAndTheCanvasNeverChanges)
{
    const std::vector<std::byte> before = RecordsBytes();
    ASSERT_EQ(before.size(), kSettingsFileSize);
    CanvasSettings canvasBefore = CanvasSettingsRecord();
    LookUndo looks(42);
    EXPECT_FALSE(looks.CanUndo());
    looks.Randomise();
    EXPECT_TRUE(looks.CanUndo());
    const std::vector<std::byte> randomised = RecordsBytes();
    EXPECT_NE(randomised, before);
    EXPECT_EQ(std::memcmp(randomised.data(), before.data(), 17), 0) << "the canvas record's 17 bytes stay";
    EXPECT_EQ(CanvasSettingsRecord().width, canvasBefore.width);
    EXPECT_EQ(CanvasSettingsRecord().particleCount, canvasBefore.particleCount);

    EXPECT_TRUE(looks.Undo());
    EXPECT_EQ(RecordsBytes(), before);
    EXPECT_FALSE(looks.CanUndo());
}

TEST_F(LookUndoTest, AnUndoAfterAnUndoOrBeforeAnyRandomiseDoesNothing)
{
    LookUndo looks(1);
    const std::vector<std::byte> before = RecordsBytes();
    EXPECT_FALSE(looks.Undo());
    EXPECT_EQ(RecordsBytes(), before);
    looks.Randomise();
    ASSERT_TRUE(looks.Undo());
    g_particleSettings.speed = 0.5f; // a change after the undo stays
    const std::vector<std::byte> edited = RecordsBytes();
    EXPECT_FALSE(looks.Undo());
    EXPECT_EQ(RecordsBytes(), edited);
}

TEST_F(LookUndoTest, ASecondRandomiseReplacesTheSavedStep)
{
    LookUndo looks(2);
    looks.Randomise();
    const std::vector<std::byte> first = RecordsBytes();
    looks.Randomise();
    EXPECT_NE(RecordsBytes(), first);
    ASSERT_TRUE(looks.Undo());
    EXPECT_EQ(RecordsBytes(), first);
    EXPECT_FALSE(looks.Undo());
    EXPECT_EQ(RecordsBytes(), first);
}

// The looks follow one from another from the seed, as DrawLook draws them in turn.
TEST_F(LookUndoTest, TheLooksFollowFromTheSeed)
{
    const ParticleSettings start = g_particleSettings;
    SeededRandom random(9);
    const ParticleSettings first = DrawLook(start, CanvasInForce(), random);
    const ParticleSettings second = DrawLook(first, CanvasInForce(), random);
    LookUndo looks(9);
    looks.Randomise();
    EXPECT_EQ(RecordsBytes(), EncodeSettings(CanvasSettingsRecord(), first));
    looks.Randomise();
    EXPECT_EQ(RecordsBytes(), EncodeSettings(CanvasSettingsRecord(), second));
}

} // namespace
} // namespace lumeno
