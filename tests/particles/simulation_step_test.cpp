#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "particles/attractor.h"
#include "particles/emission.h"
#include "particles/simulation_step.h"
#include "platform/random15.h"

namespace lumeno {
namespace {

StepInputs Inputs(float speed, float drag, float gravity) { return {0.1f, -0.2f, {0.25f, 0, 0, 1}, speed, drag, gravity, 0.3f}; }

std::vector<float> Fields(const ParticleVertex& v) { return {v.x, v.y, v.vx, v.vy, v.r, v.g, v.b, v.a}; }

Particle Stepped(float x, float y, float vx, float vy, const StepInputs& in, int steps)
{
    Particle p{};
    p.current = {x, y, vx, vy, 1, 1, 1, 0};
    for (int step = 0; step < steps; ++step)
        SimulateReference(&p, 0, 1, in);
    return p;
}

TEST(SimulationStep, SpeedScalesTheMoveDragTheVelocityAndTheAttractorPulls)
{
    // Without drag or gravity, straight lines: eight steps of (1/8, -1/16).
    Particle p = Stepped(0.0f, 0.0f, 0.125f, -0.0625f, Inputs(1.0f, 1.0f, 0.0f), 8);
    EXPECT_EQ(Fields(p.current), (std::vector<float>{1.0f, -0.5f, 0.125f, -0.0625f, 0.25f, 0, 0, 1}));
    // On the attractor there is no direction to pull in: drag only.
    p = Stepped(0.1f, -0.2f, 0.5f, -0.25f, Inputs(0.0f, 0.99f, 0.0015f), 1);
    EXPECT_EQ(std::pair(p.current.vx, p.current.vy), std::pair(0.99f * 0.5f, 0.99f * -0.25f));
    // Speed 0 keeps the position (and the line's start on it) while the pull acts.
    p = Stepped(0.7f, 0.3f, 0.0f, 0.0f, Inputs(0.0f, 0.99f, 0.0015f), 3);
    EXPECT_EQ(std::pair(p.current.x, p.current.y), std::pair(0.7f, 0.3f));
    EXPECT_EQ(std::pair(p.previous.x, p.previous.y), std::pair(0.7f, 0.3f));
    EXPECT_LT(p.current.vx, 0.0f) << "pulled left, towards the attractor";
    const std::vector<float> fields = Fields(p.current);
    EXPECT_EQ(std::vector<float>(fields.begin() + 4, fields.end()), (std::vector<float>{0.25f, 0, 0, 1})) << "step colour";
}

TEST(SimulationStep, StepColourComplementsInInvertMode)
{
    const float colour[4] = {0.25f, 0.5f, 1.0f, 1.0f};
    float inverted[4], plain[4];
    MakeStepColor(colour, true, inverted);
    MakeStepColor(colour, false, plain);
    EXPECT_EQ(std::vector<float>(inverted, inverted + 4), (std::vector<float>{0.75f, 0.5f, 0.0f, 1.0f}));
    EXPECT_EQ(std::vector<float>(plain, plain + 4), std::vector<float>(colour, colour + 4));
}

TEST(Attractor, StartsOnTheMouseThenCoversNineTenthsEachStep)
{
    Attractor a;
    a.Advance(512.0f, 384.0f, 1024, 768);
    EXPECT_EQ(std::pair(a.x, a.y), std::pair(0.0f, 0.0f));
    // The mouse jumps to the top-right corner: (1, 1) in simulation space.
    for (const float left : {0.1f, 0.01f, 0.001f}) {
        a.Advance(1024.0f, 0.0f, 1024, 768);
        EXPECT_NEAR(1.0f - a.x, left, 1e-6f);
        EXPECT_EQ(a.x, a.y);
    }
}

TEST(Attractor, PointerAtInfinityOrNaNLeavesItWhereItWasAndTheNextPointerIsFollowed)
{
    // A pointer mapped through a view scale of 0 or NaN, or a canvas of no size.
    constexpr float inf = std::numeric_limits<float>::infinity();
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    Attractor a;
    a.Advance(nan, 100.0f, 1024, 768);
    EXPECT_FALSE(a.placed) << "never placed off the canvas";
    a.Advance(256.0f, 192.0f, 1024, 768);
    EXPECT_EQ(std::tuple(a.x, a.y, a.placed), std::tuple(-0.5f, 0.5f, true)) << "starts on the first finite pointer";

    Attractor twin = a;
    for (const auto& [x, y, w] : {std::tuple(inf, 0.0f, 1024), std::tuple(0.0f, -inf, 1024), std::tuple(nan, nan, 1024),
                                  std::tuple(512.0f, 384.0f, 0), std::tuple(3e38f, 0.0f, 1)}) {
        a.Advance(x, y, w, 768);
        EXPECT_EQ(std::pair(a.x, a.y), std::pair(twin.x, twin.y)) << x << ", " << y << " on " << w;
    }
    // Back on the canvas, it goes on bit for bit as if the bad places had never come.
    for (int step = 0; step < 3; ++step) {
        a.Advance(900.0f, 10.0f, 1024, 768);
        twin.Advance(900.0f, 10.0f, 1024, 768);
        EXPECT_EQ(std::pair(a.x, a.y), std::pair(twin.x, twin.y));
    }
    EXPECT_NEAR(a.x, 0.7566f, 1e-4f);
}

TEST(SimulationStep, WholeSimulationIsPinnedToItsBits)
{
    // Emission at seed 1 and 100 steps with a moving attractor: any change of order,
    // precision or contraction anywhere in the step or emission changes this hash. A copy
    // stepped in two halves, and by empty ranges, ends with the same bits.
    constexpr int n = 3000;
    std::vector<Particle> particles(n);
    SeedRand15(1);
    EmitReference(particles.data(), n, EmissionParams{700, 100, 1024, 768, 1, n, 0.6f, 0.01f, 0.004f});
    std::vector<Particle> halves = particles;
    Attractor attractor;
    StepInputs in = Inputs(1.0f, 0.99f, 0.0015f);
    for (int step = 0; step < 100; ++step) {
        attractor.Advance(200.0f + step, 500.0f - step, 1024, 768);
        in.attractorX = attractor.x;
        in.attractorY = attractor.y;
        SimulateReference(particles.data(), 0, n, in);
        SimulateReference(halves.data(), 0, 1501, in);
        SimulateReference(halves.data(), 1501, n, in);
        SimulateReference(halves.data(), 7, 3, in);
        SimulateReference(halves.data(), 5, 5, in);
    }
    EXPECT_EQ(std::memcmp(particles.data(), halves.data(), sizeof(Particle) * n), 0);
    std::uint64_t hash = 1469598103934665603ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(particles.data());
    for (std::size_t i = 0; i < sizeof(Particle) * n; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    EXPECT_EQ(hash, 5877976624092381360ull);
}

} // namespace
} // namespace lumeno
