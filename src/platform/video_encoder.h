#pragma once
// Films through Debian's ffmpeg: raw frames of a fixed size go down a pipe into an
// ffmpeg child that writes a temporary file beside the target; the temporary becomes
// the film only when ffmpeg has exited with success, so a film that stopped early never
// looks finished. Every failure is a sentence that names the film.
//
// Usage (one thread at a time):
//   std::string error;
//   auto encoder = VideoEncoder::Start({"out.mp4", FilmFormat::Mp4, 1920, 1080, 60}, &error);
//   if (!encoder) ... error
//   for each frame: if (!encoder->WriteFrame(rgba, &error)) ... error (the film is lost)
//   if (!encoder->Finish(&error)) ... error
// An encoder destroyed without Finish stops ffmpeg and removes the temporary.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace lumeno {

// .mp4: H.264 in yuv420p (odd sizes gain one repeated column or row, as yuv420p needs even
// ones); .webm: VP9 in yuv420p; .gif: one palette made from the whole film.
enum class FilmFormat { Mp4, WebM, Gif };

// The format named by the file's ending, or none.
std::optional<FilmFormat> FilmFormatForPath(std::string_view path);

// GIF frame delays are whole hundredths of a second, and players slow delays under two
// hundredths down to ten: faster GIFs play at the wrong pace.
inline constexpr int kMaxGifFramesPerSecond = 50;

struct FilmRequest {
    std::string path;
    FilmFormat format = FilmFormat::Mp4;
    int width = 0;  // pixels of every frame
    int height = 0;
    int framesPerSecond = 60;
    // Made while the frames come (a recording): H.264 with a fast preset, so the encoder
    // keeps pace with the window at the cost of a somewhat larger file.
    bool live = false;
    // A sound file laid under the pictures (AAC in .mp4, Opus in .webm; a GIF has no
    // sound), cut at the film's end, `frames` / `framesPerSecond`. Empty: a silent film.
    std::string audioPath = {};
    int frames = 0;
};

// ffmpeg's command line for a film written to `outputPath`, reading frames from stdin.
std::vector<std::string> FfmpegArguments(const FilmRequest& film, const std::string& outputPath);

class VideoEncoder {
public:
    // Null with a sentence in *error when the temporary cannot be made or ffmpeg cannot
    // be started.
    static std::unique_ptr<VideoEncoder> Start(const FilmRequest& film, std::string* error);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // One frame of width x height RGBA pixels, top row first; alpha is not part of the
    // film. False with a sentence once ffmpeg has stopped: the film is then lost.
    [[nodiscard]] bool WriteFrame(std::span<const std::uint8_t> rgba, std::string* error);

    // Ends the film: waits for ffmpeg and renames the temporary to the film's name when
    // ffmpeg succeeded; removes it otherwise.
    [[nodiscard]] bool Finish(std::string* error);

    int FramesWritten() const { return m_framesWritten; }

private:
    VideoEncoder(FilmRequest film, std::string temporaryPath);
    [[nodiscard]] bool Spawn(std::string* error);
    // Closes the pipe, waits for ffmpeg and says how it ended; empty when it succeeded.
    std::string WaitForFfmpeg();
    bool Fail(std::string reason, std::string* error);
    void Discard();

    FilmRequest m_film;
    std::string m_temporaryPath;
    pid_t m_child = -1;
    int m_pipe = -1;       // write end of ffmpeg's stdin
    int m_ffmpegLog = -1;  // ffmpeg's stderr, read back when it fails
    int m_framesWritten = 0;
    std::string m_failure; // once set, the film is lost
};

} // namespace lumeno
