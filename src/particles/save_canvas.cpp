#include "engine/dx_error.h"
#include "particles/particle_system.h"
#include "platform/gl/gl_device.h"

namespace lumeno {

void CParticleSystem::SaveCanvas(const std::string& fileName, ImageFileFormat format)
{
    // Without a canvas (an inert system) there is nothing to save: an invalid call, said
    // in the same box as a file that cannot be written.
    GlDevice* device = m_engine.GetGlDevice();
    const GlSurface* surface = GetCanvasSurface();
    GlImage image;
    HRESULT hr = device && surface ? device->ReadSurface(*surface, &image) : D3DERR_INVALIDCALL;
    if (SUCCEEDED(hr))
        hr = SaveImageFile(fileName, image, format);
    if (FAILED(hr))
        ShowDxError("Error save picture!", hr);
}

} // namespace lumeno
