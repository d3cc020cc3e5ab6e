#include "platform/format_probe.h"

#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "platform/gl/canvas_format.h"
#include "platform/gl/gl_context.h"
#include "platform/threads.h"

namespace lumeno {
namespace {

// 32-bit floats where they can be blended, else 16-bit, else 8-bit, which every machine
// blends. Runs on a thread that has no other context, and leaves none current.
CanvasFormatProbe ProbeOnThisThread()
{
    CanvasFormatProbe outcome;
    const std::unique_ptr<GlContext> context = CreateHeadlessContext(&outcome.fallbackReason);
    if (context == nullptr)
        return outcome;
    if (SupportsPostPixelShaderBlending(D3DFMT_A32B32G32R32F))
        outcome.format = D3DFMT_A32B32G32R32F;
    else if (SupportsPostPixelShaderBlending(D3DFMT_A16B16G16R16F))
        outcome.format = D3DFMT_A16B16G16R16F;
    context->DoneCurrent();
    return outcome;
}

// Never destroyed: the canvas defaults may be asked for to the very end of the run.
const CanvasFormatProbe& ProbedOnce()
{
    static const CanvasFormatProbe& outcome = *new CanvasFormatProbe(ProbeBlendableCanvasFormatNow());
    return outcome;
}

} // namespace

CanvasFormatProbe ProbeBlendableCanvasFormatNow()
{
    // Current contexts belong to threads: on a fresh one, an EGL context cannot be refused
    // for a GLX context the caller holds, and the caller's context stays current.
    // StartThread, so that a thread that cannot be had says why. Its injected failures
    // reach the probe too; the once-per-process probe runs when the canvas defaults are
    // first set, before any test injects them.
    CanvasFormatProbe outcome;
    std::error_code failure;
    std::thread probe = StartThread([&outcome] { outcome = ProbeOnThisThread(); }, &failure);
    if (!probe.joinable()) {
        outcome.fallbackReason = "No thread could be started for the canvas format probe: " + failure.message() + ".";
        return outcome;
    }
    probe.join();
    return outcome;
}

int ProbeBlendableCanvasFormat() { return ProbedOnce().format; }

const std::string& ProbeBlendableCanvasFormatReason() { return ProbedOnce().fallbackReason; }

} // namespace lumeno
