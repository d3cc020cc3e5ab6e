// Films through the real ffmpeg, checked with ffprobe; and films that cannot be made,
// which must leave neither a film nor its temporary behind.

#include "lumeno_render_fixture.h"
#include "support/fake_ffmpeg.h"

#include <cstdlib>
#include <fstream>

namespace lumeno::test {
namespace {

class LumenoRenderFilm : public LumenoRender {
protected:
    void SetUp() override
    {
        LumenoRender::SetUp();
        // Films are a feature of the tool: a machine without ffmpeg fails here, loudly.
        ASSERT_EQ(std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null"), 0)
            << "ffmpeg and ffprobe are needed for the film tests; scripts/install-deps installs them";
    }

    // A stand-in ffmpeg that runs `script` (sh), in a folder "fake-<name>" put first on PATH.
    std::string FakeFfmpeg(const std::string& name, const std::string& script) const
    {
        const std::filesystem::path folder = m_folder.Path() / ("fake-" + name);
        std::filesystem::create_directory(folder);
        WriteFakeFfmpeg(folder, script);
        return "PATH='" + folder.string() + ":/usr/bin:/bin'";
    }
};

TEST_F(LumenoRenderFilm, EveryFormatHoldsEveryFrameAtTheCanvasSize)
{
    struct Case {
        const char* arguments;
        const char* film;
        const char* probe; // codec, width, height, pixel format (but a GIF's), rate, frames
        const char* said;
    };
    const Case cases[] = {
        {"--canvas 64x48 --fps 30", "even.mp4", "h264,64,48,yuv420p,30/1,10",
         "the film is in even.mp4 (10 frames at 30 a second)"},
        // yuv420p needs even sizes: one repeated column and row, not a scaled picture.
        {"--canvas 65x47", "odd.mp4", "h264,66,48,yuv420p,60/1,10", "the film is in odd.mp4 (10 frames at 60 a second)"},
        {"--canvas 65x47 --fps 24", "film.webm", "vp9,65,47,yuv420p,24/1,10",
         "the film is in film.webm (10 frames at 24 a second)"},
        {"--canvas 64x48 --fps 25", "film.gif", "gif,64,48,25/1,10", "the film is in film.gif (10 frames at 25 a second)"},
    };
    std::set<std::string> expected;
    for (const Case& c : cases) {
        const Result run = Run(std::string(c.arguments) + " --frames 10 --video " + c.film);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
        const bool gif = std::string(c.film).ends_with(".gif");
        const Result probe = Shell(std::string("ffprobe -v error -count_frames -select_streams v:0 -show_entries ") +
                                   "stream=codec_name,width,height," + (gif ? "" : "pix_fmt,") +
                                   "r_frame_rate,nb_read_frames -of csv=p=0 '" + m_folder.File(c.film) + "'");
        EXPECT_EQ(probe.output, std::string(c.probe) + "\n") << c.film;
        expected.insert(c.film);
        EXPECT_EQ(Entries(), expected) << "a temporary was left beside " << c.film;
    }
}

TEST_F(LumenoRenderFilm, FilmThatCannotBeMadeSaysWhyAndLeavesNoFile)
{
    struct Case {
        const char* what;
        std::string environment;
        const char* film;
        const char* message;
    };
    // One frame (640 x 480 x 4 bytes) is larger than the pipe holds (at most 1 MiB), so an
    // ffmpeg that stops reading stops the first frame.
    const Case cases[] = {
        {"no ffmpeg", "PATH='" + m_folder.Path().string() + "'", "film.mp4",
         "lumeno-render: the film film.mp4 was not written: ffmpeg was not found on PATH "
         "(on Debian: apt-get install ffmpeg)\n"},
        {"stops early", FakeFfmpeg("stops", "head -c 1000 >/dev/null; echo 'cannot go on' >&2; exit 1"), "film.mp4",
         "lumeno-render: the film film.mp4 was not written: ffmpeg stopped after 0 frames with exit status 1; "
         "ffmpeg said:\ncannot go on\n"},
        {"killed", FakeFfmpeg("killed", "head -c 1000 >/dev/null; kill -KILL $$"), "film.webm",
         "lumeno-render: the film film.webm was not written: ffmpeg stopped after 0 frames with signal 9 "
         "(Killed)\n"},
        {"fails at the end", FakeFfmpeg("fails", "cat >/dev/null; echo 'no disk' >&2; exit 3"), "film.gif",
         "lumeno-render: the film film.gif was not written: ffmpeg ended with exit status 3; ffmpeg said:\n"
         "no disk\n"},
        {"no folder", "", "absent/film.mp4",
         "lumeno-render: the film absent/film.mp4 was not written: cannot create a file in absent: "
         "No such file or directory\n"},
    };
    for (const Case& c : cases) {
        const Result run = Run(std::string("--canvas 640x480 --frames 3 --video ") + c.film, c.environment);
        EXPECT_EQ(run.status, 1) << c.what << "\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.what << "\n" << run.output;
        for (const std::string& entry : Entries())
            EXPECT_EQ(entry.rfind("fake-", 0), 0u) << c.what << ": " << entry << " was left";
    }
}

} // namespace
} // namespace lumeno::test
