#include "platform/gl/render_states.h"

#include <epoxy/gl.h>

namespace lumeno {
namespace {

struct StateEntry {
    D3DRENDERSTATETYPE state;
    std::uint32_t initial;
};

// Order is the storage order; the initial values are those of a fresh device with no
// depth buffer.
constexpr std::array<StateEntry, RenderStates::kCount> kStates = {{
    {D3DRS_ZENABLE, D3DZB_FALSE},
    {D3DRS_FILLMODE, D3DFILL_SOLID},
    {D3DRS_ZWRITEENABLE, 1},
    {D3DRS_ALPHATESTENABLE, 0},
    {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ALPHABLENDENABLE, 0},
    {D3DRS_STENCILENABLE, 0},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_ANTIALIASEDLINEENABLE, 0},
}};

int IndexOf(D3DRENDERSTATETYPE state)
{
    for (std::size_t i = 0; i < kStates.size(); ++i)
        if (kStates[i].state == state)
            return static_cast<int>(i);
    return -1;
}

// GL_ZERO is 0, the value of GL_NONE, so a blend factor's validity is decided by range.
bool IsBlendFactor(std::uint32_t blend) { return blend >= D3DBLEND_ZERO && blend <= D3DBLEND_SRCALPHASAT; }

GLenum BlendFactor(std::uint32_t blend)
{
    switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
    }
}

GLenum BlendEquation(std::uint32_t op)
{
    switch (op) {
    case D3DBLENDOP_ADD: return GL_FUNC_ADD;
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_NONE;
    }
}

GLenum PolygonMode(std::uint32_t fill)
{
    switch (fill) {
    case D3DFILL_POINT: return GL_POINT;
    case D3DFILL_WIREFRAME: return GL_LINE;
    case D3DFILL_SOLID: return GL_FILL;
    default: return GL_NONE;
    }
}

bool ValidValue(D3DRENDERSTATETYPE state, std::uint32_t value)
{
    switch (state) {
    case D3DRS_FILLMODE: return PolygonMode(value) != GL_NONE;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND: return IsBlendFactor(value);
    case D3DRS_BLENDOP: return BlendEquation(value) != GL_NONE;
    case D3DRS_CULLMODE: return value >= D3DCULL_NONE && value <= D3DCULL_CCW;
    // Core GL has no alpha test, so only "off" is a value the device can keep true.
    case D3DRS_ALPHATESTENABLE: return value == 0;
    default: return true; // switches: any non-zero value is on
    }
}

void Enable(GLenum capability, bool on) { on ? glEnable(capability) : glDisable(capability); }

// Writes one state into GL; `values` gives the partner of the blend factors.
void Apply(D3DRENDERSTATETYPE state, const std::array<std::uint32_t, RenderStates::kCount>& values)
{
    const std::uint32_t value = values[static_cast<std::size_t>(IndexOf(state))];
    switch (state) {
    case D3DRS_ZENABLE: Enable(GL_DEPTH_TEST, value != D3DZB_FALSE); break; // no depth buffer: no effect
    case D3DRS_ZWRITEENABLE: glDepthMask(value != 0 ? GL_TRUE : GL_FALSE); break;
    case D3DRS_STENCILENABLE: Enable(GL_STENCIL_TEST, value != 0); break;
    case D3DRS_FILLMODE: glPolygonMode(GL_FRONT_AND_BACK, PolygonMode(value)); break;
    case D3DRS_ALPHABLENDENABLE: Enable(GL_BLEND, value != 0); break;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        glBlendFunc(BlendFactor(values[static_cast<std::size_t>(IndexOf(D3DRS_SRCBLEND))]),
                    BlendFactor(values[static_cast<std::size_t>(IndexOf(D3DRS_DESTBLEND))]));
        break;
    case D3DRS_BLENDOP: glBlendEquation(BlendEquation(value)); break;
    case D3DRS_CULLMODE:
        // Targets keep the top row at GL row 0, so pixel coordinates pass to GL unchanged
        // and that mirror turns a triangle that is clockwise on screen into one that GL
        // calls counter-clockwise, its front face.
        Enable(GL_CULL_FACE, value != D3DCULL_NONE);
        glCullFace(value == D3DCULL_CW ? GL_FRONT : GL_BACK);
        break;
    case D3DRS_ANTIALIASEDLINEENABLE: Enable(GL_LINE_SMOOTH, value != 0); break;
    default: break; // alpha test: always off, as core GL is
    }
}

} // namespace

RenderStates::RenderStates()
{
    for (std::size_t i = 0; i < kStates.size(); ++i)
        m_values[i] = kStates[i].initial;
}

HRESULT RenderStates::Set(D3DRENDERSTATETYPE state, std::uint32_t value)
{
    const int index = IndexOf(state);
    if (index < 0 || !ValidValue(state, value))
        return D3DERR_INVALIDCALL;
    m_values[static_cast<std::size_t>(index)] = value;
    Apply(state, m_values);
    return S_OK;
}

HRESULT RenderStates::Get(D3DRENDERSTATETYPE state, std::uint32_t* value) const
{
    const int index = IndexOf(state);
    if (index < 0 || value == nullptr)
        return D3DERR_INVALIDCALL;
    *value = m_values[static_cast<std::size_t>(index)];
    return S_OK;
}

void RenderStates::ApplyAll() const
{
    glFrontFace(GL_CCW);
    glDepthFunc(GL_LEQUAL);
    for (const StateEntry& entry : kStates)
        Apply(entry.state, m_values);
}

} // namespace lumeno
