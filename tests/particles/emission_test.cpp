#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "particles/emission.h"
#include "particles/emission_fast.h"
#include "platform/random15.h"
#include "platform/threads.h"
#include "support/message_box_recorder.h"

namespace lumeno {
namespace {

// Particles 0 and 1 worked out by hand from the generator's first draws, so that the
// order in which emission consumes its draws is pinned by numbers emission did not make.
// From state 1 the generator yields:
constexpr int kDraws[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464, 5705, 28145, 23281, 16827, 9961};

// Point (700, 200) of a 1024 x 768 canvas; every setting non-zero so that every draw shows.
constexpr float kRadius = 0.3f, kPower = 1.7f, kScattering = 0.02f;
const double kNx = 2.0 * 700 / 1024 - 1, kNy = -(2.0 * 200 / 768 - 1), kR = kRadius; // 0.3671875, 0.4791667
const double kThird = 6.2831855 / 3; // the three-circle angles are thirds of 2 pi

double Unit(int draw) { return static_cast<double>(draw % 32767) / 32767; } // RandomUnit(1) of one draw
double Moved(double n, int draw) { return n + (Unit(draw) - 0.5) * kR * 8; }   // a random circle's centre

struct HandWorked {
    double cx, cy;      // the particle's centre
    int d3, d4, d5, d6; // the raw draws behind u3, u4, u5, u6
};

struct Case {
    const char* name;
    int method, particleCount;
    HandWorked first, second;
    int drawsUsed; // by two particles
};

const Case kCases[] = {
    {"1-Circle", 0, 2, {kNx, kNy, 41, 18467, 6334, 26500}, {kNx, kNy, 19169, 15724, 11478, 29358}, 8},
    {"3-Circles", 1, 2, {kNx + 2 * kR * std::cos(kThird), kNy + 2 * kR * std::sin(kThird), 41, 18467, 6334, 26500},
     {kNx + 2 * kR * std::cos(2 * kThird), kNy + 2 * kR * std::sin(2 * kThird), 19169, 15724, 11478, 29358}, 8},
    // Period 410 / 10 = 41: k = 41 moves the centre (u1 18467, u2 6334); k = 29358 leaves
    // 2 over, so particle 1 keeps that centre and draws no u1, u2.
    {"RND-Circles moving at once", 2, 410, {Moved(kNx, 18467), Moved(kNy, 6334), 26500, 19169, 15724, 11478},
     {Moved(kNx, 18467), Moved(kNy, 6334), 26962, 24464, 5705, 28145}, 12},
    // Period 40 / 10 = 4: k = 41 fails, so particle 0 circles the point itself; k = 15724
    // succeeds and particle 1 takes the centre of u1 11478, u2 29358.
    {"RND-Circles moving second", 2, 40, {kNx, kNy, 18467, 6334, 26500, 19169},
     {Moved(kNx, 11478), Moved(kNy, 29358), 26962, 24464, 5705, 28145}, 12},
    // Fewer than ten particles: period 1, every particle moves the centre.
    {"RND-Circles below ten", 2, 3, {Moved(kNx, 18467), Moved(kNy, 6334), 26500, 19169, 15724, 11478},
     {Moved(kNx, 26962), Moved(kNy, 24464), 5705, 28145, 23281, 16827}, 14},
};

struct Emitter {
    const char* name;
    void (*emit)(Particle*, int, const EmissionParams&);
    int count; // the fast path computes directly from 2048 particles and from tables from 32768
};

const Emitter kEmitters[] = {
    {"reference", EmitReference, 2}, {"fast", EmitFast, 4096}, {"fast, tabulated", EmitFast, 40000}};

// The draws, their order, the double power and the float angles are fixed; whether cos,
// sin and the products run in float or double is not, so results may differ by a few
// float steps: 1e-6 on positions near 1, 1e-8 on speeds near 0.03 (about 8 steps each).
// Any two draws swapped move a value by far more than that.
TEST(EmissionDraws, FirstTwoParticlesMatchTheHandWorkedDrawsAndStartAsStillWhiteLines)
{
    std::uint32_t state = 1;
    for (int draw : kDraws)
        EXPECT_EQ(NextRand15(state), draw);
    for (const Emitter& emitter : kEmitters) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(emitter.name) + ", " + c.name);
            std::vector<Particle> particles(static_cast<std::size_t>(emitter.count));
            SeedRand15(1);
            emitter.emit(particles.data(), emitter.count,
                         {700.0f, 200.0f, 1024, 768, c.method, c.particleCount, kRadius, kPower, kScattering});
            for (int j = 0; j < 2; ++j) {
                const HandWorked& h = j == 0 ? c.first : c.second;
                // Angles rounded to float, the radius power taken in double.
                const double theta = static_cast<float>(6.2831855f * Unit(h.d3));
                const double rho = std::pow(Unit(h.d4), static_cast<double>(kPower));
                const double phi = static_cast<float>(6.2831855f * Unit(h.d5));
                const double s = (Unit(h.d6) + 0.5) * kScattering;
                const Particle& p = particles[static_cast<std::size_t>(j)];
                EXPECT_NEAR(p.current.x, h.cx + rho * kR * std::cos(theta), 1e-6) << "particle " << j;
                EXPECT_NEAR(p.current.y, h.cy + rho * kR * std::sin(theta), 1e-6) << "particle " << j;
                EXPECT_NEAR(p.current.vx, s * std::cos(phi), 1e-8) << "particle " << j;
                EXPECT_NEAR(p.current.vy, s * std::sin(phi), 1e-8) << "particle " << j;
                EXPECT_EQ(std::tuple(p.current.r, p.current.g, p.current.b, p.current.a), std::tuple(1.0f, 1.0f, 1.0f, 0.0f));
                EXPECT_EQ(std::memcmp(&p.previous, &p.current, sizeof p.current), 0) << "a zero-length line";
            }
            if (emitter.count == 2) {
                EXPECT_EQ(Rand15(), kDraws[c.drawsUsed]) << "two particles take " << c.drawsUsed << " draws";
            }
        }
    }
}

