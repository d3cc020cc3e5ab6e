#include "process_state.h"

#include "engine/render_device.h"
#include "platform/gl/gl_device.h"
#include "particles/attractor.h"
#include "particles/effect_file.h"
#include "platform/clock.h"
#include "platform/frame_profiler.h"
#include "platform/random15.h"
#include "platform/threads.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"

namespace lumeno::test {

void ResetProcessState()
{
    CanvasSettingsRecord().SetDefaults();
    g_particleSettings.SetDefaults();
    SimulationAttractor() = Attractor{};
    UseEffectFile(kEffectFileName);
    SeedRand15(1); // the generator's state at process start
    SetClockSource({});
    SetFrameProfiler(nullptr);
    FailNextThreadStartsForTesting(0);
    CRenderDevice::OverrideCapsForTesting(nullptr);
}

} // namespace lumeno::test
