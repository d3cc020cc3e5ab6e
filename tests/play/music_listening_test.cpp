// The window's listening with a sound source of the test's own: what it hears plays the
// toy frame by frame, stopping puts the settings back, and a source that cannot start
// says why in a box and changes nothing.

#include <gtest/gtest.h>

#include "play/music_listening.h"
#include "settings/particle_settings.h"
#include "support/message_box_recorder.h"
#include "support/wav_file.h"

namespace lumeno {
namespace {

constexpr int kRate = 44100;

// Hands over the samples a test gives it, as the sound card would between frames.
class FakeSource : public SoundSource {
public:
    explicit FakeSource(FakeSource** alive, std::string failure = {}) : m_alive(alive), m_failure(std::move(failure))
    {
        *m_alive = this;
    }
    ~FakeSource() override { *m_alive = nullptr; }
    bool Start(Samples samples, std::string* error) override
    {
        if (!m_failure.empty()) {
            *error = m_failure;
            return false;
        }
        m_samples = std::move(samples);
        return true;
    }
    int SampleRate() const override { return kRate; }
    void Hear(std::span<const float> mono) const { m_samples(mono); }

private:
    FakeSource** m_alive;
    std::string m_failure;
    Samples m_samples;
};

class MusicListeningTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_particleSettings.SetDefaults();
        g_particleSettings.speed = 0.5f;
    }
    void TearDown() override
    {
        g_particleSettings.SetDefaults();
    }

    MusicListening Listening(std::string failure = {})
    {
        return MusicListening([this, failure] { return std::make_unique<FakeSource>(&m_source, failure); },
                              [this](bool on) { m_shown.push_back(on); },
                              [this](const WindowMessage& m) {
                                  if (m.message == WM_LBUTTONDOWN)
                                      m_clicks.push_back(m_frame);
                              },
                              [this] { return m_nowMs; });
    }

    std::uint32_t m_nowMs = 5000;
    int m_frame = 0;
    FakeSource* m_source = nullptr;
    std::vector<bool> m_shown;
    std::vector<int> m_clicks;
    test::MessageBoxRecorder m_boxes;
};

TEST_F(MusicListeningTest, WhatIsHeardPlaysTheToyAndStoppingPutsTheSettingsBack)
{
    MusicListening listening = Listening();
    listening.Toggle();
    ASSERT_TRUE(listening.IsListening());
    ASSERT_NE(m_source, nullptr);
    EXPECT_EQ(m_shown, std::vector<bool>{true});

    // Two seconds at 100 frames a second, 441 samples heard before each frame.
    const std::vector<double> clicks{0.5, 1.3};
    std::vector<float> samples;
    for (const std::int16_t s : test::SilenceWithClicks(2.0, kRate, clicks))
        samples.push_back(s / 32768.0f);
    float loudest = 0.0f;
    for (m_frame = 0; m_frame < 200; ++m_frame) {
        m_source->Hear(std::span(samples).subspan(static_cast<std::size_t>(m_frame) * 441, 441));
        m_nowMs += 10;
        listening.BeforeFrame();
        loudest = std::max(loudest, g_particleSettings.speed);
    }
    ASSERT_EQ(m_clicks.size(), clicks.size());
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        EXPECT_GE(m_clicks[i], static_cast<int>(clicks[i] * 100)); // heard, then played: never early
        EXPECT_LE(m_clicks[i], static_cast<int>(clicks[i] * 100) + 8);
    }
    EXPECT_GT(loudest, 0.5f * 1.3f);

    listening.Toggle();
    EXPECT_FALSE(listening.IsListening());
    EXPECT_EQ(m_source, nullptr) << "the source goes when listening stops";
    EXPECT_EQ(m_shown, (std::vector<bool>{true, false}));
    EXPECT_EQ(g_particleSettings.speed, 0.5f);
    EXPECT_EQ(g_particleSettings.alphaIntensity, ParticleSettings().alphaIntensity);
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(MusicListeningTest, SourceThatCannotStartSaysWhyInABoxAndChangesNothing)
{
    MusicListening listening = Listening("There is no audio input device to listen to.");
    listening.Toggle();
    EXPECT_FALSE(listening.IsListening());
    EXPECT_EQ(m_source, nullptr);
    EXPECT_TRUE(m_shown.empty());
    EXPECT_EQ(m_boxes.Shown(), (std::vector<test::ShownBox>{
                                   {"There is no audio input device to listen to.", "Listening", MessageIcon::Warning}}));
    listening.BeforeFrame(); // nothing to play
    EXPECT_EQ(g_particleSettings.speed, 0.5f);
}

} // namespace
} // namespace lumeno
