#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "hwy/targets.h"
#include "particles/emission.h"
#include "particles/power_error_bound.h"
#include "particles/simulation_step.h"
#include "particles/simulation_step_fast.h"
#include "platform/random15.h"

namespace lumeno {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kDenormal = 1e-40f;

StepInputs Inputs(float speed, float drag, float gravity, float power)
{
    StepInputs in;
    in.attractorX = 0.2f;
    in.attractorY = -0.1f;
    in.color[0] = 0.75f;
    in.color[1] = 0.5f;
    in.color[2] = 0.0f;
    in.color[3] = 1.0f;
    in.speed = speed;
    in.drag = drag;
    in.gravityAmount = gravity;
    in.gravityPower = power;
    return in;
}

// Every dispatch target this machine can run, each forced in turn.
class EachTarget : public ::testing::TestWithParam<std::int64_t> {
protected:
    void SetUp() override { hwy::SetSupportedTargetsForTest(GetParam()); }
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

std::string TargetLabel(const ::testing::TestParamInfo<std::int64_t>& info) { return hwy::TargetName(info.param); }

bool IsNaN(std::uint32_t bits) { return (bits & 0x7FFFFFFFu) > 0x7F800000u; }

// The first particle and field where two arrays differ, or "" when their bits agree.
// Two NaNs count as equal whatever their sign and payload: where two different NaNs meet
// (a field's NaN and the default NaN of 0 * inf, say), x86 keeps the first operand's,
// and the compiler orders the operands of the reference's commutative + and * as it
// likes, so those bits are not the reference's to define. Everything else is bit for bit.
std::string FirstDifference(const std::vector<Particle>& got, const std::vector<Particle>& want)
{
    for (std::size_t i = 0; i < want.size(); ++i) {
        const auto* g = reinterpret_cast<const std::uint32_t*>(&got[i]);
        const auto* w = reinterpret_cast<const std::uint32_t*>(&want[i]);
        for (int f = 0; f < 16; ++f)
            if (g[f] != w[f] && !(IsNaN(g[f]) && IsNaN(w[f])))
                return "particle " + std::to_string(i) + " field " + std::to_string(f) + ": " + std::to_string(g[f]) +
                       " instead of " + std::to_string(w[f]);
    }
    return "";
}

// Steps copies with both steps and compares every bit after every step.
void ExpectSameSteps(std::vector<Particle> particles, const StepInputs& in, int steps, const std::string& what)
{
    std::vector<Particle> reference = particles;
    for (int step = 0; step < steps; ++step) {
        SimulateReference(reference.data(), 0, static_cast<int>(reference.size()), in);
        SimulateFast(particles.data(), 0, static_cast<int>(particles.size()), in);
        const std::string diff = FirstDifference(particles, reference);
        ASSERT_EQ(diff, "") << what << ", step " << step;
    }
}

std::vector<Particle> EmittedCloud(int method, int n, float scattering)
{
    std::vector<Particle> particles(static_cast<std::size_t>(n));
    SeedRand15(7 + static_cast<std::uint32_t>(method));
    EmitReference(particles.data(), n, EmissionParams{700, 300, 1024, 768, method, n, 0.6f, 0.5f, scattering});
    return particles;
}

Particle At(float x, float y, float vx, float vy)
{
    Particle p{};
    p.current = {x, y, vx, vy, 0.25f, 0.5f, 0.125f, kNaN};
    p.previous = {-1, -2, -3, -4, -5, -6, -7, -8};
    return p;
}

TEST_P(EachTarget, RunsOnTheForcedTarget)
{
    EXPECT_STREQ(SimulateFastTargetName(), hwy::TargetName(GetParam()));
}

TEST_P(EachTarget, EmittedCloudsStepLikeTheReferenceAcrossSettings)
{
    const float powers[] = {0.0f, 0.3f, 1.0f, 2.5f, 5.0f};
    const float gravities[] = {0.0f, 0.0015f, 0.1f};
    const float drags[] = {0.9f, 0.99f, 1.0f};
    const float speeds[] = {0.0f, 0.5f, 1.0f};
    for (int method = 0; method < 3; ++method) {
        const std::vector<Particle> cloud = EmittedCloud(method, 203, 0.01f);
        for (float power : powers)
            for (float gravity : gravities)
                for (float drag : drags)
                    for (float speed : speeds)
                        ExpectSameSteps(cloud, Inputs(speed, drag, gravity, power), 4,
                                        "method " + std::to_string(method) + " P " + std::to_string(power) + " G " +
                                            std::to_string(gravity) + " k " + std::to_string(drag) + " s " +
                                            std::to_string(speed));
    }
}

TEST_P(EachTarget, LongRunWithMovingAttractorStaysBitIdentical)
{
    std::vector<Particle> fast = EmittedCloud(1, 4099, 0.004f);
    std::vector<Particle> reference = fast;
    StepInputs in = Inputs(1.0f, 0.99f, 0.0015f, 0.3f);
    float inverted[4];
    MakeStepColor(in.color, true, inverted);
    std::memcpy(in.color, inverted, sizeof inverted);
    for (int step = 0; step < 200; ++step) {
        in.attractorX = 0.8f * std::sin(0.05f * static_cast<float>(step));
        in.attractorY = 0.6f * std::cos(0.03f * static_cast<float>(step));
        SimulateReference(reference.data(), 0, 4099, in);
        SimulateFast(fast.data(), 0, 4099, in);
        ASSERT_EQ(FirstDifference(fast, reference), "") << "step " << step;
    }
}

TEST_P(EachTarget, EdgeStatesStepLikeTheReference)
{
    const StepInputs base = Inputs(1.0f, 0.99f, 0.0015f, 0.3f);
    const float ax = base.attractorX, ay = base.attractorY;
    std::vector<Particle> states = {
        At(ax, ay, 0, 0),                       // exactly on the attractor
        At(ax, ay, 0.5f, -0.25f),               // moves onto it? no: moves away from it
        At(ax + 1e-30f, ay, 0, 0),              // distance squared underflows to zero
        At(ax + 1e-20f, ay - 1e-20f, 0, 0),     //
        At(ax + 1e20f, ay, 0, 0),               // q about 1e40: infinite in float
        At(ax - 1e19f, ay + 1e18f, 0, 0),       // q about 1e38, near the float maximum
        At(ax + 1e-4f, ay, 0, 0),               // q just above 1.01
        At(ax + 0.1f, ay, 0, 0),                //
        At(0.5f, 0.5f, kDenormal, -kDenormal),  // subnormal velocities
        At(kDenormal, kDenormal, kDenormal, 0), //
        At(kNaN, 0.5f, 0.01f, 0.01f),           // NaN and infinite fields
        At(0.5f, kNaN, 0.01f, 0.01f),           //
        At(0.5f, 0.5f, kNaN, 0.01f),            //
        At(0.5f, 0.5f, 0.01f, kInf),            //
        At(kInf, 0.5f, 0.01f, 0.01f),           //
        At(-kInf, kInf, 0.0f, 0.0f),            //
        At(0.5f, 0.5f, -kInf, 0.0f),            //
        At(3e38f, -3e38f, 3e38f, 3e38f),        // overflow on the way
        At(-0.0f, -0.0f, -0.0f, -0.0f),         // negative zeros
    };
    for (int i = 0; i < 64; ++i) // q from 1.01 up over many binades
        states.push_back(At(ax + std::ldexp(1.0f, i - 24), ay - std::ldexp(0.7f, i / 2 - 12), 0.001f, 0.0f));

    struct Setting {
        float speed, drag, gravity, power;
    };
    const Setting settings[] = {
        {1.0f, 0.99f, 0.0015f, 0.3f}, {0.0f, 0.99f, 0.0015f, 0.3f},     {0.5f, 1.0f, 0.0f, 0.0f},
        {1.0f, 0.9f, 0.1f, 5.0f},     {1.0f, 0.99f, 0.0015f, -1.0f},    {1.0f, 0.99f, 0.0015f, -3.0f},
        {1.0f, 0.99f, 0.0015f, 40.f}, {1.0f, 0.99f, 0.0015f, 1e-30f},   {1.0f, 0.99f, 0.0015f, kDenormal},
        {1.0f, 0.99f, 0.0015f, kNaN}, {1.0f, 0.99f, 0.0015f, kInf},     {1.0f, 0.99f, 0.0015f, -kInf},
        {1.0f, 0.99f, kNaN, 0.3f},    {1.0f, 0.99f, kInf, 0.3f},        {1.0f, 0.99f, -kInf, 0.3f},
        {1.0f, 0.99f, kDenormal, 0.3f}, {1.0f, 0.99f, -0.0f, 0.3f},     {1.0f, 0.99f, 3e38f, -20.0f},
        {1.0f, 0.99f, 1e-45f, 5.0f},  {kInf, 0.99f, 0.0015f, 0.3f},     {1.0f, kNaN, 0.0015f, 0.3f},
        {1.0f, 0.99f, -0.05f, 2.0f},
    };
    for (const Setting& s : settings)
        ExpectSameSteps(states, Inputs(s.speed, s.drag, s.gravity, s.power), 3,
                        "s " + std::to_string(s.speed) + " k " + std::to_string(s.drag) + " G " +
                            std::to_string(s.gravity) + " P " + std::to_string(s.power));
}

TEST_P(EachTarget, OddRangesAndUnalignedStartsStepOnlyTheirParticles)
{
    const StepInputs in = Inputs(1.0f, 0.99f, 0.0015f, 0.3f);
    const std::vector<Particle> cloud = EmittedCloud(2, 77, 0.01f);
    for (int first = 0; first < 21; ++first) {
        for (int last = first - 1; last <= 77; last += 3) {
            std::vector<Particle> fast = cloud, reference = cloud;
            SimulateReference(reference.data(), first, last, in);
            SimulateFast(fast.data(), first, last, in);
            ASSERT_EQ(FirstDifference(fast, reference), "") << "range [" << first << ", " << last << ")";
        }
    }
}

TEST_P(EachTarget, TwoHalvesEqualOneWholeStep)
{
    const StepInputs in = Inputs(1.0f, 0.99f, 0.0015f, 0.3f);
    for (int n : {1, 2, 7, 15, 17, 33, 1001}) {
        std::vector<Particle> whole = EmittedCloud(0, n, 0.02f);
        std::vector<Particle> halves = whole;
        for (int step = 0; step < 3; ++step) {
            SimulateReference(whole.data(), 0, n, in);
            SimulateFast(halves.data(), 0, n / 2, in);
            SimulateFast(halves.data(), n / 2, n, in);
        }
        EXPECT_EQ(FirstDifference(halves, whole), "") << "n " << n;
    }
}

// G = 3, P = -1: the quotient is 3q, exactly a float midpoint whenever q < 4/3 has its
// last mantissa bit set. Those lanes must fall back to std::pow and round as it does.
TEST_P(EachTarget, QuotientsOnARoundingMidpointFallBackToThePower)
{
    std::vector<float> q;
    for (float v = 1.01f; v < 1.3f; v = std::nextafter(v, 2.0f))
        if (q.size() < 4096)
            q.push_back(v);
    const int n = static_cast<int>(q.size());
    std::vector<double> quotient(q.size());
    std::vector<std::uint8_t> certain(q.size());
    std::vector<float> pull(q.size());
    PullsForTest(q.data(), n, 3.0f, -1.0f, quotient.data(), certain.data(), pull.data());
    int fellBack = 0;
    for (int i = 0; i < n; ++i) {
        const float want = static_cast<float>(3.0 / std::pow(static_cast<double>(q[i]), -1.0));
        ASSERT_EQ(std::bit_cast<std::uint32_t>(pull[i]), std::bit_cast<std::uint32_t>(want)) << "q " << q[i];
        fellBack += certain[i] == 0;
    }
    EXPECT_GT(fellBack, n / 3) << "half of these quotients sit on a midpoint";

    // The same through the step: particles whose q is one of those values.
    std::vector<Particle> particles;
    for (int i = 0; i < 256; ++i)
        particles.push_back(At(0.2f + 0.001f * static_cast<float>(i), -0.1f, 0.0f, 0.0f));
    ExpectSameSteps(particles, Inputs(0.0f, 1.0f, 3.0f, -1.0f), 1, "midpoint quotients");
}

// The measured error of the vector quotient stays inside the bound its margin assumes.
TEST_P(EachTarget, QuotientErrorStaysWithinTheBound)
{
    std::vector<float> q;
    for (float v = 1.01f; v < 3e38f; v *= 1.0001737f)
        q.push_back(v);
    for (float v = 1.01f; q.size() < 200000; v = std::nextafter(v, 2.0f)) // dense near 1.01
        q.push_back(v);
    const int n = static_cast<int>(q.size());
    std::vector<double> quotient(q.size());
    std::vector<std::uint8_t> certain(q.size());
    std::vector<float> pull(q.size());
    for (float power : {0.0f, 0.3f, 1.0f, 2.5f, 5.0f, -1.0f, -7.5f}) {
        const float gravity = 0.0015f;
        PullsForTest(q.data(), n, gravity, power, quotient.data(), certain.data(), pull.data());
        const double bound = PowerErrorBound(power);
        double worst = 0.0;
        for (int i = 0; i < n; ++i) {
            if (!certain[i])
                continue;
            const long double exact = static_cast<long double>(gravity) * powl(static_cast<long double>(q[i]), -power);
            if (exact < 0x1p-1022L || exact > 0x1p1000L)
                continue;
            const double error = static_cast<double>(fabsl(static_cast<long double>(quotient[i]) - exact) / exact);
            worst = std::max(worst, error);
        }
        EXPECT_LT(worst, bound) << "P " << power << ": worst " << worst / kPowerUnitRoundoff << "u";
    }
}

INSTANTIATE_TEST_SUITE_P(SimulationStepFast, EachTarget, ::testing::ValuesIn(hwy::SupportedAndGeneratedTargets()),
                         TargetLabel);

} // namespace
} // namespace lumeno
