// The keys and the pointer, sent where the platform sends them: to a window.

#include <filesystem>

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include "app_fixture.h"
#include "engine/render_engine.h"
#include "engine_lifetime.h"
#include "settings/particle_settings.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"

namespace lumeno::test {
namespace {

namespace id = control_id;

bool DebugBoxChecked(CMainFrame& frame)
{
    return frame.PropertiesDialog()->ControlAs<QCheckBox>(id::kDebug)->isChecked();
}

bool ColorRadioChecked(CMainFrame& frame, int index)
{
    return frame.PropertiesDialog()->ControlAs<QAbstractButton>(id::kColorRadio1 + index)->isChecked();
}

TEST_F(AppTest, BackSpaceTogglesDebugThroughTheDialog)
{
    Start();

    QTest::keyClick(FrameWindow(), Qt::Key_Backspace);
    EXPECT_TRUE(g_particleSettings.debug);
    EXPECT_TRUE(DebugBoxChecked(Frame()));

    QTest::keyClick(FrameWindow(), Qt::Key_Backspace);
    EXPECT_FALSE(g_particleSettings.debug);
    EXPECT_FALSE(DebugBoxChecked(Frame()));
}

TEST_F(AppTest, DigitsChooseTheColourWithAndWithoutAnEngine)
{
    Start();
    const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    for (int index = 0; index < 4; ++index) {
        QTest::keyClick(FrameWindow(), digits[index]);
        EXPECT_EQ(g_particleSettings.colorIndex, index);
        EXPECT_TRUE(ColorRadioChecked(Frame(), index));
    }

    DestroyEngine();
    QTest::keyClick(FrameWindow(), Qt::Key_2);
    EXPECT_EQ(g_particleSettings.colorIndex, 1);
    EXPECT_TRUE(ColorRadioChecked(Frame(), 1));
}

TEST_F(AppTest, WithAltHeldOnlyTheEngineKeysAct)
{
    Start();
    const int colorIndex = g_particleSettings.colorIndex;

    QTest::keyClick(FrameWindow(), Qt::Key_1, Qt::AltModifier);
    QTest::keyClick(FrameWindow(), Qt::Key_Backspace, Qt::AltModifier);
    QTest::keyClick(FrameWindow(), Qt::Key_Space, Qt::AltModifier);

    EXPECT_EQ(g_particleSettings.colorIndex, colorIndex);
    EXPECT_FALSE(g_particleSettings.debug);
    EXPECT_TRUE(g_engine->IsPaused());
}

TEST_F(AppTest, KeysActFromThePropertiesDialogButNotFromHelp)
{
    Start();
    QTest::keyClick(Frame().PropertiesDialog()->windowHandle(), Qt::Key_3);
    EXPECT_EQ(g_particleSettings.colorIndex, 2);

    Frame().ShowHelp();
    QTest::keyClick(Frame().HelpDialog()->windowHandle(), Qt::Key_1);
    QTest::keyClick(Frame().HelpDialog()->windowHandle(), Qt::Key_Space);
    EXPECT_EQ(g_particleSettings.colorIndex, 2);
    EXPECT_FALSE(g_engine->IsPaused());
}

TEST_F(AppTest, EnterSavesAScreenshotAndCCopiesTheCanvas)
{
    Start();
    std::filesystem::create_directory("screenshots");
    QGuiApplication::clipboard()->clear();

    QTest::keyClick(FrameWindow(), Qt::Key_Return);
    QTest::keyClick(FrameWindow(), Qt::Key_C);

    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("screenshots"), {}), 1);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(96, 64));
}

TEST_F(AppTest, CWithoutAnEngineLeavesTheClipboardAlone)
{
    Start();
    DestroyEngine();
    QGuiApplication::clipboard()->clear();

    QTest::keyClick(FrameWindow(), Qt::Key_C);

    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

TEST_F(AppTest, PointerMovesOverTheSurfaceMoveTheAttractor)
{
    Start();
    float expected[2];
    g_engine->ClientToCanvas(200.0f, 30.0f, &expected[0], &expected[1]);

    QTest::mouseMove(Surface(), QPoint(200, 30));

    EXPECT_FLOAT_EQ(g_engine->GetMousePosition()[0], expected[0]);
    EXPECT_FLOAT_EQ(g_engine->GetMousePosition()[1], expected[1]);
}

} // namespace
} // namespace lumeno::test
