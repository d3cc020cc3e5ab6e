#pragma once
// The device wrapper: the window's context made current, the GL device on it with a
// canvas-sized back buffer, the fixed render states and the capability checks.

#include <memory>
#include <optional>

#include "platform/context_version.h"
#include "platform/hresult.h"

namespace lumeno {

class GlDevice;
class GlSurface;
class RenderWindow;

class CRenderDevice {
public:
    CRenderDevice() = default;
    ~CRenderDevice() { Release(); }
    CRenderDevice(const CRenderDevice&) = delete;
    CRenderDevice& operator=(const CRenderDevice&) = delete;

    // `claimedVersion`, when given, stands in for the versions the context reports (the
    // refusals of old drivers are tested with it).
    [[nodiscard]] HRESULT Create(RenderWindow* window, int width, int height,
                                 const std::optional<ContextVersion>& claimedVersion = std::nullopt);
    void Release();

    GlDevice* GetDevice() const { return m_device.get(); }
    GlSurface* GetBackBuffer() const { return m_backBuffer.get(); }
    const std::shared_ptr<GlSurface>& BackBufferReference() const { return m_backBuffer; }
    bool SupportsPostPixelShaderBlending(int format) const;

private:
    RenderWindow* m_window = nullptr;
    std::unique_ptr<GlDevice> m_device;
    std::shared_ptr<GlSurface> m_backBuffer;
    int m_width = 0, m_height = 0;
};

} // namespace lumeno
