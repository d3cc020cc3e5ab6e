// lumeno-render --audio: music that changes nothing when silent, films that carry the
// sound for exactly their length, and music files that cannot be played.

#include "lumeno_render_fixture.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/audio_decoding.h"
#include "support/file_bytes.h"
#include "support/wav_file.h"

namespace lumeno::test {
namespace {

constexpr int kRate = 44100;

// A 440 Hz tone at half scale.
std::vector<std::int16_t> Tone(double seconds)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(16000 * std::sin(2 * M_PI * 440.0 * static_cast<double>(i) / kRate));
    return samples;
}

class LumenoRenderMusic : public LumenoRender {
protected:
    // Seconds of sound in a file, as ffmpeg decodes it.
    double SoundSeconds(const std::string& name) const
    {
        std::vector<float> samples;
        std::string error;
        EXPECT_TRUE(DecodeAudioFile(m_folder.File(name.c_str()), &samples, &error)) << error;
        return static_cast<double>(samples.size()) / kRate;
    }
    std::string Probe(const std::string& name, const std::string& stream, const std::string& entries) const
    {
        return Shell("ffprobe -v error -count_frames -select_streams " + stream + " -show_entries stream=" + entries +
                     " -of csv=p=0 '" + m_folder.File(name.c_str()) + "'")
            .output;
    }
};

TEST_F(LumenoRenderMusic, SilentMusicChangesNothingAndLoudMusicSavesTheUsersSettings)
{
    WriteWav(m_folder.File("silence.wav"), std::vector<std::int16_t>(kRate / 2, 0), kRate); // 30 frames at 60
    WriteWav(m_folder.File("clicks.wav"), SilenceWithClicks(0.5, kRate, {0.1, 0.3}), kRate);
    const std::string scene = "--canvas 64x48 --particles 2000 ";
    for (const std::string& run : {scene + "--fps 60 --frames 30 --dump-particles plain.bin --save-settings plain.ar",
                                   scene + "--audio silence.wav --dump-particles silent.bin --save-settings silent.ar",
                                   scene + "--audio clicks.wav --dump-particles clicks.bin --save-settings clicks.ar"}) {
        const Result result = Run(run);
        ASSERT_EQ(result.status, 0) << run << "\n" << result.output;
    }
    const std::string plain = FileBytes(m_folder.File("plain.bin"));
    ASSERT_EQ(plain.size(), 2000u * 64);
    EXPECT_TRUE(FileBytes(m_folder.File("silent.bin")) == plain) << "silence moved a particle";
    EXPECT_FALSE(FileBytes(m_folder.File("clicks.bin")) == plain) << "the clicks did nothing";
    // The music scaled speed and intensity while it played; what is saved is the user's.
    const std::string settings = FileBytes(m_folder.File("plain.ar"));
    EXPECT_EQ(settings.size(), 115u);
    EXPECT_TRUE(FileBytes(m_folder.File("silent.ar")) == settings);
    EXPECT_TRUE(FileBytes(m_folder.File("clicks.ar")) == settings);
}

TEST_F(LumenoRenderMusic, FilmHoldsTheSoundForTheFilmsLength)
{
    ASSERT_EQ(std::system("command -v ffprobe >/dev/null"), 0) << "ffprobe is needed; scripts/install-deps installs it";
    WriteWav(m_folder.File("tone.wav"), Tone(0.75), kRate); // 15 frames at 20 a second
    struct Case {
        const char* arguments;
        const char* film;
        const char* video; // codec, frames
        const char* audio; // codec
        double seconds;    // of sound
    };
    const Case cases[] = {
        {"", "music.mp4", "h264,15", "aac", 0.75},
        {"", "music.webm", "vp9,15", "opus", 0.75},
        {"--frames 10", "short.mp4", "h264,10", "aac", 0.5}, // the sound is cut at the film's end
        {"--frames 20", "long.webm", "vp9,20", "opus", 0.75}, // the film goes on in silence
    };
    for (const Case& c : cases) {
        const Result run =
            Run(std::string("--canvas 64x48 --particles 2000 --fps 20 --audio tone.wav --video ") + c.film + " " +
                c.arguments);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(Probe(c.film, "v:0", "codec_name,nb_read_frames"), std::string(c.video) + "\n") << c.film;
        EXPECT_EQ(Probe(c.film, "a", "codec_name"), std::string(c.audio) + "\n") << c.film;
        // Whole codec frames: AAC's are 23 ms, Opus's 20 ms.
        EXPECT_NEAR(SoundSeconds(c.film), c.seconds, 0.03) << c.film;
    }

    const Result gif = Run("--canvas 64x48 --particles 2000 --fps 20 --audio tone.wav --video music.gif");
    ASSERT_EQ(gif.status, 0) << gif.output;
    EXPECT_NE(gif.output.find("lumeno-render: warning: a GIF holds no sound: music.gif is silent; the music still "
                              "plays its pictures\n"),
              std::string::npos)
        << gif.output;
    EXPECT_EQ(Probe("music.gif", "v:0", "nb_read_frames"), "15\n");
}

TEST_F(LumenoRenderMusic, MusicThatCannotBePlayedSaysWhyAndRendersNothing)
{
    std::ofstream(m_folder.File("notes.wav")) << "this is not a sound\n";
    WriteWav(m_folder.File("tone.wav"), Tone(0.1), kRate);
    const struct {
        std::string audio;
        std::string environment;
        std::string message;
    } cases[] = {
        {"absent.wav", "", "lumeno-render: cannot read the audio file absent.wav: No such file or directory\n"},
        {"notes.wav", "",
         "lumeno-render: cannot decode the audio file notes.wav: Invalid data found when processing input\n"},
        {"tone.wav", "PATH='" + m_folder.Path().string() + "'",
         "lumeno-render: cannot decode the audio file tone.wav: ffmpeg was not found on PATH (on Debian: apt-get "
         "install ffmpeg)\n"},
    };
    for (const auto& c : cases) {
        const Result run = Run("--canvas 64x48 --particles 2000 --audio " + c.audio + " --video film.mp4", c.environment);
        EXPECT_EQ(run.status, 1) << c.audio;
        EXPECT_EQ(run.output, c.message);
        EXPECT_EQ(Entries(), (std::set<std::string>{"notes.wav", "tone.wav"})) << c.audio;
    }
}

} // namespace
} // namespace lumeno::test
