#pragma once
// The particle system: the particle array with its emission, steps, workers and colour,
// the vertex buffer it is uploaded into, and the two canvases it is drawn into.

#include <cstdint>
#include <memory>
#include <string>

#include "particles/effect_file.h"
#include "particles/engine_view.h"
#include "particles/particle_array.h"
#include "particles/particle_colour.h"
#include "particles/particle_workers.h"
#include "particles/screen_quad.h"
#include "particles/simulation_step.h"
#include "platform/hresult.h"
#include "platform/image_file.h"

namespace lumeno {

class GlEffect;
class GlSurface;
class GlTexture;
class GlVertexBuffer;

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

    // Returns once no worker is inside a step (at once in single-threaded mode).
    void WaitForStep() const { m_workers.WaitForAll(); }

    // The workers step the two halves of the array (particle_workers.h).
    [[nodiscard]] HRESULT StartWorkers();
    void StopWorkers() { m_workers.Stop(); }

    // The passes (canvas_passes.cpp); all do nothing while the system is inert.
    void RenderParticles();
    void RenderCanvas();
    void RenderDebug();
    void ClearCanvases();
    // The draw canvas: the one shown this frame.
    GlSurface* GetCanvasSurface() const;
    const std::shared_ptr<GlSurface>& CanvasSurfaceReference() const;

    // The draw canvas into an image file; a failure shows "Error save picture!".
    void SaveCanvas(const std::string& fileName, ImageFileFormat format);

    void UpdateColor() { m_colour.Update(m_engine.GetFrameCount(), m_engine.GetFrameTime()); }
    void SetColorIndex(int index) { m_colour.SetSlot(index); }
    void GetCycleColor(float* out) const;

    bool IsInitialised() const { return m_initialised; }
    // Whether canvas B is the draw canvas this frame; the two swap on each fading step.
    bool DrawsOnCanvasB() const { return m_canvasIndex; }
    bool WorkersRunning() const { return m_workers.Running(); }
    int Count() const { return m_count; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Particle* Particles() const { return m_particles.data(); }
    const float* CurrentColor() const { return m_colour.Current(); }
    const StepInputs& CurrentStepInputs() const { return m_stepInputs; }

private:
    [[nodiscard]] bool CreateDeviceResources();
    void Upload();
    void UpdateThreaded();
    void SetParticleEffectParameters();

    const ParticleEngineView& m_engine;

    bool m_initialised = false;
    std::int32_t m_width = 0, m_height = 0, m_count = 0;
    bool m_canvasIndex = false;

    ParticleColour m_colour; // keeps its state across Release

    ParticleArray m_particles;
    StepInputs m_stepInputs;

    bool m_multiThreaded = false; // fixed from Init to Release
    ParticleWorkers m_workers;

    // Device resources, absent in a simulation without drawing.
    std::shared_ptr<GlVertexBuffer> m_vertexBuffer;
    std::shared_ptr<GlTexture> m_canvasTextureA;
    std::shared_ptr<GlSurface> m_canvasSurfaceA;
    std::shared_ptr<GlTexture> m_canvasTextureB;
    std::shared_ptr<GlSurface> m_canvasSurfaceB;
    std::unique_ptr<CScreenQuad> m_screenQuad;
    GlEffect* m_effect = nullptr; // held through the effect cache
};

} // namespace lumeno
