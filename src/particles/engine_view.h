#pragma once
// What the particle system reads of the engine that owns it: the pointer, the frame
// clock and the canvas aspect. The engine implements it; tests supply the values.

namespace lumeno {

class CEffectCache;
class FrameProfiler;
class GlDevice;

class ParticleEngineView {
public:
    // The device and effect cache the particle system builds its canvases, vertex buffer
    // and effect with. Both null: a simulation without drawing (tests, benchmarks).
    virtual GlDevice* GetGlDevice() const { return nullptr; }
    virtual CEffectCache* GetEffectCache() const { return nullptr; }

    // Address of two floats: the pointer in canvas pixels from the canvas's top-left
    // corner, horizontal distance from the centre already divided by aspect and scale.
    virtual const float* GetMousePosition() const = 0;
    virtual float GetAspect() const = 0;     // canvas height / width
    virtual float GetFrameTime() const = 0;  // seconds of the last frame
    virtual int GetFrameCount() const = 0;   // timing updates so far
    // Who times the frame's phases; null: nobody.
    virtual FrameProfiler* GetFrameProfiler() const { return nullptr; }

protected:
    ~ParticleEngineView() = default;
};

} // namespace lumeno
