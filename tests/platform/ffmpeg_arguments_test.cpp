#include <gtest/gtest.h>

#include <algorithm>

#include "platform/video_encoder.h"

namespace lumeno {
namespace {

// x264's yuv420p takes only even sizes: a canvas odd in either direction gains one column
// or row repeating its last one.
TEST(FfmpegArguments, Mp4OfACanvasOddInEitherDirectionIsPaddedByItsLastColumnOrRow)
{
    const std::string pad = "pad=ceil(iw/2)*2:ceil(ih/2)*2,fillborders=";
    const struct {
        int width, height;
        std::string filter; // empty: none
    } cases[] = {
        {640, 480, ""},
        {641, 480, pad + "right=1:bottom=0:mode=smear"},
        {640, 481, pad + "right=0:bottom=1:mode=smear"},
        {641, 481, pad + "right=1:bottom=1:mode=smear"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> args = FfmpegArguments({"a.mp4", FilmFormat::Mp4, c.width, c.height}, "a.mp4");
        const auto vf = std::find(args.begin(), args.end(), "-vf");
        EXPECT_EQ(vf == args.end() ? "" : *(vf + 1), c.filter) << c.width << "x" << c.height;
    }
}

std::string Joined(const std::vector<std::string>& args)
{
    std::string text;
    for (const std::string& arg : args)
        text += (text.empty() ? "" : " ") + arg;
    return text;
}

// The sound is cut at the film's end (rounded up to the microsecond) and only its first
// stream is taken; a GIF, which holds no sound, is made as if there were none.
TEST(FfmpegArguments, SoundIsMuxedAsAacOrOpusAndCutAtTheFilmsEnd)
{
    FilmRequest film{"a.mp4", FilmFormat::Mp4, 64, 48, 30};
    film.audioPath = "song:1.mp3";
    film.frames = 100; // 3.333333 s, and a little
    EXPECT_EQ(Joined(FfmpegArguments(film, "a.part")),
              "ffmpeg -hide_banner -nostdin -loglevel error -f rawvideo -pix_fmt rgb0 -video_size 64x48 -framerate 30 "
              "-i pipe:0 -t 3.333334 -i file:song:1.mp3 -c:v libx264 -preset medium -crf 18 -pix_fmt yuv420p "
              "-movflags +faststart -f mp4 -map 0:v:0 -map 1:a:0 -c:a aac -b:a 192k -y a.part");
    film.format = FilmFormat::WebM;
    film.framesPerSecond = 25;
    const std::string webm = Joined(FfmpegArguments(film, "a.part"));
    EXPECT_NE(webm.find("-i pipe:0 -t 4.000000 -i file:song:1.mp3 -c:v libvpx-vp9"), std::string::npos) << webm;
    EXPECT_NE(webm.find("-f webm -map 0:v:0 -map 1:a:0 -c:a libopus -b:a 128k -y a.part"), std::string::npos) << webm;
    film.format = FilmFormat::Gif;
    const std::string gif = Joined(FfmpegArguments(film, "a.part"));
    film.audioPath.clear();
    EXPECT_EQ(gif, Joined(FfmpegArguments(film, "a.part")));
}

} // namespace
} // namespace lumeno
