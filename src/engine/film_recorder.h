#pragma once
// A film of the window's picture while the program runs. The frame loop hands each
// picture over and goes on at once: a bounded queue feeds the encoder on a thread of its
// own, and a picture that finds the queue full is dropped and counted, so a slow encoder
// costs frames of the film, never frames of the window.
//
// Usage (Push from the frame thread, the rest from the thread that started it):
//   auto recorder = FilmRecorder::StartFilm({"recordings/x.mp4", FilmFormat::Mp4, w, h, 60}, &error);
//   each frame: recorder->Push(std::move(picture.bytes));
//   if (recorder->Failed()) ... stop early
//   const RecordingReport report = recorder->Stop();

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
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
    int framesWritten = 0; // pictures the film holds
    int framesDropped = 0; // shown - written: the queue was full, or the film had failed
    std::string error;     // empty when the film was written
};

// What a user is told when a recording ends: "Recorded recordings/x.mp4: 120 frames
// written, 3 dropped." or, when the film is lost, the reason as a sentence.
std::string RecordingSummary(const RecordingReport& report);

// As many pictures as fit in a fixed amount of memory, at least 2 and at most 32 (a third
// of a second at the frame timer's pace).
std::size_t RecordingQueueCapacity(std::size_t frameBytes);

class FilmRecorder {
public:
    // Starts the encoder thread on `sink`; null with a sentence when no thread can start.
    static std::unique_ptr<FilmRecorder> Start(std::string path, std::unique_ptr<FilmSink> sink, std::size_t capacity,
                                               std::string* error);
    // A film through ffmpeg, its queue sized for its frames.
    static std::unique_ptr<FilmRecorder> StartFilm(const FilmRequest& film, std::string* error);
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
    // Writes what is queued, then finishes the film. The second call reports the same.
    RecordingReport Stop();

private:
    FilmRecorder(std::string path, std::unique_ptr<FilmSink> sink, std::size_t capacity);
    void EncodeQueued();

    const std::string m_path;
    const std::unique_ptr<FilmSink> m_sink;
    const std::size_t m_capacity;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::vector<std::uint8_t>> m_queue; // guarded by m_mutex
    bool m_stopping = false;                       // guarded by m_mutex
    bool m_failed = false;                         // guarded by m_mutex
    std::string m_error;                           // guarded by m_mutex
    int m_shown = 0;                               // producer's own
    int m_written = 0;                             // encoder thread's, read after the join
    std::thread m_thread;
    bool m_stopped = false;
    RecordingReport m_report;
};

} // namespace lumeno
