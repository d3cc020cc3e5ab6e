#pragma once
// How far a render has come, on standard error: on a terminal one line rewritten in
// place; elsewhere (a log, a pipe) a plain line every few seconds.

#include <chrono>
#include <cstdio>
#include <string>

namespace lumeno {

// "frame 120 of 300, 48.0 frames/s, 4 s left".
std::string ProgressText(int framesDone, int frames, double secondsSoFar);

class ProgressReport {
public:
    ProgressReport(int frames, std::FILE* out, bool terminal);
    // Whether `out` is a terminal.
    static ProgressReport ForStream(int frames, std::FILE* out);

    void FrameDone(int frame);
    // Ends the line a terminal shows.
    void Finish();

private:
    using Clock = std::chrono::steady_clock;
    void Show(int frame, Clock::time_point now);

    int m_frames;
    std::FILE* m_out;
    bool m_terminal;
    Clock::time_point m_started = Clock::now();
    Clock::time_point m_lastShown = m_started;
    std::size_t m_shownLength = 0;
    int m_lastFrame = 0;
    int m_shownFrame = 0;
    bool m_lineOpen = false;
};

} // namespace lumeno
