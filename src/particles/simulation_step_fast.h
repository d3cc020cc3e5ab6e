#pragma once
// The vectorised simulation step: the same bits as SimulateReference on every particle,
// for every input, several times faster. The instruction set (AVX-512, AVX2, SSE4, a
// portable path) is chosen at run time on the first call.

#include <cstdint>

#include "particles/particle.h"
#include "particles/simulation_step.h"

namespace lumeno {

// Steps [first, last) in place, exactly as SimulateReference does. Ranges may start and
// end anywhere; disjoint ranges may run on different threads.
void SimulateFast(Particle* particles, int first, int last, const StepInputs& inputs);

// The vector pull of the step for `count` values of q (the float q of the step), with
// quotient[i] the double G * 2^(-P log2 q) before rounding and certain[i] whether it was
// used as is; pull[i] is what the step adds along the unit difference. For tests of the
// error bound and of the fallback.
void PullsForTest(const float* q, int count, float gravityAmount, float gravityPower, double* quotient,
                  std::uint8_t* certain, float* pull);

// The instruction set SimulateFast runs on now, e.g. "AVX2".
const char* SimulateFastTargetName();

} // namespace lumeno
