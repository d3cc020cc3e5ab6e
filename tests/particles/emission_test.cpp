#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "particles/emission.h"
#include "particles/random_unit.h"
#include "platform/random15.h"

namespace lumeno {
namespace {

// Power 0 puts every particle on its circle's rim: at distance R from its centre.
EmissionParams RimParams(int method, int particleCount)
{
    return EmissionParams{512.0f, 384.0f, 1024, 768, method, particleCount, 0.25f, 0.0f, 0.0f};
}

float DistanceTo(const Particle& p, float cx, float cy)
{
    return std::hypot(p.current.x - cx, p.current.y - cy);
}

TEST(Emission, PointConvertsToSimulationSpaceWithYUp)
{
    std::vector<Particle> particles(8);
    EmissionParams params = RimParams(0, 8);
    params.radius = 0.0f;
    params.pointX = 768.0f; // three quarters across: x = 0.5
    params.pointY = 192.0f; // a quarter down: y = 0.5
    EmitReference(particles.data(), 8, params);
    for (const Particle& p : particles) {
        EXPECT_EQ(p.current.x, 0.5f);
        EXPECT_EQ(p.current.y, 0.5f);
    }
}

TEST(Emission, ThreeCirclesUseAnglesInTurn)
{
    std::vector<Particle> particles(4);
    const EmissionParams params = RimParams(1, 4);
    EmitReference(particles.data(), 4, params);
    const float r2 = 2.0f * params.radius;
    const float angleOf[4] = {kTwoPi / 3, 2 * kTwoPi / 3, kTwoPi, kTwoPi / 3};
    for (int j = 0; j < 4; ++j) {
        const float cx = r2 * std::cos(angleOf[j]);
        const float cy = r2 * std::sin(angleOf[j]);
        EXPECT_NEAR(DistanceTo(particles[static_cast<std::size_t>(j)], cx, cy), params.radius, 1e-5f) << "particle " << j;
    }
    // The third circle lies straight to the right of the point.
    EXPECT_NEAR(r2 * std::cos(angleOf[2]), r2, 1e-6f);
    EXPECT_NEAR(r2 * std::sin(angleOf[2]), 0.0f, 1e-6f);
}

TEST(Emission, RandomCirclesMoveTheCentreOnlyOnSuccessfulDraws)
{
    constexpr int n = 200;
    const EmissionParams params = RimParams(2, n); // period 20
    SeedRand15(12345);

    // Replay the draws: per particle k, then on success u1 and u2, then u3..u6.
    std::uint32_t state = 12345;
    auto unit = [&state] { return static_cast<double>(NextRand15(state) % kRandMax) / kRandMax; };
    std::vector<std::pair<float, float>> centres;
    float cx = 0.0f, cy = 0.0f;
    int moves = 0;
    for (int j = 0; j < n; ++j) {
        if (NextRand15(state) % (n / 10) == 0) {
            const double u1 = unit();
            const double u2 = unit();
            cx = static_cast<float>(0.0f + (u1 - 0.5) * params.radius * 8);
            cy = static_cast<float>(0.0f + (u2 - 0.5) * params.radius * 8);
            ++moves;
        }
        centres.emplace_back(cx, cy);
        for (int draw = 0; draw < 4; ++draw)
            NextRand15(state);
    }
    ASSERT_GT(moves, 0);

    std::vector<Particle> particles(n);
    EmitReference(particles.data(), n, params);
    for (int j = 0; j < n; ++j) {
        const auto [x, y] = centres[static_cast<std::size_t>(j)];
        EXPECT_NEAR(DistanceTo(particles[static_cast<std::size_t>(j)], x, y), params.radius, 1e-5f) << "particle " << j;
    }
    EXPECT_EQ(Rand15State(), state) << "emission drew exactly the replayed sequence";
}

TEST(Emission, FewerThanTenParticlesGiveEachItsOwnRandomCircle)
{
    std::vector<Particle> particles(3);
    SeedRand15(7);
    EmitReference(particles.data(), 3, RimParams(2, 3));
    // Every particle drew k, u1, u2, then its four draws.
    std::uint32_t state = 7;
    for (int draw = 0; draw < 3 * 7; ++draw)
        NextRand15(state);
    EXPECT_EQ(Rand15State(), state);
    for (const Particle& p : particles)
        EXPECT_TRUE(std::isfinite(p.current.x) && std::isfinite(p.current.y));
}

TEST(Emission, StillParticlesStartAsZeroLengthWhiteLines)
{
    std::vector<Particle> particles(50);
    EmitReference(particles.data(), 50, EmissionParams{100.0f, 100.0f, 800, 600, 0, 50, 0.6f, 0.01f, 0.0f});
    for (const Particle& p : particles) {
        EXPECT_EQ(p.current.vx, 0.0f);
        EXPECT_EQ(p.current.vy, 0.0f);
        EXPECT_EQ(p.current.r, 1.0f);
        EXPECT_EQ(p.current.a, 0.0f);
        EXPECT_EQ(std::memcmp(&p.current, &p.previous, sizeof(ParticleVertex)), 0);
    }
}

TEST(Emission, ScatteringGivesSpeedsBetweenHalfAndOneAndAHalfTimesIt)
{
    std::vector<Particle> particles(1000);
    EmitReference(particles.data(), 1000, EmissionParams{400, 300, 800, 600, 0, 1000, 0.6f, 0.5f, 0.01f});
    for (const Particle& p : particles) {
        const float speed = std::hypot(p.current.vx, p.current.vy);
        EXPECT_GE(speed, 0.005f * 0.9999f);
        EXPECT_LE(speed, 0.015f * 1.0001f);
    }
}

TEST(Emission, TwoEmissionsAtOnePointDiffer)
{
    std::vector<Particle> first(10), second(10);
    const EmissionParams params{400, 300, 800, 600, 0, 10, 0.6f, 0.5f, 0.0f};
    EmitReference(first.data(), 10, params);
    EmitReference(second.data(), 10, params);
    EXPECT_NE(std::memcmp(first.data(), second.data(), sizeof(Particle) * 10), 0);
}

} // namespace
} // namespace lumeno
