#pragma once
// The rendering engine: owns the device wrapper, the effect cache, the particle system
// and the font; renders one frame per call; turns input into particle operations.
// At most one exists, reached through g_engine.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "engine/frame_rate.h"
#include "particles/engine_view.h"
#include "platform/clock.h"
#include "platform/context_version.h"
#include "platform/hresult.h"
#include "platform/window_message.h"

namespace lumeno {

class CEffectCache;
class CParticleSystem;
class CRenderDevice;
class Clipboard;
class GlDevice;
struct GlImage;
class RenderWindow;
class TextRenderer;

// Receives, once a frame, the picture as the window shows it: the back buffer after the
// scene and debug passes and before the frame-rate text, canvas-sized RGBA8, top row
// first. The picture is the receiver's to keep.
using PictureTap = std::function<void(GlImage&& picture)>;

// What a process hands an engine besides its window, each part for this engine alone;
// whatever is left out takes its default.
struct EngineHooks {
    // The frame-rate average to add this engine's frames to: one that outlives the engine
    // carries the figure across rebuilds; null gives the engine an average of its own.
    FrameRateAverage* frameRate = nullptr;
    // The clock of the frame timing and the screenshot names; empty: the steady clock.
    ClockSource clock;
    // The OpenGL and GLSL versions the device checks instead of the context's own.
    std::optional<ContextVersion> claimedVersion;
};

class CRenderEngine final : public ParticleEngineView {
public:
    explicit CRenderEngine(EngineHooks hooks = {});
    ~CRenderEngine();
    CRenderEngine(const CRenderEngine&) = delete;
    CRenderEngine& operator=(const CRenderEngine&) = delete;

    // S_OK, or E_FAIL when the device could not be created (already reported).
    [[nodiscard]] HRESULT Init(RenderWindow* window);
    void Shutdown();

    void Render();
    void HandleMessage(const WindowMessage& message);
    void CopyToClipboard(Clipboard& clipboard);
    // An empty tap (the default) reads nothing back. A frame whose read-back fails hands
    // nothing over.
    void SetPictureTap(PictureTap tap) { m_pictureTap = std::move(tap); }
    // Times the phases of every frame from now on (null: none); the profiler must outlive
    // its use here.
    void SetFrameProfiler(FrameProfiler* profiler) { m_profiler = profiler; }
    FrameProfiler* GetFrameProfiler() const override { return m_profiler; }
    // Replaces the clock; the next frame's interval is counted from its present reading.
    void SetClock(ClockSource clock);
    // The engine's clock, in milliseconds.
    std::uint32_t NowMs() const { return m_clock(); }

    // Puts the pointer at a point of the canvas (pixels), as a move of the mouse to the
    // client point over it would; for what steers without a mouse.
    void MovePointerOnCanvas(float x, float y)
    {
        m_mouse[0] = x;
        m_mouse[1] = y;
    }

    void CanvasToClient(float x, float y, int* clientX, int* clientY) const;
    void ClientToCanvas(float x, float y, float* canvasX, float* canvasY) const;

    CRenderDevice* GetDevice() const { return m_device.get(); }
    CEffectCache* GetEffectCache() const override { return m_effectCache.get(); }
    GlDevice* GetGlDevice() const override;
    CParticleSystem* GetParticleSystem() const { return m_particleSystem.get(); }
    const float* GetMousePosition() const override { return m_mouse; }
    float GetAspect() const override { return m_aspect; }
    float GetFrameTime() const override { return m_frameTime; }
    int GetFrameCount() const override { return m_frameCount; }

    // This engine's place in the count of engines made, from 1: a rebuilt engine has a
    // new number also where it took the memory of the one before it.
    std::uint64_t Generation() const { return m_generation; }
    bool IsInitialised() const { return m_initialised; }
    bool IsPaused() const { return m_paused; }
    float FramesPerSecond() const { return m_framesPerSecond; }
    int CanvasWidth() const { return m_canvasWidth; }
    int CanvasHeight() const { return m_canvasHeight; }

private:
    void UpdateTiming();
    void DrawStats();
    void TapPicture();
    void TakeScreenshot();

    const std::uint64_t m_generation;
    ClockSource m_clock;
    std::optional<ContextVersion> m_claimedVersion;
    FrameProfiler* m_profiler = nullptr;
    bool m_initialised = false;
    std::unique_ptr<CRenderDevice> m_device;
    std::unique_ptr<CEffectCache> m_effectCache;
    std::unique_ptr<CParticleSystem> m_particleSystem;
    float m_mouse[2] = {0.0f, 0.0f};
    bool m_shiftDown = false;
    std::unique_ptr<TextRenderer> m_font;
    RenderWindow* m_window = nullptr;
    std::int32_t m_canvasWidth = 0;
    std::int32_t m_canvasHeight = 0;
    float m_aspect = 1.0f;
    std::uint32_t m_lastTimestamp = 0;
    float m_frameTime = 0.0f;
    std::int32_t m_frameCount = 0;
    float m_framesPerSecond = 0.0f;
    FrameRateAverage m_ownFrameRate;
    FrameRateAverage* m_frameRate; // m_ownFrameRate unless the constructor was given one
    bool m_paused = false;
    PictureTap m_pictureTap;
};

// The one engine, null while none exists.
extern CRenderEngine* g_engine;
// The engine's device: set by a successful Init, null again from Shutdown on.
extern GlDevice* g_device;

} // namespace lumeno
