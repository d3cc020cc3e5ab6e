#include <gtest/gtest.h>

#include "particles/random_unit.h"
#include "platform/random15.h"

namespace lumeno {
namespace {

TEST(Random15, StartsFromStateOneWithTheKnownSequenceAndStaysWithin15Bits)
{
    // The first test to draw in this process sees the state the program starts with.
    EXPECT_EQ(Rand15State(), 1u);
    for (int value : {41, 18467, 6334, 26500, 19169})
        EXPECT_EQ(Rand15(), value);

    SeedRand15(0xDEADBEEF);
    int lowest = kRandMax, highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = Rand15();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, kRandMax);
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
    EXPECT_EQ(RandomUnit(2), (41.0 / 32767 + 18467.0 / 32767) / 2);
    SeedRand15(1);
    EXPECT_EQ(RandomUnit(1), 41.0 / 32767);
}

} // namespace
} // namespace lumeno
