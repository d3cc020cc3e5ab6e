#pragma once
// Per-phase frame timings for --stats: each phase is opened and closed by finishing the
// device's work, so that GPU work is charged to the phase that issued it, at the price of
// serialising the frame.

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "platform/frame_profiler.h"

namespace lumeno {

class GlDevice;

class PhaseStats final : public FrameProfiler {
public:
    // The device whose work each phase waits for; it must outlive these statistics.
    explicit PhaseStats(const GlDevice& device) : m_device(device) {}

    void Begin(FramePhase phase) override;
    void End(FramePhase phase) override;
    void AddFrame(double milliseconds) { m_frames.push_back(milliseconds); }

    std::string Text(double framesPerSecond) const;
    std::string Json(double framesPerSecond) const;

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kPhases = static_cast<std::size_t>(FramePhase::Count);

    const GlDevice& m_device;
    std::array<Clock::time_point, kPhases> m_started{};
    std::array<std::vector<double>, kPhases> m_samples;
    std::vector<double> m_frames;
};

} // namespace lumeno
