// The splash at start-up: its picture, and the first key or button it swallows.

#include <QImage>
#include <QTest>

#include "app_fixture.h"
#include "engine/render_engine.h"
#include "settings/particle_settings.h"
#include "splash_window.h"

namespace lumeno::test {
namespace {

TEST(SplashBitmap, IsTheTitlePictureAt24BitsAndNothingForAnUnknownNumber)
{
    const QImage bitmap = LoadSplashBitmap(kSplashBitmap);
    EXPECT_EQ(bitmap.size(), QSize(652, 351));
    EXPECT_EQ(bitmap.format(), QImage::Format_RGB888);
    EXPECT_TRUE(LoadSplashBitmap(136).isNull());
}

TEST_F(AppTest, TheSplashShowsOnceAtStartUpAtThePicturesSize)
{
    Start(true);

    ASSERT_NE(CSplashWindow::Current(), nullptr);
    EXPECT_TRUE(CSplashWindow::Current()->isVisible());
    EXPECT_EQ(CSplashWindow::Current()->size(), QSize(652, 351));
    EXPECT_FALSE(CSplashWindow::Show(kSplashDisplayMs, kSplashBitmap, &Frame()));
}

TEST_F(AppTest, TheFirstKeyOnlyClosesTheSplash)
{
    Start(true);

    QTest::keyClick(FrameWindow(), Qt::Key_Backspace);
    EXPECT_EQ(CSplashWindow::Current(), nullptr);
    EXPECT_FALSE(g_particleSettings.debug);

    QTest::keyClick(FrameWindow(), Qt::Key_Backspace);
    EXPECT_TRUE(g_particleSettings.debug);
}

TEST_F(AppTest, TheFirstButtonOnlyClosesTheSplashAndMovesStillPass)
{
    Start(true);
    float before[2] = {g_engine->GetMousePosition()[0], g_engine->GetMousePosition()[1]};

    QTest::mouseMove(Surface(), QPoint(250, 200));
    EXPECT_NE(CSplashWindow::Current(), nullptr);
    EXPECT_NE(g_engine->GetMousePosition()[0], before[0]);

    QTest::mousePress(Surface(), Qt::MiddleButton, Qt::NoModifier, QPoint(250, 200));
    QTest::mouseRelease(Surface(), Qt::MiddleButton, Qt::NoModifier, QPoint(250, 200));
    EXPECT_EQ(CSplashWindow::Current(), nullptr);

    QTest::keyClick(FrameWindow(), Qt::Key_Space);
    EXPECT_TRUE(g_engine->IsPaused());
}

TEST_F(AppTest, ClosingTheFrameTakesTheSplashWithIt)
{
    Start(true);

    Close();

    EXPECT_EQ(CSplashWindow::Current(), nullptr);
}

} // namespace
} // namespace lumeno::test
