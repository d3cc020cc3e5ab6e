#pragma once
// What the step benchmarks share: the cloud they step, the inputs of a step, and the
// memory floor's loop.

#include <benchmark/benchmark.h>

#include "particles/emission.h"
#include "particles/particle_array.h"
#include "particles/simulation_step.h"

namespace lumeno::bench {

// A cloud as the program makes it: emitted with scattering around the canvas centre.
inline ParticleArray MakeCloud(int n)
{
    ParticleArray particles = ParticleArray::Allocate(static_cast<std::size_t>(n));
    EmitReference(particles.data(), n, EmissionParams{512, 384, 1024, 768, 2, n, 0.6f, 0.5f, 0.004f});
    return particles;
}

inline StepInputs DefaultStepInputs()
{
    StepInputs in;
    in.attractorX = 0.2f;
    in.attractorY = -0.1f;
    in.color[0] = in.color[3] = 1.0f;
    in.speed = 1.0f;
    in.drag = 0.99f;
    in.gravityAmount = 0.0015f;
    in.gravityPower = 0.3f;
    return in;
}

// The memory floor: every record read and rewritten in place (previous = current, the
// colour stored), as the step does, without the arithmetic.
inline void RewriteRecords(Particle* p, int first, int last, const StepInputs& in)
{
    for (int i = first; i < last; ++i) {
        p[i].previous = p[i].current;
        p[i].current.r = in.color[0];
        p[i].current.g = in.color[1];
        p[i].current.b = in.color[2];
        p[i].current.a = in.color[3];
    }
}

// Time per particle beside the rate, printed with its unit ("7.1ns").
inline void TimePerParticle(benchmark::State& state, int n)
{
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["per_particle"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

} // namespace lumeno::bench
