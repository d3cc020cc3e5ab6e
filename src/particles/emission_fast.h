#pragma once
// Emission over both cores: the same particles, bit for bit, as EmitReference, and the
// process-wide generator left in the same state.

#include "particles/emission.h"

namespace lumeno {

// Emits `count` records exactly as EmitReference does, in a fraction of its time. Its
// second thread comes from StartThread; when none can be started, all the work is done
// on the calling thread, with the same result.
void EmitFast(Particle* particles, int count, const EmissionParams& params);

} // namespace lumeno
