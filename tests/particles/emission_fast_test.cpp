#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "particles/emission.h"
#include "particles/emission_fast.h"
#include "platform/random15.h"
#include "platform/threads.h"
#include "support/message_box_recorder.h"

namespace lumeno {
namespace {

// Emits with both from the same generator state; the records and the state after must agree.
void ExpectSameEmission(int count, const EmissionParams& params, std::uint32_t seed, const std::string& what)
{
    std::vector<Particle> reference(static_cast<std::size_t>(count) + 1), fast(reference.size());
    reference.back().current.x = fast.back().current.x = 42.0f; // one record past the end

    SeedRand15(seed);
    EmitReference(reference.data(), count, params);
    const std::uint32_t referenceState = Rand15State();
    SeedRand15(seed);
    EmitFast(fast.data(), count, params);

    EXPECT_EQ(Rand15State(), referenceState) << what << ": the generator must end where the reference leaves it";
    for (std::size_t i = 0; i < reference.size(); ++i)
        if (std::memcmp(&reference[i], &fast[i], sizeof(Particle)) != 0) {
            ADD_FAILURE() << what << ": particle " << i << " differs";
            return;
        }
}

EmissionParams Params(int method, int particleCount, float radius, float power, float scattering)
{
    return EmissionParams{700.0f, 200.0f, 1024, 768, method, particleCount, radius, power, scattering};
}

// Counts on both sides of the thread and table thresholds, odd and even.
const int kCounts[] = {0, 1, 9, 2047, 2048, 2049, 20001, 32767, 32768, 70001};

TEST(EmissionFast, EveryPatternMatchesTheReferenceAndLeavesTheSameGeneratorState)
{
    for (int method : {0, 1, 2, 7})
        for (int count : kCounts)
            ExpectSameEmission(count, Params(method, count, 0.6f, 0.01f, 0.004f), 1u + static_cast<std::uint32_t>(count),
                               "method " + std::to_string(method) + " count " + std::to_string(count));
}

TEST(EmissionFast, RandomCirclesMoveTheirCentreAsOftenAsTheCountSays)
{
    // particleCount below 10 moves the centre on every draw; 30 on one draw in three;
    // a count far above the array's keeps the first centre for long runs.
    for (int particleCount : {1, 9, 30, 200, 3375000})
        for (int count : {2049, 40001})
            ExpectSameEmission(count, Params(2, particleCount, 0.3f, 0.5f, 0.01f), 12345u,
                               "particleCount " + std::to_string(particleCount) + " count " + std::to_string(count));
}

TEST(EmissionFast, SettingsAcrossTheirRangesAndBeyond)
{
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float radius, power, scattering;
    };
    const Case cases[] = {{0.6f, 0.0f, 0.0f},  {0.0f, 0.01f, 0.5f}, {1.0f, 0.5f, 0.1f},  {0.25f, 3.0f, 0.004f},
                          {0.6f, -1.0f, 0.0f}, {0.6f, 40.0f, 1.0f}, {2e38f, 0.5f, 3e38f}, {0.6f, inf, 0.0f},
                          {0.6f, -inf, 0.01f}};
    for (int method : {0, 1, 2})
        for (const Case& c : cases)
            for (int count : {4097, 50001})
                ExpectSameEmission(count, Params(method, count, c.radius, c.power, c.scattering), 777u,
                                   "method " + std::to_string(method) + " R " + std::to_string(c.radius) + " p " +
                                       std::to_string(c.power) + " S " + std::to_string(c.scattering));
}

TEST(EmissionFast, AnyGeneratorStateIncludingOneAboutToWrap)
{
    for (std::uint32_t seed : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0xDEADBEEFu})
        for (int method : {0, 2})
            ExpectSameEmission(33333, Params(method, 33333, 0.6f, 0.01f, 0.004f), seed,
                               "seed " + std::to_string(seed) + " method " + std::to_string(method));
}

TEST(EmissionFast, ThreadsThatCannotStartLeaveTheWorkToTheCallingThread)
{
    // 20001 particles start one thread (the halves), 70001 two (the tables, then the
    // halves); every start that fails is the calling thread's work, with the same result.
    struct Case {
        int count, failures;
    };
    const Case cases[] = {{20001, 1}, {70001, 1}, {70001, 2}};
    test::MessageBoxRecorder boxes;
    for (const Case& c : cases) {
        const std::string what = "count " + std::to_string(c.count) + ", " + std::to_string(c.failures) + " failed";
        FailNextThreadStartsForTesting(c.failures);
        for (int method : {0, 2})
            ExpectSameEmission(c.count, Params(method, c.count, 0.6f, 0.01f, 0.004f), 99u,
                               what + ", method " + std::to_string(method));
        // The emission's first call took the injected failures: the next start succeeds.
        std::thread probe = StartThread([] {});
        EXPECT_TRUE(probe.joinable()) << what << ": the emission did not start its threads through StartThread";
        if (probe.joinable())
            probe.join();
        FailNextThreadStartsForTesting(0);
    }
    EXPECT_TRUE(boxes.Boxes().empty()) << "a slower emission is not a failure to report";
}

TEST(EmissionFast, ConsecutiveEmissionsContinueTheSequence)
{
    constexpr int n = 40000;
    std::vector<Particle> reference(n), fast(n);
    SeedRand15(5);
    for (int click = 0; click < 3; ++click)
        EmitReference(reference.data(), n, Params(click, n, 0.6f, 0.01f, 0.004f));
    SeedRand15(5);
    for (int click = 0; click < 3; ++click)
        EmitFast(fast.data(), n, Params(click, n, 0.6f, 0.01f, 0.004f));
    EXPECT_EQ(std::memcmp(reference.data(), fast.data(), sizeof(Particle) * n), 0);
}

} // namespace
} // namespace lumeno
