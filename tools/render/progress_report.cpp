#include "progress_report.h"

#include <cmath>
#include <unistd.h>

namespace lumeno {
namespace {

std::string Duration(double seconds)
{
    const long whole = std::lround(seconds);
    char text[48];
    if (whole < 60)
        std::snprintf(text, sizeof text, "%ld s", whole);
    else if (whole < 3600)
        std::snprintf(text, sizeof text, "%ld min %02ld s", whole / 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%ld h %02ld min", whole / 3600, whole / 60 % 60);
    return text;
}

// A terminal is redrawn at most this often: writing every frame of a fast render would
// cost more than the frames.
constexpr auto kTerminalInterval = std::chrono::milliseconds(200);
constexpr auto kLogInterval = std::chrono::seconds(2);

} // namespace

std::string ProgressText(int framesDone, int frames, double secondsSoFar)
{
    std::string text = "frame " + std::to_string(framesDone) + " of " + std::to_string(frames);
    if (secondsSoFar <= 0.0 || framesDone <= 0)
        return text;
    const double rate = framesDone / secondsSoFar;
    char line[64];
    std::snprintf(line, sizeof line, ", %.1f frames/s, ", rate);
    return text + line + Duration((frames - framesDone) / rate) + " left";
}

ProgressReport::ProgressReport(int frames, std::FILE* out, bool terminal)
    : m_frames(frames), m_out(out), m_terminal(terminal)
{
}

ProgressReport ProgressReport::ForStream(int frames, std::FILE* out)
{
    return ProgressReport(frames, out, ::isatty(::fileno(out)) == 1);
}

void ProgressReport::FrameDone(int frame)
{
    m_lastFrame = frame;
    const Clock::time_point now = Clock::now();
    if (now - m_lastShown >= (m_terminal ? Clock::duration(kTerminalInterval) : Clock::duration(kLogInterval)))
        Show(frame, now);
}

void ProgressReport::Finish()
{
    if (!m_terminal)
        return;
    if (m_lastFrame > m_shownFrame)
        Show(m_lastFrame, Clock::now());
    if (m_lineOpen)
        std::fputc('\n', m_out);
    m_lineOpen = false;
}

void ProgressReport::Show(int frame, Clock::time_point now)
{
    m_lastShown = now;
    m_shownFrame = frame;
    const std::string text =
        "lumeno-render: " + ProgressText(frame, m_frames, std::chrono::duration<double>(now - m_started).count());
    if (!m_terminal) {
        std::fprintf(m_out, "%s\n", text.c_str());
        return;
    }
    // Spaces wipe what a longer line before left behind.
    const std::size_t padding = m_shownLength > text.size() ? m_shownLength - text.size() : 0;
    std::fprintf(m_out, "\r%s%*s", text.c_str(), static_cast<int>(padding), "");
    std::fflush(m_out);
    m_shownLength = text.size();
    m_lineOpen = true;
}

} // namespace lumeno
