// Emission of the whole array: a left click, the plain loop and the two-core emission.

#include <benchmark/benchmark.h>

#include "particles/emission.h"
#include "particles/emission_fast.h"
#include "particles/particle_array.h"

namespace lumeno {
namespace {

void EmitPlain(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ParticleArray particles = ParticleArray::Allocate(static_cast<std::size_t>(n));
    const EmissionParams params{512, 384, 1024, 768, 0, n, 0.6f, 0.01f, 0.0f};
    for (auto _ : state) {
        EmitReference(particles.data(), n, params);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void EmitFastBench(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ParticleArray particles = ParticleArray::Allocate(static_cast<std::size_t>(n));
    const EmissionParams params{512, 384, 1024, 768, 0, n, 0.6f, 0.01f, 0.0f};
    for (auto _ : state) {
        EmitFast(particles.data(), n, params);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(EmitPlain)->Name("BM_Emit/Plain")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond)->UseRealTime();
// Wall-clock time for both: it is what a click waits for, and the fast one uses two threads.
BENCHMARK(EmitFastBench)->Name("BM_Emit/Fast")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond)->UseRealTime();

// What every engine build pays: the first emission into an array fresh from the system,
// whose pages are touched for the first time. The array is made inside the timing, as the
// build makes it; giving it back is not timed.
void EmitColdBench(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const EmissionParams params{512, 384, 1024, 768, 0, n, 0.6f, 0.01f, 0.0f};
    for (auto _ : state) {
        ParticleArray particles = ParticleArray::Allocate(static_cast<std::size_t>(n));
        EmitFast(particles.data(), n, params);
        benchmark::ClobberMemory();
        state.PauseTiming();
        particles = ParticleArray();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(EmitColdBench)->Name("BM_Emit/Cold")->Arg(20000)->Arg(1000000)->Arg(3375000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace lumeno
