#pragma once
// The main frame's recording: R starts a film of the picture the window shows, into
// recordings/<yyMMdd-HHmmss>.mp4 in the working folder, and R again ends it. The
// engine's picture tap hands every shown frame to the film's queue; the caption says
// "recording" meanwhile. When a film ends its numbers go to standard error, and to a box
// when the user ended it; a lost film always gets a box that names it.

#include <cstdint>
#include <functional>
#include <memory>

namespace lumeno {

class FilmRecorder;

class FrameRecording {
public:
    // `showRecording` marks the window while a film is made, and unmarks it.
    explicit FrameRecording(std::function<void(bool recording)> showRecording);
    ~FrameRecording();
    FrameRecording(const FrameRecording&) = delete;
    FrameRecording& operator=(const FrameRecording&) = delete;

    bool IsRecording() const { return m_recorder != nullptr; }
    void Toggle();
    // Before each frame: ends the film when its encoder has failed or its engine is gone.
    void Watch();
    // Ends the film, if one is made. `tellUser` shows the summary of a written film; a
    // lost film is told in any case.
    void Stop(bool tellUser);

private:
    void Start();
    bool FilmsTheCurrentEngine() const;

    std::function<void(bool)> m_showRecording;
    std::unique_ptr<FilmRecorder> m_recorder;
    // The generation of the engine whose pictures are filmed; 0 while none is. A rebuilt
    // engine may take the old one's address, never its generation.
    std::uint64_t m_engineGeneration = 0;
};

} // namespace lumeno
