#pragma once
// The autopilot: while it is on, the pointer follows a path of its own over the canvas
// (autopilot_path.h) instead of the mouse, and the path's gestures now and then press
// the left button (a re-emission) or a colour key. It drives those inputs only, as a
// hand would, so what it does is what a person could do.
//
// The path runs on the clock the engine runs on, frame by frame, and stands while the
// engine is paused. A frame that took long moves the path on by kLongestStepMs at most,
// so a stalled window does not jump when it wakes.

#include <cstdint>
#include <functional>
#include <optional>

#include "play/autopilot_path.h"
#include "platform/window_message.h"

namespace lumeno {

class CRenderEngine;

class Autopilot {
public:
    static constexpr std::uint32_t kLongestStepMs = 100;
    // A render's autopilot without a seed of its own takes this one, so that it replays.
    static constexpr std::uint64_t kDefaultSeed = 1;
    // How far a beat moves the path on, in seconds of the path's clock: a visible lurch
    // along the path, which keeps the pointer on the canvas as the path does.
    static constexpr double kBeatHopSeconds = 0.12;

    explicit Autopilot(std::uint64_t seed) : m_seed(seed) {}

    // Before the engine renders a frame at `nowMs` on its clock: places its pointer on
    // the path and hands each button or key the path presses to `deliver`, which passes
    // it on as the window passes input on.
    void Steer(CRenderEngine& engine, std::uint32_t nowMs, const std::function<void(const WindowMessage&)>& deliver);

    // A beat of the music: the next Steer moves the path on by kBeatHopSeconds more.
    void HopOnBeat() { m_hopSeconds += kBeatHopSeconds; }

    // Input from a person that the autopilot takes over while it is on: pointer moves.
    static bool TakesOver(const WindowMessage& message) { return message.message == WM_MOUSEMOVE; }

    std::uint64_t Seed() const { return m_seed; }
    // Seconds on the path's clock.
    double Seconds() const { return m_seconds; }

private:
    std::uint64_t m_seed;
    std::optional<AutopilotPath> m_path;
    int m_width = 0;
    int m_height = 0;
    std::optional<std::uint32_t> m_lastMs;
    double m_seconds = 0.0;
    double m_hopSeconds = 0.0; // beats not yet stepped
};

} // namespace lumeno
