#include "engine/render_engine.h"
#include "engine/render_device.h"
#include "particles/particle_system.h"
#include "platform/clipboard.h"
#include "platform/gl/gl_device.h"
#include "platform/image_file.h"

namespace lumeno {

void CRenderEngine::CopyToClipboard(Clipboard& clipboard)
{
    // Fails silently, as a clipboard held by another program does.
    if (!m_particleSystem || !m_device || !m_device->GetDevice())
        return;
    const GlSurface* canvas = m_particleSystem->GetCanvasSurface();
    GlImage image;
    if (!canvas || FAILED(m_device->GetDevice()->ReadSurface(*canvas, &image)))
        return;
    clipboard.SetImage(ToRgba8(image), image.width, image.height);
}

} // namespace lumeno