// Power 0 puts every particle on its circle's rim; particle j on circle j % 3, the third
// straight to the right of the point (the canvas centre here).
TEST(Emission, ThreeCirclesUseTheirAnglesInTurn)
{
    std::vector<Particle> particles(4);
    EmitReference(particles.data(), 4, EmissionParams{512.0f, 384.0f, 1024, 768, 1, 4, 0.25f, 0.0f, 0.0f});
    const float centres[4][2] = {{-0.25f, 0.4330127f}, {-0.25f, -0.4330127f}, {0.5f, 0.0f}, {-0.25f, 0.4330127f}};
    for (int j = 0; j < 4; ++j) {
        const ParticleVertex& v = particles[static_cast<std::size_t>(j)].current;
        EXPECT_NEAR(std::hypot(v.x - centres[j][0], v.y - centres[j][1]), 0.25f, 1e-5f) << "particle " << j;
    }
}

// Emits with both from the same generator state; the records and the state after must agree.
void ExpectSameEmission(int count, int method, int particleCount, float radius, float power, float scattering,
                        std::uint32_t seed)
{
    SCOPED_TRACE(::testing::Message() << "count " << count << " method " << method << " particleCount " << particleCount
                                      << " R " << radius << " p " << power << " S " << scattering << " seed " << seed);
    const EmissionParams params{700.0f, 200.0f, 1024, 768, method, particleCount, radius, power, scattering};
    std::vector<Particle> reference(static_cast<std::size_t>(count) + 1), fast(reference.size());
    reference.back().current.x = fast.back().current.x = 42.0f; // one record past the end
    SeedRand15(seed);
    EmitReference(reference.data(), count, params);
    const std::uint32_t referenceState = Rand15State();
    SeedRand15(seed);
    EmitFast(fast.data(), count, params);
    EXPECT_EQ(Rand15State(), referenceState) << "the generator must end where the reference leaves it";
    for (std::size_t i = 0; i < reference.size(); ++i)
        ASSERT_EQ(std::memcmp(&reference[i], &fast[i], sizeof(Particle)), 0) << "particle " << i << " differs";
}

TEST(EmissionFast, MatchesTheReferenceBitForBitAndLeavesTheSameGeneratorState)
{
    // Counts on both sides of the thread and table thresholds, odd and even.
    for (int method : {0, 1, 2, 7})
        for (int count : {0, 1, 9, 2047, 2048, 2049, 20001, 32767, 32768, 70001})
            ExpectSameEmission(count, method, count, 0.6f, 0.01f, 0.004f, 1u + static_cast<std::uint32_t>(count));
    // Below ten method 2 moves the centre on every draw, at 30 on one in three; a count
    // far above the array's keeps the first centre for long runs.
    for (int particleCount : {1, 9, 30, 200, 3375000})
        for (int count : {2049, 40001})
            ExpectSameEmission(count, 2, particleCount, 0.3f, 0.5f, 0.01f, 12345u);
    // Settings across their ranges and beyond.
    const float inf = std::numeric_limits<float>::infinity();
    const float settings[][3] = {{0.6f, 0.0f, 0.0f},   {0.0f, 0.01f, 0.5f},  {1.0f, 0.5f, 0.1f},
                                 {0.25f, 3.0f, 0.004f}, {0.6f, -1.0f, 0.0f},  {0.6f, 40.0f, 1.0f},
                                 {2e38f, 0.5f, 3e38f},  {0.6f, inf, 0.0f},    {0.6f, -inf, 0.01f}};
    for (int method : {0, 1, 2})
        for (const auto& s : settings)
            for (int count : {4097, 50001})
                ExpectSameEmission(count, method, count, s[0], s[1], s[2], 777u);
    // Any generator state, one about to wrap included.
    for (std::uint32_t seed : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0xDEADBEEFu})
        for (int method : {0, 2})
            ExpectSameEmission(33333, method, 33333, 0.6f, 0.01f, 0.004f, seed);
}

TEST(EmissionFast, ThreadsThatCannotStartLeaveTheWorkToTheCallingThread)
{
    // 20001 particles start one thread (the halves), 70001 two (the tables, then the
    // halves); every start that fails is the calling thread's work, with the same result.
    test::MessageBoxRecorder boxes;
    for (const auto& [count, failures] : {std::pair{20001, 1}, {70001, 1}, {70001, 2}}) {
        SCOPED_TRACE(std::to_string(failures) + " failed");
        FailNextThreadStartsForTesting(failures);
        for (int method : {0, 2})
            ExpectSameEmission(count, method, count, 0.6f, 0.01f, 0.004f, 99u);
        // The emission's first call took the injected failures: the next start succeeds.
        std::thread probe = StartThread([] {});
        EXPECT_TRUE(probe.joinable()) << "the emission did not start its threads through StartThread";
        if (probe.joinable())
            probe.join();
        FailNextThreadStartsForTesting(0);
    }
    EXPECT_TRUE(boxes.Boxes().empty()) << "a slower emission is not a failure to report";
}

} // namespace
} // namespace lumeno
