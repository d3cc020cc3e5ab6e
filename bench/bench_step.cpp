// The simulation step: the plain reference loop, the vectorised step on one thread, and
// the memory floor under both.

#include <benchmark/benchmark.h>

#include "particles/emission.h"
#include "particles/particle_array.h"
#include "particles/simulation_step.h"
#include "particles/simulation_step_fast.h"

namespace lumeno {
namespace {

// A cloud as the program makes it: emitted with scattering, then a few steps in.
ParticleArray MakeCloud(int n)
{
    ParticleArray particles = ParticleArray::Allocate(static_cast<std::size_t>(n));
    EmitReference(particles.data(), n, EmissionParams{512, 384, 1024, 768, 2, n, 0.6f, 0.5f, 0.004f});
    return particles;
}

StepInputs DefaultStepInputs()
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

void NanosecondsPerParticle(benchmark::State& state, int n)
{
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["ns_per_particle"] =
        benchmark::Counter(static_cast<double>(n) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                               benchmark::Counter::kInvert);
}

void StepReference(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ParticleArray particles = MakeCloud(n);
    const StepInputs in = DefaultStepInputs();
    for (auto _ : state) {
        SimulateReference(particles.data(), 0, n, in);
        benchmark::ClobberMemory();
    }
    NanosecondsPerParticle(state, n);
}

void StepFast(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ParticleArray particles = MakeCloud(n);
    const StepInputs in = DefaultStepInputs();
    for (auto _ : state) {
        SimulateFast(particles.data(), 0, n, in);
        benchmark::ClobberMemory();
    }
    NanosecondsPerParticle(state, n);
    state.SetLabel(SimulateFastTargetName());
}

// The floor: read every record and rewrite it in place (previous = current, the colour
// stored), as the step does, without the arithmetic. No step can beat it.
void StepFloor(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ParticleArray particles = MakeCloud(n);
    const StepInputs in = DefaultStepInputs();
    Particle* p = particles.data();
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            p[i].previous = p[i].current;
            p[i].current.r = in.color[0];
            p[i].current.g = in.color[1];
            p[i].current.b = in.color[2];
            p[i].current.a = in.color[3];
        }
        benchmark::ClobberMemory();
    }
    NanosecondsPerParticle(state, n);
}

BENCHMARK(StepReference)->Name("BM_Step/Reference")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond);
BENCHMARK(StepFast)->Name("BM_Step/Fast")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond);
BENCHMARK(StepFloor)->Name("BM_Step/Floor")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumeno
