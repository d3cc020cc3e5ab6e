#include <gtest/gtest.h>

#include "particles/random_unit.h"
#include "platform/random15.h"

namespace lumeno {
namespace {

TEST(Random15, StartsFromStateOneWithTheKnownSequence)
{
    // The first test to draw in this process sees the state the program starts with.
    EXPECT_EQ(Rand15State(), 1u);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(Rand15(), value);
}

TEST(Random15, ValuesStayWithin15Bits)
{
    SeedRand15(0xDEADBEEF);
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = Rand15();
        ASSERT_GE(value, 0);
        highest = std::max(highest, value);
    }
    EXPECT_EQ(highest, kRandMax);
}

TEST(RandomUnit, FoldsTheTopDrawToZeroAndAveragesDraws)
{
    // Find a state whose next draw is 32767, then check that it folds to 0.
    std::uint32_t state = 1;
    std::uint32_t before = state;
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
