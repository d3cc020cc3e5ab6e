#include <gtest/gtest.h>

#include "settings/ui/dialog_fit.h"

namespace lumeno {
namespace {

TEST(DialogFit, TheWholeWindowFitsBelowItsTopOrThePageScrolls)
{
    const QSize page(263, 817);
    const QMargins frame(1, 20, 1, 1);
    struct Row {
        QRect available;
        int windowTop;
        QMargins frame;
        DialogFit expected;
    };
    const Row rows[] = {
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
    for (const Row& row : rows) {
        const DialogFit fit = FitDialogToScreen(page, row.available, row.windowTop, row.frame, 15);
        EXPECT_EQ(fit.clientSize, row.expected.clientSize) << row.available.height();
        EXPECT_EQ(fit.scrolls, row.expected.scrolls) << row.available.height();
    }
}

} // namespace
} // namespace lumeno
