// One frame: particles into the canvas, the canvas onto the back buffer, the picture to
// its tap if one is set, the frame-rate text, the timing step that starts the next
// particle update, and the presentation.

#include <cstdio>

#include "engine/canvas_mapping.h"
#include "engine/render_device.h"
#include "engine/render_engine.h"
#include "particles/particle_system.h"
#include "platform/frame_profiler.h"
#include "platform/font/text_renderer.h"
#include "platform/gl/gl_device.h"
#include "platform/render_window.h"
#include "settings/particle_settings.h"

namespace lumeno {

void CRenderEngine::Render()
{
    if (!m_initialised)
        return;
    GlDevice& device = *m_device->GetDevice();

    // Per-frame results are not examined: a failing frame leaves the window as it was.
    (void)device.SetRenderTarget(0, m_device->BackBufferReference());
    (void)device.Clear(0x00000000);
    (void)device.BeginScene();
    if (!m_paused)
        m_particleSystem->RenderParticles();
    m_particleSystem->RenderCanvas();
    if (g_particleSettings.debug)
        m_particleSystem->RenderDebug();
    if (m_pictureTap)
        TapPicture();
    {
        ScopedPhase phase(m_profiler, FramePhase::Text);
        DrawStats();
    }
    (void)device.EndScene();

    // The next particle update starts before the presentation, so that in multithreaded
    // mode the workers step while the frame is shown.
    UpdateTiming();

    const GlRect source{0, 0, m_canvasWidth, m_canvasHeight};
    GlRect destination;
    CanvasToClient(0.0f, 0.0f, &destination.left, &destination.top);
    CanvasToClient(static_cast<float>(m_canvasWidth), static_cast<float>(m_canvasHeight), &destination.right,
                   &destination.bottom);
    ScopedPhase phase(m_profiler, FramePhase::Present);
    // Around the canvas the window shows its own colour, as where nothing is presented.
    (void)device.Present(&source, &destination, m_window ? m_window->WindowColour() : 0xFF000000);
}

void CRenderEngine::UpdateTiming()
{
    if (!m_initialised)
        return;
    const std::uint32_t now = m_clock();
    const std::uint32_t interval = now - m_lastTimestamp; // wraps correctly
    m_lastTimestamp = now;
    m_frameTime = static_cast<float>(interval) * 0.001f;
    m_framesPerSecond = m_frameRate->AddSample(interval, m_framesPerSecond);
    ++m_frameCount;
    if (!m_paused)
        m_particleSystem->Update();
}

void CRenderEngine::TapPicture()
{
    // Between the passes, so the picture holds what the window shows less the text.
    GlImage picture;
    if (SUCCEEDED(m_device->GetDevice()->ReadSurface(*m_device->GetBackBuffer(), &picture)))
        m_pictureTap(std::move(picture));
}

void CRenderEngine::DrawStats()
{
    if (!m_font)
        return;
    char text[64];
    std::snprintf(text, sizeof text, "FPS: %4.3f", static_cast<double>(m_framesPerSecond));
    const D3DCOLOR colour = g_particleSettings.invert ? 0xFF000000 : 0xFFFFFFFF;
    m_font->Draw(text, GlRect{10, 10, 500, 500}, colour);
}

void CRenderEngine::CanvasToClient(float x, float y, int* clientX, int* clientY) const
{
    const CanvasView view{m_canvasWidth, m_canvasHeight, m_aspect, g_particleSettings.scale,
                          m_window ? m_window->ClientWidth() : 0, m_window ? m_window->ClientHeight() : 0};
    lumeno::CanvasToClient(view, x, y, clientX, clientY);
}

void CRenderEngine::ClientToCanvas(float x, float y, float* canvasX, float* canvasY) const
{
    const CanvasView view{m_canvasWidth, m_canvasHeight, m_aspect, g_particleSettings.scale,
                          m_window ? m_window->ClientWidth() : 0, m_window ? m_window->ClientHeight() : 0};
    lumeno::ClientToCanvas(view, x, y, canvasX, canvasY);
}

} // namespace lumeno
