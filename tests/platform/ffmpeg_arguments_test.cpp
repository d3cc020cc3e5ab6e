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

} // namespace
} // namespace lumeno
