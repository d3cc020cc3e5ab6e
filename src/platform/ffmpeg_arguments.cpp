// What ffmpeg is asked to do for each film format.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/video_encoder.h"

namespace lumeno {
namespace {

// The film's length in seconds, rounded up to the microsecond so that the sound reaches
// to the end of the last frame.
std::string FilmSeconds(const FilmRequest& film)
{
    const auto micro = (static_cast<std::int64_t>(film.frames) * 1000000 + film.framesPerSecond - 1) /
                       film.framesPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(micro / 1000000),
                  static_cast<long long>(micro % 1000000));
    return text;
}

} // namespace

std::optional<FilmFormat> FilmFormatForPath(std::string_view path)
{
    if (path.ends_with(".mp4"))
        return FilmFormat::Mp4;
    if (path.ends_with(".webm"))
        return FilmFormat::WebM;
    if (path.ends_with(".gif"))
        return FilmFormat::Gif;
    return std::nullopt;
}

std::vector<std::string> FfmpegArguments(const FilmRequest& film, const std::string& outputPath)
{
    // rgb0: the fourth byte of each pixel is ignored, so the canvas alpha cannot turn into
    // transparency in a GIF. Only errors are printed; they are read back when ffmpeg fails.
    std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error",
                                     "-f", "rawvideo", "-pix_fmt", "rgb0",
                                     "-video_size", std::to_string(film.width) + "x" + std::to_string(film.height),
                                     "-framerate", std::to_string(film.framesPerSecond), "-i", "pipe:0"};
    // The sound is read only as far as the film lasts, so the film keeps its length
    // whichever is longer; a sound that ends first leaves the rest of the film silent.
    const bool sound = !film.audioPath.empty() && film.format != FilmFormat::Gif;
    if (sound) {
        for (const std::string& arg : {std::string("-t"), FilmSeconds(film), std::string("-i"), "file:" + film.audioPath})
            args.push_back(arg);
    }
    const auto add = [&args](std::initializer_list<const char*> more) { args.insert(args.end(), more.begin(), more.end()); };
    switch (film.format) {
    case FilmFormat::Mp4:
        // yuv420p halves the chroma in both directions, so x264 takes only even sizes: an
        // odd canvas gains one column or row repeating its last one, never a scaled picture.
        if (film.width % 2 != 0 || film.height % 2 != 0) {
            args.push_back("-vf");
            args.push_back("pad=ceil(iw/2)*2:ceil(ih/2)*2,fillborders=right=" + std::to_string(film.width % 2) +
                           ":bottom=" + std::to_string(film.height % 2) + ":mode=smear");
        }
        // yuv420p and faststart: what every player and every upload page opens.
        add({"-c:v", "libx264", "-preset", film.live ? "veryfast" : "medium", "-crf", "18", "-pix_fmt", "yuv420p",
             "-movflags", "+faststart", "-f", "mp4"});
        break;
    case FilmFormat::WebM:
        // VP9 takes odd sizes. Constant quality; row threads keep two cores busy.
        add({"-c:v", "libvpx-vp9", "-crf", "32", "-b:v", "0", "-deadline", "good", "-cpu-used", "4", "-row-mt", "1",
             "-pix_fmt", "yuv420p", "-f", "webm"});
        break;
    case FilmFormat::Gif:
        // One palette from every frame of the film, so colours that cycle keep their hues;
        // no entry is kept for transparency, which the picture never has.
        add({"-filter_complex", "split[frames][copy];[copy]palettegen=reserve_transparent=0[palette];"
                                "[frames][palette]paletteuse",
             "-f", "gif"});
        break;
    }
    if (sound) {
        // Only the first sound stream: an MP3's cover picture must not become a second video.
        add({"-map", "0:v:0", "-map", "1:a:0"});
        if (film.format == FilmFormat::Mp4)
            add({"-c:a", "aac", "-b:a", "192k"});
        else
            add({"-c:a", "libopus", "-b:a", "128k"});
    }
    args.push_back("-y"); // the temporary already exists: we made it
    args.push_back(outputPath);
    return args;
}

} // namespace lumeno
