#include "play/autopilot.h"

#include <algorithm>

#include "engine/render_engine.h"

namespace lumeno {

void Autopilot::Steer(CRenderEngine& engine, std::uint32_t nowMs,
                      const std::function<void(const WindowMessage&)>& deliver)
{
    const double before = m_seconds;
    if (m_lastMs && !engine.IsPaused()) {
        const std::uint32_t elapsed = nowMs - *m_lastMs; // wraps correctly
        m_seconds += std::min(elapsed, kLongestStepMs) / 1000.0;
    }
    m_lastMs = nowMs;
    m_seconds += m_hopSeconds;
    m_hopSeconds = 0.0;
    // A canvas of another size (the engine was rebuilt) gets the same seed's path made
    // for it, at the same time on the path's clock.
    if (!m_path || engine.CanvasWidth() != m_width || engine.CanvasHeight() != m_height) {
        m_width = engine.CanvasWidth();
        m_height = engine.CanvasHeight();
        m_path.emplace(m_seed, m_width, m_height);
    }
    const CanvasPoint pointer = m_path->At(m_seconds);
    engine.MovePointerOnCanvas(pointer.x, pointer.y);
    if (m_seconds == before)
        return;
    for (const GestureStart& start : m_path->StartsBetween(before, m_seconds)) {
        // Both presses land where the pointer is now: a gesture starts within a frame.
        if (start.reemits) {
            WindowMessage click;
            click.message = WM_LBUTTONDOWN;
            deliver(click);
        }
        if (start.colourSlot >= 0) {
            WindowMessage key;
            key.message = WM_KEYDOWN;
            key.virtualKey = static_cast<std::uint32_t>('1' + start.colourSlot);
            deliver(key);
        }
    }
}

} // namespace lumeno
