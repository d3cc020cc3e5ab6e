#include "platform/format_probe.h"

#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "platform/gl/canvas_format.h"
#include "platform/gl/gl_context.h"

namespace lumeno {
namespace {

// 32-bit floats where they can be blended, else 16-bit, else 8-bit, which every machine
// blends. Runs on a thread that has no other context, and leaves none current.
int ProbeOnThisThread()
{
    std::string error;
    const std::unique_ptr<GlContext> context = CreateHeadlessContext(&error);
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

} // namespace

int ProbeBlendableCanvasFormatNow()
{
    // Current contexts belong to threads: on a fresh one, an EGL context cannot be refused
    // for a GLX context the caller holds, and the caller's context stays current. A plain
    // std::thread, not StartThread: the workers' failure injection is not meant for this.
    int format = D3DFMT_A8R8G8B8;
    try {
        std::thread probe([&format] { format = ProbeOnThisThread(); });
        probe.join();
    } catch (const std::system_error&) {
        // No thread to probe on: the format every machine blends.
    }
    return format;
}

int ProbeBlendableCanvasFormat()
{
    static std::once_flag probed;
    static int format = D3DFMT_A8R8G8B8;
    std::call_once(probed, [] { format = ProbeBlendableCanvasFormatNow(); });
    return format;
}

} // namespace lumeno
