#include "phase_stats.h"

#include <algorithm>
#include <cstdio>

#include "platform/gl/gl_device.h"

namespace lumeno {
namespace {

constexpr const char* kPhaseNames[] = {"step", "colour", "upload", "particles", "fade", "scene", "text", "present"};

struct Summary {
    double minimum = 0, median = 0, maximum = 0;
    std::size_t count = 0;
};

Summary Summarise(std::vector<double> samples)
{
    Summary s;
    s.count = samples.size();
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    s.minimum = samples.front();
    s.maximum = samples.back();
    s.median = samples[samples.size() / 2];
    return s;
}

} // namespace

void PhaseStats::Begin(FramePhase phase)
{
    m_device.Finish();
    m_started[static_cast<std::size_t>(phase)] = Clock::now();
}

void PhaseStats::End(FramePhase phase)
{
    m_device.Finish();
    const auto index = static_cast<std::size_t>(phase);
    m_samples[index].push_back(std::chrono::duration<double, std::milli>(Clock::now() - m_started[index]).count());
}

std::string PhaseStats::Text(double framesPerSecond) const
{
    std::string out = "phase         min ms   median ms   max ms   frames\n";
    char line[128];
    for (std::size_t i = 0; i < kPhases; ++i) {
        const Summary s = Summarise(m_samples[i]);
        std::snprintf(line, sizeof line, "%-10s %9.3f %11.3f %8.3f %8zu\n", kPhaseNames[i], s.minimum, s.median,
                      s.maximum, s.count);
        out += line;
    }
    const Summary frame = Summarise(m_frames);
    std::snprintf(line, sizeof line, "%-10s %9.3f %11.3f %8.3f %8zu\nframe rate %.1f per second\n", "frame",
                  frame.minimum, frame.median, frame.maximum, frame.count, framesPerSecond);
    return out + line;
}

std::string PhaseStats::Json(double framesPerSecond) const
{
    std::string out = "{\"phases\": {";
    char item[192];
    for (std::size_t i = 0; i < kPhases; ++i) {
        const Summary s = Summarise(m_samples[i]);
        std::snprintf(item, sizeof item, "%s\"%s\": {\"min_ms\": %.4f, \"median_ms\": %.4f, \"max_ms\": %.4f, \"count\": %zu}",
                      i ? ", " : "", kPhaseNames[i], s.minimum, s.median, s.maximum, s.count);
        out += item;
    }
    const Summary frame = Summarise(m_frames);
    std::snprintf(item, sizeof item,
                  "}, \"frame\": {\"min_ms\": %.4f, \"median_ms\": %.4f, \"max_ms\": %.4f, \"count\": %zu}, "
                  "\"frames_per_second\": %.3f}\n",
                  frame.minimum, frame.median, frame.maximum, frame.count, framesPerSecond);
    return out + item;
}

} // namespace lumeno
