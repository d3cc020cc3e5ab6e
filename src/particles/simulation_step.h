#pragma once
// One simulation step over a range of particles. Particles do not interact, so any
// split of the array steps to the same bits as the whole.

#include "particles/particle.h"

namespace lumeno {

// Everything a step reads besides the particles, fixed before the step starts so that
// both halves of a threaded step see the same values.
struct StepInputs {
    float attractorX = 0.0f, attractorY = 0.0f;
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f}; // the step colour, inversion applied
    float speed = 0.0f;
    float drag = 0.0f;
    float gravityAmount = 0.0f;
    float gravityPower = 0.0f;
};

// The step colour: the particle colour, complemented in invert mode (alpha 2 - a).
void MakeStepColor(const float color[4], bool invert, float out[4]);

// The plain step, particle by particle in index order over [first, last). It is the
// definition of what a step computes: faster steps are tested against it bit for bit.
void SimulateReference(Particle* particles, int first, int last, const StepInputs& inputs);

} // namespace lumeno
