#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "particles/attractor.h"
#include "particles/emission.h"
#include "particles/simulation_step.h"
#include "platform/random15.h"

namespace lumeno {
namespace {

StepInputs DefaultInputs()
{
    StepInputs in;
    in.attractorX = 0.1f;
    in.attractorY = -0.2f;
    in.color[0] = 0.25f;
    in.color[3] = 1.0f;
    in.speed = 1.0f;
    in.drag = 0.99f;
    in.gravityAmount = 0.0015f;
    in.gravityPower = 0.3f;
    return in;
}

Particle At(float x, float y, float vx, float vy)
{
    Particle p{};
    p.current = {x, y, vx, vy, 1, 1, 1, 0};
    p.previous = p.current;
    return p;
}

TEST(SimulationStep, FollowsTheStepOrderInFloat)
{
    Particle p = At(0.5f, 0.25f, 0.01f, -0.02f);
    const ParticleVertex before = p.current;
    const StepInputs in = DefaultInputs();
    SimulateReference(&p, 0, 1, in);

    EXPECT_EQ(std::memcmp(&p.previous, &before, sizeof before), 0);
    const float x = 0.5f + 1.0f * 0.01f;
    const float y = 0.25f + 1.0f * -0.02f;
    EXPECT_EQ(p.current.x, x);
    EXPECT_EQ(p.current.y, y);
    float dx = 0.1f - x, dy = -0.2f - y;
    const float q = dx * dx + dy * dy + 1.01f;
    const float length = std::sqrt(dx * dx + dy * dy);
    dx /= length;
    dy /= length;
    const float f = static_cast<float>(static_cast<double>(0.0015f) / std::pow(static_cast<double>(q), static_cast<double>(0.3f)));
    EXPECT_EQ(p.current.vx, 0.99f * 0.01f + f * dx);
    EXPECT_EQ(p.current.vy, 0.99f * -0.02f + f * dy);
    EXPECT_EQ(p.current.r, 0.25f);
    EXPECT_EQ(p.current.g, 0.0f);
    EXPECT_EQ(p.current.a, 1.0f);
}

TEST(SimulationStep, ParticleAtTheAttractorGetsDragOnly)
{
    StepInputs in = DefaultInputs();
    in.speed = 0.0f;
    Particle p = At(in.attractorX, in.attractorY, 0.5f, -0.25f);
    SimulateReference(&p, 0, 1, in);
    EXPECT_EQ(p.current.vx, 0.99f * 0.5f);
    EXPECT_EQ(p.current.vy, 0.99f * -0.25f);
}

TEST(SimulationStep, WithoutDragOrGravityParticlesMoveInStraightLines)
{
    StepInputs in = DefaultInputs();
    in.drag = 1.0f;
    in.gravityAmount = 0.0f;
    Particle p = At(0.0f, 0.0f, 0.125f, -0.0625f);
    for (int step = 0; step < 8; ++step)
        SimulateReference(&p, 0, 1, in);
    EXPECT_EQ(p.current.x, 1.0f);
    EXPECT_EQ(p.current.y, -0.5f);
    EXPECT_EQ(p.current.vx, 0.125f);
    EXPECT_EQ(p.current.vy, -0.0625f);
}

TEST(SimulationStep, SpeedZeroKeepsPositionsWhileVelocitiesChange)
{
    StepInputs in = DefaultInputs();
    in.speed = 0.0f;
    Particle p = At(0.7f, 0.3f, 0.0f, 0.0f);
    for (int step = 0; step < 3; ++step) {
        SimulateReference(&p, 0, 1, in);
        EXPECT_EQ(p.current.x, 0.7f);
        EXPECT_EQ(p.current.y, 0.3f);
        EXPECT_EQ(p.previous.x, p.current.x);
        EXPECT_EQ(p.previous.y, p.current.y);
    }
    EXPECT_LT(p.current.vx, 0.0f) << "pulled left, towards the attractor";
}

TEST(SimulationStep, TwoHalvesEqualTheWholeRangeBitForBit)
{
    constexpr int n = 1001;
    std::vector<Particle> whole(n);
    SeedRand15(99);
    EmitReference(whole.data(), n, EmissionParams{300, 200, 800, 600, 2, n, 0.6f, 0.5f, 0.01f});
    std::vector<Particle> halves = whole;
    const StepInputs in = DefaultInputs();
    for (int step = 0; step < 5; ++step) {
        SimulateReference(whole.data(), 0, n, in);
        SimulateReference(halves.data(), 0, n / 2, in);
        SimulateReference(halves.data(), n / 2, n, in);
    }
    EXPECT_EQ(std::memcmp(whole.data(), halves.data(), sizeof(Particle) * n), 0);
    SimulateReference(whole.data(), 5, 5, in);
    SimulateReference(whole.data(), 7, 3, in);
    EXPECT_EQ(std::memcmp(whole.data(), halves.data(), sizeof(Particle) * n), 0) << "empty ranges touch nothing";
}

TEST(SimulationStep, StepColourComplementsInInvertMode)
{
    const float colour[4] = {0.25f, 0.5f, 1.0f, 1.0f};
    float out[4];
    MakeStepColor(colour, true, out);
    EXPECT_EQ(out[0], 0.75f);
    EXPECT_EQ(out[1], 0.5f);
    EXPECT_EQ(out[2], 0.0f);
    EXPECT_EQ(out[3], 1.0f);
    MakeStepColor(colour, false, out);
    EXPECT_EQ(std::memcmp(out, colour, sizeof out), 0);
}

TEST(Attractor, StartsOnTheMouseThenCoversNineTenthsEachStep)
{
    Attractor a;
    a.Advance(512.0f, 384.0f, 1024, 768);
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_EQ(a.y, 0.0f);

    // The mouse jumps to the top-right corner: (1, 1) in simulation space.
    float distance = 1.0f;
    for (int step = 0; step < 4; ++step) {
        a.Advance(1024.0f, 0.0f, 1024, 768);
        const float next = 1.0f - a.x;
        EXPECT_NEAR(next, distance * 0.1f, 1e-6f);
        EXPECT_EQ(a.x, a.y);
        distance = next;
    }
    EXPECT_EQ(std::bit_cast<std::uint32_t>(0.9f), 0x3F666666u);
}

TEST(SimulationStep, WholeSimulationIsPinnedToItsBits)
{
    // Emission at seed 1 and 100 steps with a moving attractor: any change of order,
    // precision or contraction anywhere in the step or emission changes this hash.
    constexpr int n = 3000;
    std::vector<Particle> particles(n);
    SeedRand15(1);
    EmitReference(particles.data(), n, EmissionParams{700, 100, 1024, 768, 1, n, 0.6f, 0.01f, 0.004f});
    Attractor attractor;
    StepInputs in = DefaultInputs();
    for (int step = 0; step < 100; ++step) {
        attractor.Advance(200.0f + step, 500.0f - step, 1024, 768);
        in.attractorX = attractor.x;
        in.attractorY = attractor.y;
        SimulateReference(particles.data(), 0, n, in);
    }
    std::uint64_t hash = 1469598103934665603ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(particles.data());
    for (std::size_t i = 0; i < sizeof(Particle) * n; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    EXPECT_EQ(hash, 5877976624092381360ull);
}

} // namespace
} // namespace lumeno
