#pragma once
// Optional per-phase timing of frames, for lumeno-render's statistics. Nothing is
// measured unless the engine is given a profiler; then each phase reports its start and end.

namespace lumeno {

enum class FramePhase { Step, Colour, Upload, ParticlePass, Fade, Scene, Text, Present, Count };

class FrameProfiler {
public:
    virtual void Begin(FramePhase phase) = 0;
    virtual void End(FramePhase phase) = 0;

protected:
    ~FrameProfiler() = default;
};

// Times one phase with the profiler it is given, if any.
class ScopedPhase {
public:
    ScopedPhase(FrameProfiler* profiler, FramePhase phase) : m_phase(phase), m_profiler(profiler)
    {
        if (m_profiler)
            m_profiler->Begin(m_phase);
    }
    ~ScopedPhase()
    {
        if (m_profiler)
            m_profiler->End(m_phase);
    }
    ScopedPhase(const ScopedPhase&) = delete;
    ScopedPhase& operator=(const ScopedPhase&) = delete;

private:
    FramePhase m_phase;
    FrameProfiler* m_profiler;
};

} // namespace lumeno
