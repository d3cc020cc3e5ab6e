// The simulation step: the plain reference loop, the vectorised step on one thread, and
// the memory floor under both.

#include <benchmark/benchmark.h>

#include "particles/simulation_step_fast.h"
#include "step_cloud.h"

namespace lumeno {
namespace {

using bench::DefaultStepInputs;
using bench::MakeCloud;
using bench::TimePerParticle;

void StepReference(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ParticleArray particles = MakeCloud(n);
    const StepInputs in = DefaultStepInputs();
    for (auto _ : state) {
        SimulateReference(particles.data(), 0, n, in);
        benchmark::ClobberMemory();
    }
    TimePerParticle(state, n);
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
    TimePerParticle(state, n);
    state.SetLabel(SimulateFastTargetName());
}

// The floor: read every record and rewrite it in place (previous = current, the colour
// stored), as the step does, without the arithmetic. No step can beat it.
void StepFloor(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ParticleArray particles = MakeCloud(n);
    const StepInputs in = DefaultStepInputs();
    for (auto _ : state) {
        bench::RewriteRecords(particles.data(), 0, n, in);
        benchmark::ClobberMemory();
    }
    TimePerParticle(state, n);
}

BENCHMARK(StepReference)->Name("BM_Step/Reference")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond);
BENCHMARK(StepFast)->Name("BM_Step/Fast")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond);
BENCHMARK(StepFloor)->Name("BM_Step/Floor")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumeno
