// Keys and mouse as the engine sees them: the pointer in canvas units, pause, Shift,
// screenshots, re-emission and clearing. No message is ever consumed here.

#include "engine/render_engine.h"
#include "engine/screenshot_name.h"
#include "particles/particle_system.h"
#include "platform/date_text.h"

namespace lumeno {
namespace {

bool IsShift(std::uint32_t key) { return key == VK_SHIFT || key == VK_LSHIFT || key == VK_RSHIFT; }

} // namespace

void CRenderEngine::HandleMessage(const WindowMessage& message)
{
    if (!m_initialised)
        return;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (message.virtualKey == VK_RETURN)
            TakeScreenshot();
        else if (IsShift(message.virtualKey))
            m_shiftDown = true;
        else if (message.virtualKey == VK_SPACE)
            m_paused = !m_paused;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (IsShift(message.virtualKey))
            m_shiftDown = false;
        break;
    case WM_MOUSEMOVE:
        ClientToCanvas(static_cast<float>(message.pointerX), static_cast<float>(message.pointerY), &m_mouse[0],
                       &m_mouse[1]);
        break;
    case WM_LBUTTONDOWN:
        // The position of the last move, not the one the click carries.
        m_particleSystem->Emit(m_mouse[0], m_mouse[1]);
        break;
    case WM_RBUTTONDOWN:
        m_particleSystem->ClearCanvases();
        break;
    default:
        break;
    }
}

void CRenderEngine::TakeScreenshot()
{
    const bool hdr = m_shiftDown;
    m_particleSystem->SaveCanvas(ScreenshotName(DateTextYYMMDD(), m_clock(), hdr),
                                 hdr ? ImageFileFormat::Hdr : ImageFileFormat::Bmp);
}

} // namespace lumeno
