// M at the window: the toy listens to a sound source of the test's own instead of the
// sound card, the caption says so, and M again gives the settings back; a source that
// cannot start says why in a box.

#include <cmath>

#include <QAbstractButton>

#include "app_fixture.h"
#include "play/sound_source.h"
#include "settings_presets.h"

namespace lumeno::test {
namespace {

// A loud 110 Hz tone handed over each time the event loop asks, as a sound card would.
class ToneSource : public SoundSource {
public:
    explicit ToneSource(std::string failure = {}) : m_failure(std::move(failure)) {}
    bool Start(Samples samples, std::string* error) override
    {
        if (!m_failure.empty()) {
            *error = m_failure;
            return false;
        }
        m_samples = std::move(samples);
        m_timer.callOnTimeout([this] {
            std::vector<float> tone(441);
            for (float& sample : tone)
                sample = 0.8f * static_cast<float>(std::sin(2 * M_PI * 110.0 * m_heard++ / 44100.0));
            m_samples(tone);
        });
        m_timer.start(10);
        return true;
    }
    int SampleRate() const override { return 44100; }

private:
    std::string m_failure;
    Samples m_samples;
    QTimer m_timer;
    long m_heard = 0;
};

TEST_F(AppTest, MListensAndSaysSoInTheCaptionAndMAgainGivesTheSettingsBack)
{
    Start();
    const float speed = g_particleSettings.speed;
    const QString title = Frame().windowTitle();
    Frame().Listening().SetSourceFactory([] { return std::make_unique<ToneSource>(); });

    QTest::keyClick(FrameWindow(), Qt::Key_M);
    EXPECT_TRUE(Frame().Listening().IsListening());
    EXPECT_EQ(Frame().windowTitle(), title + " - listening");
    // The frames that hear the tone go faster than the user's speed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return g_particleSettings.speed > speed * 1.3f; }, 5000))
        << "speed " << g_particleSettings.speed;

    QTest::keyClick(FrameWindow(), Qt::Key_M);
    EXPECT_FALSE(Frame().Listening().IsListening());
    EXPECT_EQ(Frame().windowTitle(), title);
    EXPECT_EQ(g_particleSettings.speed, speed);
    EXPECT_TRUE(Boxes().empty());
}

// Saved while the music drives them, the settings hold the user's speed, not the music's.
TEST_F(AppTest, SavesWhileListeningKeepTheUsersSettings)
{
    Start();
    const std::vector<std::byte> users = EncodeSettings(CanvasSettingsRecord(), g_particleSettings);
    Frame().Listening().SetSourceFactory([] { return std::make_unique<ToneSource>(); });
    QTest::keyClick(FrameWindow(), Qt::Key_M);
    const float speed = g_particleSettings.speed;
    ASSERT_TRUE(QTest::qWaitFor([&] { return g_particleSettings.speed > speed * 1.3f; }, 5000));

    Frame().PropertiesDialog()->ControlAs<QAbstractButton>(control_id::kSaveSettings)->click();
    Frame().Presets().SetChoosers({}, [](QWidget*, const QString&) { return QStringLiteral("mine.ar"); });
    Frame().Presets().SaveChosen();
    const std::string expected(reinterpret_cast<const char*>(users.data()), users.size());
    EXPECT_EQ(FileBytes(kSettingsFileName), expected);
    EXPECT_EQ(FileBytes("mine.ar"), expected);
    EXPECT_TRUE(Frame().Listening().IsListening());
    EXPECT_GT(g_particleSettings.speed, speed) << "the music still drives the toy";
}

TEST_F(AppTest, MWithoutASoundInputSaysWhyAndTheCaptionStays)
{
    Start();
    const QString title = Frame().windowTitle();
    Frame().Listening().SetSourceFactory(
        [] { return std::make_unique<ToneSource>("There is no audio input device to listen to."); });
    QTest::keyClick(FrameWindow(), Qt::Key_M);
    EXPECT_FALSE(Frame().Listening().IsListening());
    EXPECT_EQ(Frame().windowTitle(), title);
    EXPECT_EQ(Shown(), (std::vector<ShownBox>{
                           {"There is no audio input device to listen to.", "Listening", MessageIcon::Warning}}));
}

} // namespace
} // namespace lumeno::test
