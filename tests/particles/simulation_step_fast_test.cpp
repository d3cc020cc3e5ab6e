#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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
    return {0.2f, -0.1f, {0.75f, 0.5f, 0.0f, 1.0f}, speed, drag, gravity, power};
}

// Every dispatch target this machine can run, each forced in turn.
class EachTarget : public ::testing::TestWithParam<std::int64_t> {
protected:
    void SetUp() override { hwy::SetSupportedTargetsForTest(GetParam()); }
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

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

// Steps copies with both steps and compares every bit after every step; the attractor
// moves from step to step when asked.
void ExpectSameSteps(std::vector<Particle> particles, StepInputs in, int steps, bool moving = false)
{
    SCOPED_TRACE("s " + std::to_string(in.speed) + " k " + std::to_string(in.drag) + " G " +
                 std::to_string(in.gravityAmount) + " P " + std::to_string(in.gravityPower));
    std::vector<Particle> reference = particles;
    for (int step = 0; step < steps; ++step) {
        if (moving) {
            in.attractorX = 0.8f * std::sin(0.05f * static_cast<float>(step));
            in.attractorY = 0.6f * std::cos(0.03f * static_cast<float>(step));
        }
        SimulateReference(reference.data(), 0, static_cast<int>(reference.size()), in);
        SimulateFast(particles.data(), 0, static_cast<int>(particles.size()), in);
        ASSERT_EQ(FirstDifference(particles, reference), "") << "step " << step;
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

TEST_P(EachTarget, EmittedCloudsStepLikeTheReferenceAcrossSettingsAndOnALongRun)
{
    EXPECT_STREQ(SimulateFastTargetName(), hwy::TargetName(GetParam())) << "runs on the forced target";
    for (int method = 0; method < 3; ++method)
        for (float power : {0.0f, 0.3f, 1.0f, 2.5f, 5.0f})
            for (float gravity : {0.0f, 0.0015f, 0.1f})
                for (float drag : {0.9f, 0.99f, 1.0f})
                    for (float speed : {0.0f, 0.5f, 1.0f})
                        ExpectSameSteps(EmittedCloud(method, 203, 0.01f), Inputs(speed, drag, gravity, power), 4);
    // 200 steps towards a moving attractor with the inverted colour.
    StepInputs in = Inputs(1.0f, 0.99f, 0.0015f, 0.3f);
    MakeStepColor(Inputs(1.0f, 0.99f, 0.0015f, 0.3f).color, true, in.color);
    ExpectSameSteps(EmittedCloud(1, 4099, 0.004f), in, 200, true);
}

TEST_P(EachTarget, EdgeStatesStepLikeTheReference)
{
    const float ax = 0.2f, ay = -0.1f; // the attractor of Inputs
    std::vector<Particle> states = {
        At(ax, ay, 0, 0), At(ax, ay, 0.5f, -0.25f),                       // on the attractor, still or leaving
        At(ax + 1e-30f, ay, 0, 0), At(ax + 1e-20f, ay - 1e-20f, 0, 0),    // distance squared underflows to zero
        At(ax + 1e20f, ay, 0, 0), At(ax - 1e19f, ay + 1e18f, 0, 0),       // q infinite in float, q near the maximum
        At(ax + 1e-4f, ay, 0, 0), At(ax + 0.1f, ay, 0, 0),                // q just above 1.01
        At(0.5f, 0.5f, kDenormal, -kDenormal), At(kDenormal, kDenormal, kDenormal, 0), // subnormals
        At(kNaN, 0.5f, 0.01f, 0.01f), At(0.5f, kNaN, 0.01f, 0.01f), At(0.5f, 0.5f, kNaN, 0.01f), // NaN and infinite
        At(0.5f, 0.5f, 0.01f, kInf), At(kInf, 0.5f, 0.01f, 0.01f), At(-kInf, kInf, 0.0f, 0.0f),  // fields
        At(0.5f, 0.5f, -kInf, 0.0f), At(3e38f, -3e38f, 3e38f, 3e38f),     // overflow on the way
        At(-0.0f, -0.0f, -0.0f, -0.0f),                                   // negative zeros
    };
    for (int i = 0; i < 64; ++i) // q from 1.01 up over many binades
        states.push_back(At(ax + std::ldexp(1.0f, i - 24), ay - std::ldexp(0.7f, i / 2 - 12), 0.001f, 0.0f));
    const float settings[][4] = { // speed, drag, gravity, power
        {1, 0.99f, 0.0015f, 0.3f}, {0, 0.99f, 0.0015f, 0.3f}, {0.5f, 1, 0, 0}, {1, 0.9f, 0.1f, 5},
        {1, 0.99f, 0.0015f, -1}, {1, 0.99f, 0.0015f, -3}, {1, 0.99f, 0.0015f, 40}, {1, 0.99f, 0.0015f, 1e-30f},
        {1, 0.99f, 0.0015f, kDenormal}, {1, 0.99f, 0.0015f, kNaN}, {1, 0.99f, 0.0015f, kInf},
        {1, 0.99f, 0.0015f, -kInf}, {1, 0.99f, kNaN, 0.3f}, {1, 0.99f, kInf, 0.3f}, {1, 0.99f, -kInf, 0.3f},
        {1, 0.99f, kDenormal, 0.3f}, {1, 0.99f, -0.0f, 0.3f}, {1, 0.99f, 3e38f, -20}, {1, 0.99f, 1e-45f, 5},
        {kInf, 0.99f, 0.0015f, 0.3f}, {1, kNaN, 0.0015f, 0.3f}, {1, 0.99f, -0.05f, 2}};
    for (const auto& s : settings)
        ExpectSameSteps(states, Inputs(s[0], s[1], s[2], s[3]), 3);
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

// G = 3, P = -1: the quotient is 3q, exactly a float midpoint whenever q < 4/3 has its
// last mantissa bit set. Those lanes must fall back to std::pow and round as it does.
TEST_P(EachTarget, QuotientsOnARoundingMidpointFallBackToThePower)
{
    std::vector<float> q;
    for (float v = 1.01f; q.size() < 4096; v = std::nextafter(v, 2.0f))
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
    ExpectSameSteps(particles, Inputs(0.0f, 1.0f, 3.0f, -1.0f), 1);
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
        PullsForTest(q.data(), n, 0.0015f, power, quotient.data(), certain.data(), pull.data());
        double worst = 0.0;
        for (int i = 0; i < n; ++i) {
            const long double exact = static_cast<long double>(0.0015f) * powl(static_cast<long double>(q[i]), -power);
            if (certain[i] && exact >= 0x1p-1022L && exact <= 0x1p1000L)
                worst = std::max(worst, static_cast<double>(fabsl(static_cast<long double>(quotient[i]) - exact) / exact));
        }
        EXPECT_LT(worst, PowerErrorBound(power)) << "P " << power << ": worst " << worst / kPowerUnitRoundoff << "u";
    }
}

INSTANTIATE_TEST_SUITE_P(SimulationStepFast, EachTarget, ::testing::ValuesIn(hwy::SupportedAndGeneratedTargets()),
                         [](const auto& info) { return std::string(hwy::TargetName(info.param)); });

} // namespace
} // namespace lumeno
