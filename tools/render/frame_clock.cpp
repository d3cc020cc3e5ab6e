#include "frame_clock.h"

namespace lumeno {

FrameClock::FrameClock(const RenderOptions& options)
{
    if (options.frameMs) {
        m_kind = Kind::FixedInterval;
        m_intervalMs = *options.frameMs;
    } else if (UsesFilmClock(options)) {
        m_kind = Kind::FilmRate;
        m_framesPerSecond = FilmFramesPerSecond(options);
    }
}

ClockSource FrameClock::Source()
{
    if (m_kind == Kind::Steady)
        return {};
    return [this] { return m_now; };
}

void FrameClock::StartFrame(int frame)
{
    if (m_kind == Kind::FixedInterval)
        m_now += m_intervalMs; // wraps as the millisecond counter does
    else if (m_kind == Kind::FilmRate)
        m_now = FilmClockMs(frame, m_framesPerSecond);
}

} // namespace lumeno
