// Fast emission. The random draws stay in the reference's order, but where each
// particle's draws start is known without making them: every draw is one step of a
// linear congruential generator, so n steps are one affine map that we compose in
// log n. Methods 0 and 1 draw four times per particle, so the second half of the array
// starts 4 * n/2 steps on; method 2 draws five or seven times, so the main thread scans
// the first half's centre draws (one multiply-add per particle) while the other core
// starts its work.
//
// The rest is the reference's own arithmetic on the same inputs. Each draw takes one of
// 32767 values, so above kTableMinimum particles the angles' cos and sin, the radius
// power and the speed are tabulated once per call (the same calls on the same
// arguments), which replaces millions of pow, cos and sin calls by 32767 of each.

#include "particles/emission_fast.h"

#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "particles/emission_setup.h"
#include "platform/random15.h"
#include "platform/threads.h"

namespace lumeno {
namespace {

// Below this the reference loop itself is quicker than starting a thread.
constexpr int kParallelMinimum = 2048;
// Building the tables costs about as much as 30,000 particles computed directly.
constexpr int kTableMinimum = 32768;
constexpr int kDrawValues = kRandMax; // a draw of 32767 folds to 0

// state -> multiplier * state + increment, `steps` generator steps at once.
struct GeneratorJump {
    std::uint32_t multiplier = 1, increment = 0;

    static GeneratorJump Steps(std::uint64_t steps)
    {
        GeneratorJump result, power{214013u, 2531011u};
        for (; steps != 0; steps >>= 1) {
            if (steps & 1)
                result = {power.multiplier * result.multiplier, power.multiplier * result.increment + power.increment};
            power = {power.multiplier * power.multiplier, power.multiplier * power.increment + power.increment};
        }
        return result;
    }
    std::uint32_t Apply(std::uint32_t state) const { return multiplier * state + increment; }
};

// RandomUnit(1) from a draw: (0.0 + x) / 1 is x exactly.
double Unit(int draw) { return static_cast<double>(draw % kRandMax) / kRandMax; }

// Method 2's centre move, after its draw of k succeeded.
EmissionCentre MovedCentre(const EmissionSetup& setup, std::uint32_t& state)
{
    const double u1 = Unit(NextRand15(state));
    const double u2 = Unit(NextRand15(state));
    return setup.MovedCentre(u1, u2);
}

// The values a particle takes from one draw, as the reference computes them.
struct Angle {
    float cos, sin; // of 2 pi u, rounded to float first
};
Angle AngleOf(int draw)
{
    const float angle = static_cast<float>(kTwoPi * Unit(draw));
    return {std::cos(angle), std::sin(angle)};
}
float RhoOf(int draw, double power) { return static_cast<float>(std::pow(Unit(draw), power)); }
float SpeedOf(int draw) { return static_cast<float>(Unit(draw) + 0.5); }

// Draw values straight from the maths library.
struct DirectValues {
    double power;
    Angle AngleFor(int draw) const { return AngleOf(draw); }
    float RhoFor(int draw) const { return RhoOf(draw, power); }
    float SpeedFor(int draw) const { return SpeedOf(draw); }
};

// Draw values from tables of all 32767, filled by the same calls.
struct DrawTables {
    std::vector<Angle> angles;
    std::vector<float> rhos, speeds;

    DrawTables() : angles(kDrawValues), rhos(kDrawValues), speeds(kDrawValues) {}
    void Fill(int first, int last, double power)
    {
        for (int i = first; i < last; ++i) {
            angles[i] = AngleOf(i);
            rhos[i] = RhoOf(i, power);
            speeds[i] = SpeedOf(i);
        }
    }
    Angle AngleFor(int draw) const { return angles[draw % kRandMax]; }
    float RhoFor(int draw) const { return rhos[draw % kRandMax]; }
    float SpeedFor(int draw) const { return speeds[draw % kRandMax]; }
};

// Particles [first, last) from generator state `state` and running centre `centre`;
// both are left as they are after the last particle.
template <class Values>
void EmitRange(Particle* particles, int first, int last, const EmissionSetup& setup, const Values& values,
               std::uint32_t& state, EmissionCentre& centre)
{
    const EmissionParams& p = setup.params;
    for (int j = first; j < last; ++j) {
        switch (p.createMethod) {
        case 0:
            centre = {setup.nx, setup.ny};
            break;
        case 1:
            centre = setup.threeCircles[j % 3];
            break;
        case 2:
            if (NextRand15(state) % setup.period == 0)
                centre = MovedCentre(setup, state);
            break;
        default:
            break;
        }
        const int d3 = NextRand15(state), d4 = NextRand15(state), d5 = NextRand15(state), d6 = NextRand15(state);
        const Angle theta = values.AngleFor(d3);
        const float rho = values.RhoFor(d4);
        const Angle phi = values.AngleFor(d5);
        const float s = values.SpeedFor(d6);

        ParticleVertex& v = particles[j].current;
        v.x = centre.x + rho * p.radius * theta.cos;
        v.y = centre.y + rho * p.radius * theta.sin;
        v.r = v.g = v.b = 1.0f;
        v.a = 0.0f;
        v.vx = s * p.scattering * phi.cos;
        v.vy = s * p.scattering * phi.sin;
        particles[j].previous = v;
    }
}

// Generator state and centre at particle `index`, from those at particle 0.
void AdvanceTo(int index, const EmissionSetup& setup, std::uint32_t& state, EmissionCentre& centre)
{
    if (setup.params.createMethod != 2) {
        // Methods 0 and 1 set their centre afresh for every particle.
        state = GeneratorJump::Steps(4ull * static_cast<std::uint64_t>(index)).Apply(state);
        return;
    }
    const GeneratorJump fourDraws = GeneratorJump::Steps(4);
    for (int j = 0; j < index; ++j) {
        if (NextRand15(state) % setup.period == 0)
            centre = MovedCentre(setup, state);
        state = fourDraws.Apply(state);
    }
}

// Runs `work` on a second thread and `mine` on this one. Where no thread can be started
// both run on this one, as the parallel runner falls back to fewer threads: the same
// particles, only later, and nothing to report.
template <class Work, class Mine>
void OnBothCores(const Work& work, const Mine& mine)
{
    std::thread other = StartThread(work);
    if (!other.joinable())
        work();
    mine();
    if (other.joinable())
        other.join();
}

template <class Values>
void EmitHalves(Particle* particles, int count, const EmissionSetup& setup, const Values& values)
{
    const int half = count / 2;
    const std::uint32_t start = Rand15State();
    std::uint32_t lowState = start, highState = start;
    EmissionCentre lowCentre{setup.nx, setup.ny}, highCentre{setup.nx, setup.ny};
    OnBothCores([&] { EmitRange(particles, 0, half, setup, values, lowState, lowCentre); },
                [&] {
                    AdvanceTo(half, setup, highState, highCentre);
                    EmitRange(particles, half, count, setup, values, highState, highCentre);
                });
    SeedRand15(highState);
}

} // namespace

void EmitFast(Particle* particles, int count, const EmissionParams& params)
{
    if (count < kParallelMinimum) {
        EmitReference(particles, count, params);
        return;
    }
    const EmissionSetup setup(params);
    const double power = static_cast<double>(params.power);
    if (count < kTableMinimum) {
        EmitHalves(particles, count, setup, DirectValues{power});
        return;
    }
    DrawTables tables;
    const int split = kDrawValues / 2;
    OnBothCores([&] { tables.Fill(split, kDrawValues, power); }, [&] { tables.Fill(0, split, power); });
    EmitHalves(particles, count, setup, tables);
}

} // namespace lumeno
