#include "process_state.h"

#include "particles/attractor.h"
#include "particles/effect_file.h"
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
    FailNextThreadStartsForTesting(0);
}

} // namespace lumeno::test
