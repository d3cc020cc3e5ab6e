#include "particles/screen_quad.h"

#include <cstring>

#include "platform/gl/gl_device.h"

namespace lumeno {

HRESULT CScreenQuad::Create(GlDevice& device, int width, int height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const ScreenQuadVertex vertices[4] = {
        {-0.501f, -0.501f, 0.0f, 1.0f, 0.0f, 0.0f},
        {-0.501f, h - 0.501f, 0.0f, 1.0f, 0.0f, 1.0f},
        {w - 0.501f, -0.501f, 0.0f, 1.0f, 1.0f, 0.0f},
        {w - 0.501f, h - 0.501f, 0.0f, 1.0f, 1.0f, 1.0f},
    };

    HRESULT hr = device.CreateVertexBuffer(sizeof vertices, &m_vertexBuffer);
    if (FAILED(hr))
        return hr;
    void* data = nullptr;
    hr = m_vertexBuffer->Lock(0, 0, &data, 0);
    if (FAILED(hr)) {
        m_vertexBuffer.reset();
        return hr;
    }
    std::memcpy(data, vertices, sizeof vertices);
    return m_vertexBuffer->Unlock();
}

} // namespace lumeno
