#include "engine/render_device.h"

#include "platform/gl/gl_device.h"
#include "platform/message_box.h"
#include "platform/render_window.h"

namespace lumeno {
namespace {

bool AtLeast(int major, int minor, int wantMajor, int wantMinor)
{
    return major > wantMajor || (major == wantMajor && minor >= wantMinor);
}

} // namespace

HRESULT CRenderDevice::Create(RenderWindow* window, int width, int height,
                              const std::optional<ContextVersion>& claimedVersion)
{
    m_window = window;
    m_width = width;
    m_height = height;

    GlContext* context = window ? window->Context() : nullptr;
    if (!context || !context->MakeCurrent())
        return E_FAIL;

    const HRESULT created = GlDevice::Create(*context, width, height, &m_device);
    if (FAILED(created))
        return created;

    // The fixed states of a fresh device; the passes set what they need themselves. Each
    // is one GL honours (fill mode is glPolygonMode's; alpha testing can only be off, as
    // core GL has none). Lighting is not among them: core GL has no fixed-function
    // lighting, and the device refuses the state rather than keep a value that does nothing.
    (void)m_device->SetRenderState(D3DRS_STENCILENABLE, 0);
    (void)m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    (void)m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    (void)m_device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    (void)m_device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    (void)m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    (void)m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    (void)m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCALPHA);

    // Vertex work needs OpenGL 3.3, pixel work GLSL 3.30; the vertex side is asked first
    // and only one box is shown.
    const ContextVersion caps = claimedVersion.value_or(ReadCurrentContextVersion());
    if (!AtLeast(caps.glMajor, caps.glMinor, 3, 3)) {
        ShowMessageBox("Minimum vertex shader: 1.0", "Error", MessageIcon::Error);
        return E_FAIL;
    }
    if (!AtLeast(caps.glslMajor, caps.glslMinor, 3, 3)) {
        ShowMessageBox("Minimum pixel shader: 2.0", "Error", MessageIcon::Error);
        return E_FAIL;
    }

    const HRESULT backBuffer = m_device->GetBackBuffer(&m_backBuffer);
    return FAILED(backBuffer) ? backBuffer : S_OK;
}

void CRenderDevice::Release()
{
    m_backBuffer.reset();
    m_device.reset();
}

bool CRenderDevice::SupportsPostPixelShaderBlending(int format) const
{
    return m_device && m_device->SupportsPostPixelShaderBlending(format);
}

} // namespace lumeno
