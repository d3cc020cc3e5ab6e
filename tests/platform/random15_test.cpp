#include <gtest/gtest.h>

#include <algorithm>

#include "particles/random_unit.h"
#include "platform/random15.h"

namespace lumeno {
namespace {

TEST(Random15, StartsFromStateOneWithTheKnownSequenceAndStaysWithin15Bits)
{
    // Each test runs in a process of its own: this one sees the state the program starts with.
    EXPECT_EQ(Rand15State(), 1u);
    for (int value : {41, 18467, 6334, 26500, 19169})
        EXPECT_EQ(Rand15(), value);

    SeedRand15(0xDEADBEEF);
    std::vector<int> draws(100000);
    std::generate(draws.begin(), draws.end(), Rand15);
    EXPECT_EQ(*std::min_element(draws.begin(), draws.end()), 0);
    EXPECT_EQ(*std::max_element(draws.begin(), draws.end()), kRandMax);
}

TEST(RandomUnit, FoldsTheTopDrawToZeroAndAveragesDraws)
{
    // Find a state whose next draw is 32767, then check that it folds to 0.
    std::uint32_t state = 1, before = state;
    while (NextRand15(state) != kRandMax)
        before = state;
    SeedRand15(before);
    EXPECT_EQ(RandomUnit(1), 0.0);

    SeedRand15(1);
    EXPECT_EQ(RandomUnit(1), 41.0 / 32767);
    EXPECT_EQ(RandomUnit(2), (18467.0 / 32767 + 6334.0 / 32767) / 2);
}

} // namespace
} // namespace lumeno
