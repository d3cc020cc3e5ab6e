#pragma once
// The clock lumeno-render gives the engine: the steady clock, a fixed frame interval
// (--frame-ms), or the film's rate, so that colour cycling keeps its pace in the film.

#include <cstdint>

#include "platform/clock.h"
#include "render_options.h"

namespace lumeno {

// Milliseconds at the end of frame `frame` (from 1) of a film at `framesPerSecond`:
// 1000 / rate a frame, rounded once from the start, so that 60 frames take exactly
// 1000 ms (intervals of 17, 16 and 17 ms) instead of drifting.
constexpr std::uint32_t FilmClockMs(int frame, int framesPerSecond)
{
    const auto thousandths = static_cast<std::uint64_t>(frame) * 1000u;
    const auto rate = static_cast<std::uint64_t>(framesPerSecond);
    return static_cast<std::uint32_t>((thousandths + rate / 2) / rate);
}

// The clock the options ask for, to be given to the engine.
class FrameClock {
public:
    explicit FrameClock(const RenderOptions& options);
    FrameClock(const FrameClock&) = delete;
    FrameClock& operator=(const FrameClock&) = delete;

    // Empty for the steady clock; else reads this clock, which must outlive its use.
    ClockSource Source();
    // Before frame `frame` (from 1) is rendered.
    void StartFrame(int frame);

private:
    enum class Kind { Steady, FixedInterval, FilmRate };
    Kind m_kind = Kind::Steady;
    std::uint32_t m_intervalMs = 0;
    int m_framesPerSecond = 60;
    std::uint32_t m_now = 0;
};

} // namespace lumeno
