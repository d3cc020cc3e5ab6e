// The main frame's menu, its two dialogs and its surface.

#include <algorithm>
#include <vector>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app_fixture.h"
#include "engine/render_engine.h"
#include "help_dialog.h"
#include "main_view.h"
#include "settings/canvas_settings.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "splash_window.h"

namespace lumeno::test {
namespace {

QAction* MenuItem(CMainFrame& frame, const QString& text)
{
    for (QAction* item : frame.menuBar()->actions().front()->menu()->actions())
        if (item->text() == text)
            return item;
    return nullptr;
}

QString HelpText(CMainFrame& frame, int textId)
{
    return frame.HelpDialog()->findChild<QLabel*>(QStringLiteral("help%1").arg(textId))->text();
}

TEST_F(AppTest, TheMenuIsLumenoWithPropertiesHelpTheSettingsFilesAndExit)
{
    Start();

    const QList<QAction*> menus = Frame().menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->text(), "Lumeno!");
    const QList<QAction*> items = menus[0]->menu()->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[0]->text(), "Properties...");
    EXPECT_EQ(items[1]->text(), "Help..");
    EXPECT_EQ(items[2]->text(), "Open Settings...");
    EXPECT_EQ(items[3]->text(), "Save Settings As...");
    EXPECT_TRUE(items[4]->isSeparator());
    EXPECT_EQ(items[5]->text(), "E&xit");
}

TEST_F(AppTest, PropertiesPutsTheDialogBackAtItsPlaceAndRefreshesIt)
{
    Start();
    CPropertiesDialog& dialog = *Frame().PropertiesDialog();
    dialog.move(400, 300);
    dialog.hide();
    CanvasSettingsRecord().width = 1280;

    MenuItem(Frame(), "Properties...")->trigger();

    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.pos(), QPoint(30, 60));
    EXPECT_EQ(dialog.ControlAs<QLabel>(control_id::kXResLabel)->text(), "X-Res: 1280");
}

// The window system shows windows in the order they are mapped; a window manager stacks
// a dialog above its owner only if the owner was there first.
TEST_F(AppTest, TheDialogAndTheSplashShowAfterTheFrameAsItsTransientsAndLeaveItTheFocus)
{
    struct ShowOrder : QObject {
        std::vector<QObject*> windows;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show && watched->isWindowType())
                windows.push_back(watched);
            return false;
        }
    } order;
    QCoreApplication::instance()->installEventFilter(&order);
    Start(true);
    QCoreApplication::instance()->removeEventFilter(&order);

    const QWindow* dialog = Frame().PropertiesDialog()->windowHandle();
    ASSERT_NE(dialog, nullptr);
    const auto frameAt = std::find(order.windows.begin(), order.windows.end(), FrameWindow());
    const auto dialogAt = std::find(order.windows.begin(), order.windows.end(), dialog);
    ASSERT_NE(dialogAt, order.windows.end());
    EXPECT_LT(frameAt, dialogAt) << "the dialog showed before its owner";
    EXPECT_EQ(dialog->transientParent(), FrameWindow());
    EXPECT_TRUE(Frame().PropertiesDialog()->isVisible());
    EXPECT_EQ(Frame().PropertiesDialog()->pos(), QPoint(30, 60));
    // The splash too, or the maximised frame covers it at once.
    ASSERT_NE(CSplashWindow::Current(), nullptr);
    const QWindow* splash = CSplashWindow::Current()->windowHandle();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(CSplashWindow::Current()->isVisible());
    EXPECT_LT(frameAt, std::find(order.windows.begin(), order.windows.end(), splash)) << "the splash showed first";
    EXPECT_EQ(splash->transientParent(), FrameWindow());
    CSplashWindow::Current()->Hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(QGuiApplication::focusWindow(), FrameWindow());
    EXPECT_TRUE(Frame().View()->hasFocus());
}

TEST_F(AppTest, HelpShowsItsTextsAndEnterOnlyHidesIt)
{
    Start();
    QDialog& help = *Frame().HelpDialog();
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(help.windowTitle(), "  .:: Help ::.");
    EXPECT_EQ(HelpText(Frame(), kHelpKeysTextId),
              "Keyboard Shortcuts:\n"
              "   Enter:\t\tTake Screenshot( Lumeno\\Screenshots\\*.bmp )\n"
              "   Shift + Enter:\tTake HDR Screenshot\n"
              "   C:\t\tCopy To Clipboard\n"
              "   Space:\tPause on/off\n"
              "   BackSpace:\tDebug Partiles on/off\n"
              "   1..4:\t\tPredefined Colors (4 = a randomly generated color)");
    EXPECT_EQ(HelpText(Frame(), kHelpMouseTextId), "Mouse left button:\tReset Particles\nMouse right button:\tClear Screen");
    EXPECT_EQ(HelpText(Frame(), kHelpTipTextId), "Tip: For best result use float32 canvas quality.");

    MenuItem(Frame(), "Help..")->trigger();
    ASSERT_TRUE(help.isVisible());
    QTest::keyClick(help.windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(help.isVisible());

    MenuItem(Frame(), "Help..")->trigger();
    EXPECT_TRUE(help.isVisible());
}

TEST_F(AppTest, ResizingKeepsTheEngineAndItsDevice)
{
    Start();
    const CRenderEngine* engine = g_engine;
    const void* device = g_engine->GetDevice();

    Frame().showNormal();
    Frame().resize(500, 400);
    QCoreApplication::processEvents();

    EXPECT_EQ(g_engine, engine);
    EXPECT_EQ(g_engine->GetDevice(), device);
}

} // namespace
} // namespace lumeno::test
