#include <gtest/gtest.h>

#include <tuple>

#include "settings/ui/dialog_fit.h"
#include "settings/ui/dialog_units.h"

namespace lumeno {
namespace {

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero)
{
    // 10.5, 7.5, 1.25, −10.5, and a product past the int range.
    for (const auto& [number, times, over, rounded] :
         {std::tuple{7, 6, 4, 11}, {5, 6, 4, 8}, {1, 5, 4, 1}, {-7, 6, 4, -11}, {2000000000, 3, 4, 1500000000}})
        EXPECT_EQ(MulDiv(number, times, over), rounded) << number;
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

TEST(DialogFit, TheWholeWindowFitsBelowItsTopOrThePageScrolls)
{
    const QSize page(263, 817);
    const QMargins frame(1, 20, 1, 1);
    const struct {
        QRect available;
        int windowTop;
        QMargins frame;
        DialogFit expected;
    } rows[] = {
        {{0, 0, 1600, 1000}, 60, frame, {page, false}},              // 60 + 21 + 817 = 898
        {{0, 0, 1600, 898}, 60, frame, {page, false}},               // exactly
        {{0, 0, 1600, 897}, 60, frame, {{263 + 15, 816}, true}},     // a pixel short
        {{0, 0, 1366, 768}, 60, frame, {{263 + 15, 687}, true}},     // a laptop
        {{0, 0, 800, 500}, 60, frame, {{263 + 15, 419}, true}},      // 1600 x 1000 at scale 2
        {{0, 0, 800, 500}, 60, {}, {{263 + 15, 440}, true}},         // no frame
        {{0, 100, 1600, 820}, 60, frame, {{263 + 15, 799}, true}},   // a 100-pixel panel on top
        {{0, 30, 1600, 968}, 60, frame, {page, false}},              // a panel above the window
        {{0, 0, 640, 150}, 60, frame, {{263 + 15, kMinimumScrolledHeight}, true}},
    };
    for (const auto& row : rows) {
        const DialogFit fit = FitDialogToScreen(page, row.available, row.windowTop, row.frame, 15);
        EXPECT_EQ(fit.clientSize, row.expected.clientSize) << row.available.height();
        EXPECT_EQ(fit.scrolls, row.expected.scrolls) << row.available.height();
    }
}

} // namespace
} // namespace lumeno
