#include "frame_recording.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/film_recorder.h"
#include "engine/recording_name.h"
#include "engine/render_engine.h"
#include "platform/date_text.h"
#include "platform/gl/gl_device.h"
#include "platform/message_box.h"

namespace lumeno {
namespace {

constexpr const char* kRecordingTitle = "Recording";
// The frame timer's pace: no window shows more frames a second.
constexpr int kMaxFilmFramesPerSecond = 100;

// The film's rate is the window's when it began, so a window that keeps its pace gives
// each shown frame one film frame; before the first measurement, a display's usual 60.
// The recorder's clock keeps the film's length when the pace changes.
int FilmFramesPerSecond(float shownPerSecond)
{
    if (!(shownPerSecond >= 1.0f))
        return 60;
    return std::min(static_cast<int>(std::lround(shownPerSecond)), kMaxFilmFramesPerSecond);
}

// A name no film has yet: a second film begun in the same second gets a take number.
std::string FreeRecordingName()
{
    const std::tm now = LocalTimeNow();
    for (int take = 1;; ++take) {
        std::string name = RecordingName(now, take);
        std::error_code ignored;
        if (!std::filesystem::exists(name, ignored))
            return name;
    }
}

void TellFailure(const std::string& sentence)
{
    RecordingReport lost;
    lost.error = sentence;
    ShowMessageBox(RecordingSummary(lost), kRecordingTitle, MessageIcon::Error);
}

} // namespace

FrameRecording::FrameRecording(std::function<void(bool recording)> showRecording)
    : m_showRecording(std::move(showRecording))
{
}

FrameRecording::~FrameRecording() { Stop(false); }

void FrameRecording::Toggle()
{
    if (IsRecording())
        Stop(true);
    else
        Start();
}

void FrameRecording::Start()
{
    if (g_engine == nullptr || !g_engine->IsInitialised()) {
        ShowMessageBox("There is no picture to record: the engine is not running.", kRecordingTitle,
                       MessageIcon::Warning);
        return;
    }
    const std::string name = FreeRecordingName();
    std::error_code failure;
    std::filesystem::create_directories(kRecordingsFolder, failure);
    if (failure) {
        TellFailure("the film " + name + " was not written: cannot make the folder " + kRecordingsFolder + ": " +
                    failure.message());
        return;
    }
    FilmRequest film{name, FilmFormat::Mp4, g_engine->CanvasWidth(), g_engine->CanvasHeight(),
                     FilmFramesPerSecond(g_engine->FramesPerSecond())};
    film.live = true;
    std::string error;
    m_recorder = FilmRecorder::StartFilm(film, &error);
    if (!m_recorder) {
        TellFailure(error);
        return;
    }
    m_engineGeneration = g_engine->Generation();
    // On the frame thread: the pixels only move into the queue.
    g_engine->SetPictureTap([recorder = m_recorder.get()](GlImage&& picture) { recorder->Push(std::move(picture.bytes)); });
    std::fprintf(stderr, "lumeno: recording %s (%d x %d, %d frames a second)\n", name.c_str(), film.width, film.height,
                 film.framesPerSecond);
    if (m_showRecording)
        m_showRecording(true);
}

void FrameRecording::Watch()
{
    if (IsRecording() && (!FilmsTheCurrentEngine() || m_recorder->Failed()))
        Stop(true);
}

bool FrameRecording::FilmsTheCurrentEngine() const
{
    return g_engine != nullptr && g_engine->Generation() == m_engineGeneration;
}

void FrameRecording::Stop(bool tellUser)
{
    if (!IsRecording())
        return;
    if (FilmsTheCurrentEngine())
        g_engine->SetPictureTap({});
    m_engineGeneration = 0;
    const RecordingReport report = m_recorder->Stop();
    m_recorder.reset();
    if (m_showRecording)
        m_showRecording(false);
    std::fprintf(stderr, "lumeno: %s: %d frames shown, %d written, %d dropped%s\n", report.path.c_str(),
                 report.framesShown, report.framesWritten, report.framesDropped,
                 report.error.empty() ? "" : ", film lost");
    if (!report.error.empty())
        ShowMessageBox(RecordingSummary(report), kRecordingTitle, MessageIcon::Error);
    else if (tellUser)
        ShowMessageBox(RecordingSummary(report), kRecordingTitle, MessageIcon::None);
}

} // namespace lumeno
