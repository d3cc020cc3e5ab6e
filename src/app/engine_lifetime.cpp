#include "engine_lifetime.h"

#include "engine/render_engine.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_device.h"

namespace lumeno {

void MakeEngineCurrent()
{
    if (g_engine == nullptr)
        return;
    if (GlDevice* device = g_engine->GetGlDevice())
        (void)device->Context().MakeCurrent();
}

void DestroyEngine()
{
    if (g_engine == nullptr)
        return;
    MakeEngineCurrent();
    g_engine->Shutdown();
    delete g_engine;
    g_engine = nullptr;
}

} // namespace lumeno
