#include "engine/film_recorder.h"

#include <algorithm>
#include <cctype>

#include "platform/threads.h"

namespace lumeno {
namespace {

// Enough for a third of a second of a 1024 x 768 canvas, and still a few frames of the
// largest canvases; more would only hide an encoder that cannot keep up.
constexpr std::size_t kQueueBytes = std::size_t{128} << 20;
constexpr std::size_t kMinQueueFrames = 2;
constexpr std::size_t kMaxQueueFrames = 32;

class VideoEncoderSink final : public FilmSink {
public:
    explicit VideoEncoderSink(std::unique_ptr<VideoEncoder> encoder) : m_encoder(std::move(encoder)) {}
    bool WriteFrame(std::span<const std::uint8_t> rgba, std::string* error) override
    {
        return m_encoder->WriteFrame(rgba, error);
    }
    bool Finish(std::string* error) override { return m_encoder->Finish(error); }

private:
    std::unique_ptr<VideoEncoder> m_encoder;
};

} // namespace

std::string RecordingSummary(const RecordingReport& report)
{
    if (!report.error.empty()) {
        // ffmpeg's own words, when they end it, stay as it printed them.
        std::string sentence = report.error;
        if (sentence.find('\n') == std::string::npos && !sentence.ends_with('.'))
            sentence += '.';
        sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
        return sentence;
    }
    const auto frames = [](int count) { return std::to_string(count) + (count == 1 ? " frame" : " frames"); };
    return "Recorded " + report.path + ": " + frames(report.framesWritten) + " written, " +
           std::to_string(report.framesDropped) + " dropped.";
}

std::size_t RecordingQueueCapacity(std::size_t frameBytes)
{
    const std::size_t fitting = frameBytes == 0 ? kMaxQueueFrames : kQueueBytes / frameBytes;
    return std::clamp(fitting, kMinQueueFrames, kMaxQueueFrames);
}

FilmRecorder::FilmRecorder(std::string path, std::unique_ptr<FilmSink> sink, int framesPerSecond,
                           std::size_t capacity, FilmClock clock)
    : m_path(std::move(path)), m_sink(std::move(sink)), m_framesPerSecond(std::max(framesPerSecond, 1)),
      m_capacity(std::max<std::size_t>(capacity, 1)),
      m_clock(clock ? std::move(clock) : FilmClock([] { return std::chrono::steady_clock::now(); })),
      m_begun(m_clock())
{
}

FilmRecorder::~FilmRecorder() { (void)Stop(); }

std::unique_ptr<FilmRecorder> FilmRecorder::Start(std::string path, std::unique_ptr<FilmSink> sink,
                                                  int framesPerSecond, std::size_t capacity, FilmClock clock,
                                                  std::string* error)
{
    std::unique_ptr<FilmRecorder> recorder(
        new FilmRecorder(std::move(path), std::move(sink), framesPerSecond, capacity, std::move(clock)));
    std::error_code failure;
    recorder->m_thread = StartThread([self = recorder.get()] { self->EncodeQueued(); }, &failure);
    if (!recorder->m_thread.joinable()) {
        *error = "the film " + recorder->m_path + " was not written: no thread could be started for its encoder: " +
                 failure.message();
        recorder->m_stopped = true; // nothing to join; the sink goes unfinished
        return nullptr;
    }
    return recorder;
}

std::unique_ptr<FilmRecorder> FilmRecorder::StartFilm(const FilmRequest& film, std::string* error, FilmClock clock)
{
    std::unique_ptr<VideoEncoder> encoder = VideoEncoder::Start(film, error);
    if (!encoder)
        return nullptr;
    const std::size_t frameBytes = static_cast<std::size_t>(film.width) * static_cast<std::size_t>(film.height) * 4;
    return Start(film.path, std::make_unique<VideoEncoderSink>(std::move(encoder)), film.framesPerSecond,
                 RecordingQueueCapacity(frameBytes), std::move(clock), error);
}

bool FilmRecorder::Push(std::vector<std::uint8_t>&& rgba)
{
    ++m_shown;
    const TimePoint shown = m_clock();
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping || m_failed || m_queue.size() >= m_capacity)
            return false; // the picture goes with `rgba`'s owner
        m_queue.push_back({std::move(rgba), shown});
    }
    m_wake.notify_one();
    return true;
}

bool FilmRecorder::Failed() const
{
    const std::lock_guard lock(m_mutex);
    return m_failed;
}

std::int64_t FilmRecorder::FilmFrameAt(TimePoint time) const
{
    const std::int64_t since = std::chrono::duration_cast<std::chrono::nanoseconds>(time - m_begun).count();
    if (since < 0)
        return -1;
    // Rounded to the nearest frame in whole numbers: hours of film stay far inside 64 bits.
    constexpr std::int64_t kTwoSeconds = 2'000'000'000;
    return (since * m_framesPerSecond * 2 + kTwoSeconds / 2) / kTwoSeconds;
}

bool FilmRecorder::WriteFilmFrame(std::span<const std::uint8_t> rgba)
{
    std::string error;
    if (m_sink->WriteFrame(rgba, &error)) {
        ++m_written;
        return true;
    }
    const std::lock_guard lock(m_mutex);
    m_failed = true;
    m_error = std::move(error);
    return false;
}

bool FilmRecorder::RepeatUntil(std::span<const std::uint8_t> rgba, std::int64_t frames)
{
    while (m_written < frames) {
        if (!WriteFilmFrame(rgba))
            return false;
    }
    return true;
}

void FilmRecorder::EncodeQueued()
{
    TimePoint stoppedAt;
    for (;;) {
        TimedPicture picture;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
            if (m_queue.empty()) {
                stoppedAt = m_stoppedAt;
                break; // stopping, and everything queued is written
            }
            picture = std::move(m_queue.front());
            m_queue.pop_front();
            if (m_failed)
                continue; // the film is lost: what is left only empties the queue
        }
        // Outside the lock: the frame thread must never wait for a write.
        const std::int64_t frame = FilmFrameAt(picture.shown);
        if (frame < m_written)
            continue; // an earlier picture holds its film frame
        // Until the first picture came (the encoder starting, the next frame due) the window
        // showed much the same: it fills the film from the moment the recording began.
        const bool held = m_pictured == 0 ? RepeatUntil(picture.rgba, frame) : RepeatUntil(m_lastWritten, frame);
        if (held && WriteFilmFrame(picture.rgba)) {
            ++m_pictured;
            m_lastWritten = std::move(picture.rgba);
        }
    }
    // The last picture stays on screen until the recording ends. m_failed is this
    // thread's to set, so it reads it without the lock.
    if (m_pictured > 0 && !m_failed)
        (void)RepeatUntil(m_lastWritten, FilmFrameAt(stoppedAt));
}

RecordingReport FilmRecorder::Stop()
{
    if (m_stopped)
        return m_report;
    m_stopped = true;
    {
        const TimePoint now = m_clock();
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_stoppedAt = now;
    }
    m_wake.notify_one();
    m_thread.join();
    m_report.path = m_path;
    m_report.framesShown = m_shown;
    m_report.framesWritten = m_written;
    m_report.framesDropped = m_shown - m_pictured;
    if (m_failed)
        m_report.error = m_error;
    else if (std::string error; !m_sink->Finish(&error))
        m_report.error = std::move(error);
    return m_report;
}

} // namespace lumeno
