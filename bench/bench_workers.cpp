// The two workers through the real handoff: a particle system in multithreaded mode with
// no device, one Update per iteration. Update waits for the step armed by the previous
// iteration and arms the next, so in the steady state an iteration lasts one threaded
// step plus the handshake's polling delays. Beside it, the same halves on two threads
// joined directly, with no polling: the difference is what the 1 ms polling costs
// (measured on a shared two-core machine: about 0.85 ms a step at 20,000 particles,
// within the noise at 1,000,000 and 3,375,000).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "particles/particle_system.h"
#include "particles/simulation_step_fast.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "step_cloud.h"

namespace lumeno {
namespace {

class BenchEngine final : public ParticleEngineView {
public:
    const float* GetMousePosition() const override { return m_mouse; }
    float GetAspect() const override { return 0.75f; }
    float GetFrameTime() const override { return 0.01f; }
    int GetFrameCount() const override { return 0; }

private:
    float m_mouse[2] = {600.0f, 300.0f};
};

// Per-iteration wall times as counters: the mean the library reports hides the spread
// that polling adds, so the minimum and the median are given too.
class IterationTimes {
public:
    void Add(std::chrono::steady_clock::duration d) { m_ms.push_back(std::chrono::duration<double, std::milli>(d).count()); }
    void Report(benchmark::State& state, int n)
    {
        if (m_ms.empty())
            return;
        std::sort(m_ms.begin(), m_ms.end());
        state.counters["min_ms"] = m_ms.front();
        state.counters["median_ms"] = m_ms[m_ms.size() / 2];
        state.counters["ns_per_particle_min"] = m_ms.front() * 1e6 / n;
    }

private:
    std::vector<double> m_ms;
};

void StepWorkers(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    CanvasSettingsRecord().SetDefaults();
    g_particleSettings.SetDefaults();
    CanvasSettingsRecord().multiThreaded = true;
    CanvasSettingsRecord().particleCount = n;
    BenchEngine engine;
    CParticleSystem system(engine);
    system.Init(ParticleSystemInit{1024, 768, n});
    if (!system.IsInitialised()) {
        state.SkipWithError("the particle system did not start");
        return;
    }
    // The first Update finds no step running; two more reach the steady state.
    for (int i = 0; i < 3; ++i)
        system.Update();

    IterationTimes times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        system.Update();
        times.Add(std::chrono::steady_clock::now() - start);
    }
    system.WaitForStep();
    times.Report(state, n);
    state.SetItemsProcessed(state.iterations() * n);
    system.Release();
    CanvasSettingsRecord().SetDefaults();
}

// Two fresh threads run `half` over the two halves of a cloud and are joined.
template <class Half>
void OnTwoThreads(benchmark::State& state, Half half)
{
    const int n = static_cast<int>(state.range(0));
    ParticleArray particles = bench::MakeCloud(n);
    const StepInputs in = bench::DefaultStepInputs();
    IterationTimes times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::thread low([&] { half(particles.data(), 0, n / 2, in); });
        std::thread high([&] { half(particles.data(), n / 2, n, in); });
        low.join();
        high.join();
        times.Add(std::chrono::steady_clock::now() - start);
    }
    times.Report(state, n);
    state.SetItemsProcessed(state.iterations() * n);
}

// The lower bound of the handoff: the halves stepped on two threads with no polling.
void StepHalves(benchmark::State& state) { OnTwoThreads(state, SimulateFast); }

// The memory floor of two cores: BM_Step/Floor's rewrite, a half on each thread. The
// cores share the memory bus, so this is not half of the one-thread floor; no two
// workers can beat it.
void StepFloorHalves(benchmark::State& state) { OnTwoThreads(state, bench::RewriteRecords); }

BENCHMARK(StepWorkers)
    ->Name("BM_Step/Workers")
    ->Arg(20000)
    ->Arg(1000000)
    ->Arg(3375000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(StepHalves)
    ->Name("BM_Step/Halves")
    ->Arg(20000)
    ->Arg(1000000)
    ->Arg(3375000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(StepFloorHalves)
    ->Name("BM_Step/FloorHalves")
    ->Arg(20000)
    ->Arg(1000000)
    ->Arg(3375000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace lumeno
