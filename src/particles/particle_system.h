#pragma once
// The particle system: the particle array with its emission, steps and colour. Device
// resources (canvases, vertex buffer, effect) and the workers join it in the engine.

#include <atomic>
#include <cstdint>
#include <thread>

#include "particles/engine_view.h"
#include "particles/particle_array.h"
#include "particles/simulation_step.h"
#include "platform/hresult.h"

namespace lumeno {

struct ParticleSystemInit {
    std::int32_t width;  // canvas size in pixels
    std::int32_t height;
    std::int32_t count;  // particles
};

class CParticleSystem {
public:
    explicit CParticleSystem(const ParticleEngineView& engine) : m_engine(engine) {}
    ~CParticleSystem() { Release(); }
    CParticleSystem(const CParticleSystem&) = delete;
    CParticleSystem& operator=(const CParticleSystem&) = delete;

    void Init(const ParticleSystemInit& init);
    void Release(); // back to the constructed state; the colour members keep their values

    // Rewrites every particle around `point` (canvas pixels) by the emission pattern.
    void Emit(float pointX, float pointY);

    // A step: AdvanceAttractor once, FixStepInputs, then Simulate over disjoint ranges.
    void AdvanceAttractor();
    void FixStepInputs();
    void Simulate(int first, int last);

    // Once per frame: flip the canvas, make one step complete, refresh the colour, and
    // in multithreaded mode hand the next step to the workers.
    void Update();

    [[nodiscard]] HRESULT StartWorkers();
    void StopWorkers();

    void UpdateColor();
    void SetColorIndex(int index);
    void GetCycleColor(float* out) const;

    bool IsInitialised() const { return m_initialised; }
    bool CanvasIndex() const { return m_canvasIndex; }
    bool WorkersRunning() const { return m_low.thread.joinable() || m_high.thread.joinable(); }
    int Count() const { return m_count; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Particle* Particles() const { return m_particles.data(); }
    const float* CurrentColor() const { return m_currentColor; }
    const StepInputs& CurrentStepInputs() const { return m_stepInputs; }

private:
    // One worker steps one half of the array whenever its busy flag is set.
    struct Worker {
        std::atomic<bool> busy{false};
        std::atomic<bool> stopRequest{false};
        std::atomic<bool> stopped{true};
        std::thread thread; // not joinable: the worker does not exist
    };

    static void WorkerLow(CParticleSystem* system);
    static void WorkerHigh(CParticleSystem* system);
    static void RunWorker(CParticleSystem* system, Worker& worker, int first, int last);
    void WaitForStep() const;
    void StopWorker(Worker& worker);

    const ParticleEngineView& m_engine;

    bool m_initialised = false;
    std::int32_t m_width = 0, m_height = 0, m_count = 0;
    bool m_canvasIndex = false;

    // Particle colour: the colour of the moment, the cycling fourth colour, the blend.
    float m_currentColor[4] = {0, 0, 0, 0};
    float m_cycleColor[4] = {0, 0, 0, 0};
    float m_blend = 1.0f;
    int m_targetSlot = 0;

    ParticleArray m_particles;
    StepInputs m_stepInputs;

    bool m_multiThreaded = false; // fixed from Init to Release
    Worker m_low, m_high;
};

} // namespace lumeno
