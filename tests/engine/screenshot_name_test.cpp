#include <gtest/gtest.h>

#include "engine/screenshot_name.h"
#include "platform/date_text.h"

namespace lumeno {
namespace {

TEST(ScreenshotName, DateRunsIntoTheSignedTickCount)
{
    EXPECT_EQ(ScreenshotName("261207", 123456, false), "screenshots/261207123456.bmp");
    EXPECT_EQ(ScreenshotName("261207", 7, true), "screenshots/2612077.hdr");
    EXPECT_EQ(ScreenshotName("261207", 0x80000000u, false), "screenshots/261207-2147483648.bmp");
}

TEST(ScreenshotName, DateIsSixDigits)
{
    const std::string date = DateTextYYMMDD();
    ASSERT_EQ(date.size(), 6u);
    EXPECT_EQ(date.find_first_not_of("0123456789"), std::string::npos);
}

} // namespace
} // namespace lumeno
