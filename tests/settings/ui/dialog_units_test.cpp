#include <gtest/gtest.h>

#include "settings/ui/dialog_units.h"

namespace lumeno {
namespace {

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(7, 6, 4), 11);   // 10.5
    EXPECT_EQ(MulDiv(5, 6, 4), 8);    // 7.5
    EXPECT_EQ(MulDiv(1, 5, 4), 1);    // 1.25
    EXPECT_EQ(MulDiv(-7, 6, 4), -11); // −10.5
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
}

TEST(DialogUnits, BaseWidthIsTheRoundedAverageOfTheAlphabet)
{
    EXPECT_EQ(BaseUnitsFrom(312, 13).x, 6); // exactly 6
    EXPECT_EQ(BaseUnitsFrom(337, 13).x, 6); // 6.48
    EXPECT_EQ(BaseUnitsFrom(338, 13).x, 7); // 6.5
    EXPECT_EQ(BaseUnitsFrom(338, 13).y, 13);
}

TEST(DialogUnits, RectanglesConvertEdgeByEdge)
{
    // With base units 6 × 13: the Apply button, 82, 56, 55, 33.
    const QRect apply = DialogRectToPixels({82, 56, 55, 33}, {6, 13});
    EXPECT_EQ(apply, QRect(123, 91, 83, 54)); // right 137 → 205.5 → 206, bottom 89 → 144.6 → 145
    EXPECT_EQ(DialogSizeToPixels(150, 503, {6, 13}), QSize(225, 817));
}

} // namespace
} // namespace lumeno
