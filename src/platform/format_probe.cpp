#include "platform/format_probe.h"

#include <string>

#include "platform/gl/canvas_format.h"
#include "platform/gl/gl_context.h"

namespace lumeno {

// A temporary headless context answers for the machine's graphics: 32-bit floats where
// they can be blended, else 16-bit, else 8-bit, which every machine blends. The context
// is released before returning, so nothing stays current for whoever comes next.
int ProbeBlendableCanvasFormat()
{
    std::string error;
    std::unique_ptr<GlContext> context = CreateHeadlessContext(&error);
    if (context == nullptr)
        return D3DFMT_A8R8G8B8;
    int format = D3DFMT_A8R8G8B8;
    if (SupportsPostPixelShaderBlending(D3DFMT_A32B32G32R32F))
        format = D3DFMT_A32B32G32R32F;
    else if (SupportsPostPixelShaderBlending(D3DFMT_A16B16G16R16F))
        format = D3DFMT_A16B16G16R16F;
    context->DoneCurrent();
    return format;
}

} // namespace lumeno
