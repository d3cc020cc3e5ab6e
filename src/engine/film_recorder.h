#pragma once
// A film of the window's picture while the program runs. The frame loop hands each
// picture over and goes on at once: a bounded queue feeds the encoder on a thread of its
// own, and a picture that finds the queue full is dropped and counted, so a slow encoder
// costs frames of the film, never frames of the window.
//
// The film has a constant rate, but the window's frames come when they can: each picture
// is timed by a steady clock as it is pushed and fills the film frames from the one
// nearest its time until the next picture's, so a picture is repeated while the window
// lags, and one whose film frame an earlier picture already holds is left out. The last
// picture lasts until Stop. The film thus plays for as long as the recording took.
//
// The window records with it (app/frame_recording.h); it lives in the core, without Qt,
// so that its timing and its queue are tested on their own.
//
// Usage (Push from the frame thread, the rest from the thread that started it):
//   auto recorder = FilmRecorder::StartFilm({"recordings/x.mp4", FilmFormat::Mp4, w, h, 60}, &error);
//   each frame: recorder->Push(std::move(picture.bytes));
//   if (recorder->Failed()) ... stop early
//   const RecordingReport report = recorder->Stop();

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/video_encoder.h"

namespace lumeno {

// Where the encoder thread puts the pictures: the film itself, or a test's stand-in.
class FilmSink {
public:
    virtual ~FilmSink() = default;
    // False with a sentence that names the film when it is lost.
    [[nodiscard]] virtual bool WriteFrame(std::span<const std::uint8_t> rgba, std::string* error) = 0;
    [[nodiscard]] virtual bool Finish(std::string* error) = 0;
};

struct RecordingReport {
    std::string path;
    int framesShown = 0;   // pictures handed to Push
    int framesWritten = 0; // frames the film holds, repeated pictures included
    int framesDropped = 0; // pictures shown that the film never shows: the queue was full,
                           // an earlier picture held their film frame, or the film had failed
    std::string error;     // empty when the film was written
};

// What a user is told when a recording ends: "Recorded recordings/x.mp4: 120 frames
// written, 3 dropped." or, when the film is lost, the reason as a sentence.
std::string RecordingSummary(const RecordingReport& report);

// As many pictures as fit in a fixed amount of memory, at least 2 and at most 32 (a third
// of a second at the frame timer's pace).
std::size_t RecordingQueueCapacity(std::size_t frameBytes);

// When a picture was shown; tests pass a clock of their own.
using FilmClock = std::function<std::chrono::steady_clock::time_point()>;

class FilmRecorder {
public:
    // Starts the encoder thread on `sink`, for a film of `framesPerSecond` whose pictures
    // are timed by `clock` (the steady clock when empty); null with a sentence when no
    // thread can start.
    static std::unique_ptr<FilmRecorder> Start(std::string path, std::unique_ptr<FilmSink> sink, int framesPerSecond,
                                               std::size_t capacity, FilmClock clock, std::string* error);
    // A film through ffmpeg, its queue sized for its frames.
    static std::unique_ptr<FilmRecorder> StartFilm(const FilmRequest& film, std::string* error, FilmClock clock = {});
    // Stops as Stop does if that has not happened.
    ~FilmRecorder();
    FilmRecorder(const FilmRecorder&) = delete;
    FilmRecorder& operator=(const FilmRecorder&) = delete;

    // Queues one picture, or drops it (false) when the queue is full or the film has
    // failed. Never waits for the encoder.
    bool Push(std::vector<std::uint8_t>&& rgba);
    // True once the film is lost; Stop says why.
    bool Failed() const;
    const std::string& Path() const { return m_path; }
    // Writes what is queued, holds the last picture until now, then finishes the film.
    // The second call reports the same.
    RecordingReport Stop();

private:
    using TimePoint = std::chrono::steady_clock::time_point;
    struct TimedPicture {
        std::vector<std::uint8_t> rgba;
        TimePoint shown;
    };

    FilmRecorder(std::string path, std::unique_ptr<FilmSink> sink, int framesPerSecond, std::size_t capacity,
                 FilmClock clock);
    void EncodeQueued();
    // The film frame nearest `time`, counted from the start of the recording; -1 before it.
    std::int64_t FilmFrameAt(TimePoint time) const;
    // Repeats `rgba` until the film holds `frames` frames.
    bool RepeatUntil(std::span<const std::uint8_t> rgba, std::int64_t frames);
    bool WriteFilmFrame(std::span<const std::uint8_t> rgba);

    const std::string m_path;
    const std::unique_ptr<FilmSink> m_sink;
    const int m_framesPerSecond;
    const std::size_t m_capacity;
    const FilmClock m_clock;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<TimedPicture> m_queue; // guarded by m_mutex
    bool m_stopping = false;          // guarded by m_mutex
    TimePoint m_stoppedAt;            // guarded by m_mutex; set with m_stopping
    bool m_failed = false;            // guarded by m_mutex; written by the encoder thread only
    std::string m_error;              // guarded by m_mutex
    int m_shown = 0;                  // producer's own
    const TimePoint m_begun;          // the film's frame 0
    // The encoder thread's, read after the join:
    std::vector<std::uint8_t> m_lastWritten;
    int m_written = 0;                // film frames
    int m_pictured = 0;               // pictures written at least once
    std::thread m_thread;
    bool m_stopped = false;
    RecordingReport m_report;
};

} // namespace lumeno
