// Start-up, the menu, the two dialogs, the splash and shut-down of the real application.

#include <QDesktopServices>
#include <QDir>
#include <QPushButton>
#include <QUrl>

#include "app_fixture.h"
#include "help_dialog.h"
#include "settings/ui/trackbar.h"

namespace lumeno::test {
namespace {

// Takes the URLs the program asks the desktop to open, in place of the file manager.
class OpenedUrls final : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls << url; }
};

// Without a settings file the dialog shows the records as they stand; Properties puts it
// back at its place, refreshed; a resize keeps the engine and its device.
TEST_F(AppTest, StartsMaximisedWithItsMenuTheDialogAtItsPlaceAndARunningEngine)
{
    Start();

    EXPECT_EQ(Frame().windowTitle(), "   .:: Lumeno beta1 ::.");
    EXPECT_TRUE(Frame().isMaximized());
    // Restored, the frame keeps a place of its own on the screen, not the whole screen.
    const QRect room = Frame().screen()->availableGeometry();
    const QRect normal = Frame().normalGeometry();
    EXPECT_TRUE(room.contains(normal) && normal.top() > room.top() && normal.width() < room.width())
        << normal.x() << "," << normal.y() << " " << normal.width() << "x" << normal.height();
    CPropertiesDialog& dialog = *Frame().PropertiesDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.pos(), QPoint(30, 60));
    EXPECT_EQ(XResLabel(), "X-Res: 96");
    ASSERT_NE(g_engine, nullptr);
    EXPECT_TRUE(g_engine->IsInitialised());
    EXPECT_EQ(g_engine->CanvasWidth(), 96);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Frame().FrameTimer().isActive());
    EXPECT_EQ(Frame().FrameTimer().interval(), 10);
    QStringList items = {Frame().menuBar()->actions().size() == 1 ? Frame().menuBar()->actions()[0]->text() : "menus?"};
    for (const QAction* item : MenuItems())
        items << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(items, QStringList({"Lumeno!", "Properties...", "Help..", "Open Settings...", "Save Settings As...", "Randomise",
                                   "Undo Randomise", "Open Lumeno Folder", "-", "E&xit"}));

    dialog.move(400, 300);
    dialog.hide();
    CanvasSettingsRecord().width = 1280;
    MenuItem("Properties...")->trigger();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.pos(), QPoint(30, 60));
    EXPECT_EQ(XResLabel(), "X-Res: 1280");

    const CRenderEngine* engine = g_engine;
    const void* device = g_engine->GetDevice();
    Frame().showNormal();
    Frame().resize(500, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(g_engine, engine);
    EXPECT_EQ(g_engine->GetDevice(), device);
}

// The working folder, whichever it is, in the desktop's file manager.
TEST_F(AppTest, OpenLumenoFolderOpensTheWorkingFolder)
{
    Start();
    OpenedUrls opened;
    MenuItem("Open Lumeno Folder")->trigger();
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(std::filesystem::canonical(m_folder.Path()).string()))});
    EXPECT_TRUE(Boxes().empty());
}

// The window system shows windows in the order they are mapped; a window manager stacks
// a dialog or the splash above its owner only if the owner was there first.
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

    const auto shownAt = [&](const QWindow* w) { return std::find(order.windows.begin(), order.windows.end(), w); };
    CSplashWindow* splash = CSplashWindow::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(652, 351));
    EXPECT_EQ(LoadSplashBitmap(kSplashBitmap).format(), QImage::Format_RGB888);
    EXPECT_TRUE(LoadSplashBitmap(136).isNull()) << "an unknown bitmap number";
    EXPECT_FALSE(CSplashWindow::Show(kSplashDisplayMs, kSplashBitmap, &Frame())) << "a second splash";
    for (const QWindow* window : {Frame().PropertiesDialog()->windowHandle(), splash->windowHandle()}) {
        ASSERT_NE(window, nullptr);
        ASSERT_NE(shownAt(window), order.windows.end());
        EXPECT_LT(shownAt(FrameWindow()), shownAt(window)) << window->title().toStdString() << " showed first";
        EXPECT_EQ(window->transientParent(), FrameWindow());
    }
    splash->Hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(QGuiApplication::focusWindow(), FrameWindow());
    EXPECT_TRUE(Frame().View()->hasFocus());
}

// Exit with the splash up; then, with it up again, moves pass and only the first key or
// button closes it.
TEST_F(AppTest, ExitTakesTheSplashAndSavesNothingAndTheFirstKeyOrButtonOnlyClosesTheSplash)
{
    ASSERT_TRUE(SaveSettingsTo(kSettingsFileName, CanvasSettingsRecord(), g_particleSettings));
    const std::string before = FileBytes(kSettingsFileName);
    Start(true);
    g_particleSettings.speed = 3.0f; // a change the user did not save
    Close();
    EXPECT_EQ(App().MainFrame(), nullptr);
    EXPECT_EQ(g_engine, nullptr);
    EXPECT_EQ(CSplashWindow::Current(), nullptr);
    EXPECT_EQ(FileBytes(kSettingsFileName), before);

    Start(true);
    const float x = g_engine->GetMousePosition()[0];
    QTest::mouseMove(Surface(), QPoint(250, 200));
    EXPECT_NE(CSplashWindow::Current(), nullptr);
    EXPECT_NE(g_engine->GetMousePosition()[0], x);
    QTest::keyClick(FrameWindow(), Qt::Key_Backspace);
    EXPECT_EQ(CSplashWindow::Current(), nullptr);
    EXPECT_FALSE(g_particleSettings.debug);
    QTest::keyClick(FrameWindow(), Qt::Key_Backspace);
    EXPECT_TRUE(g_particleSettings.debug);

    Close();
    Start(true);
    QTest::mouseClick(Surface(), Qt::MiddleButton, Qt::NoModifier, QPoint(250, 200));
    EXPECT_EQ(CSplashWindow::Current(), nullptr);
    QTest::keyClick(FrameWindow(), Qt::Key_Space);
    EXPECT_TRUE(g_engine->IsPaused());
}

// An impossible canvas from the settings file: by the time the failure is reported the
// frame is up and maximised and the dialog shows the loaded values; the engine's own box
// comes first. The program then runs on without an engine until Apply builds one.
TEST_F(AppTest, AFailedBuildReportsItselfAndApplyBuildsAgain)
{
    CanvasSettingsRecord().width = 100000;
    ASSERT_TRUE(SaveSettingsTo(kSettingsFileName, CanvasSettingsRecord(), g_particleSettings));
    CanvasSettingsRecord().width = 96;
    QString atFailure;
    const MessageBoxHandler recorder = SetMessageBoxHandler([&](const MessageBoxRequest& box) {
        if (box.text == "Init Engine Failed!")
            atFailure = QStringLiteral("%1 %2 %3").arg(Frame().isMaximized()).arg(XResLabel()).arg(g_engine != nullptr);
        recorder(box);
    });
    Start();
    SetMessageBoxHandler(recorder);

    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].icon, MessageIcon::Error);
    EXPECT_EQ(Boxes()[1].text, "Init Engine Failed!");
    EXPECT_EQ(Boxes()[1].title, "Error!");
    EXPECT_EQ(Boxes()[1].icon, MessageIcon::Error);
    EXPECT_EQ(atFailure, "1 X-Res: 100000 0") << "maximised, the loaded width, no engine";
    EXPECT_EQ(g_engine, nullptr);

    for (int trackbar : {control_id::kXRes, control_id::kYRes})
        Frame().PropertiesDialog()->ControlAs<Trackbar>(trackbar)->setValue(0);
    Frame().PropertiesDialog()->ControlAs<QPushButton>(control_id::kApply)->click();
    ASSERT_NE(g_engine, nullptr);
    EXPECT_TRUE(g_engine->IsInitialised());
    EXPECT_LT(CanvasSettingsRecord().width, 100000);
}

TEST_F(AppTest, HelpShowsItsTextsWithTheWindowKeysBelowAndEnterOnlyHidesIt)
{
    Start();
    QDialog& help = *Frame().HelpDialog();
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(help.windowTitle(), "  .:: Help ::.");
    const auto label = [&](int id) { return help.findChild<QLabel*>(QStringLiteral("help%1").arg(id)); };
    EXPECT_EQ(label(kHelpKeysTextId)->text(),
              "Keyboard Shortcuts:\n"
              "   Enter:\t\tTake Screenshot( Lumeno\\Screenshots\\*.bmp )\n"
              "   Shift + Enter:\tTake HDR Screenshot\n"
              "   C:\t\tCopy To Clipboard\n"
              "   Space:\tPause on/off\n"
              "   BackSpace:\tDebug Partiles on/off\n"
              "   1..4:\t\tPredefined Colors (4 = a randomly generated color)");
    EXPECT_EQ(label(kHelpMouseTextId)->text(), "Mouse left button:\tReset Particles\nMouse right button:\tClear Screen");
    EXPECT_EQ(label(kHelpTipTextId)->text(), "Tip: For best result use float32 canvas quality.");
    EXPECT_EQ(label(kHelpWindowKeysTextId)->text(),
              "   F11:\tFullscreen on/off (Esc leaves it)\n   R:\tRecording on/off ( recordings/*.mp4 )\n"
              "   A:\tAutopilot on/off (it steers instead of the mouse)\n"
              "   M:\tListening to the sound input on/off\n"
              "   N:\tRandomise: a new look\n   Ctrl+Z:\tUndo Randomise");
    EXPECT_GE(label(kHelpWindowKeysTextId)->geometry().top(), label(kHelpTipTextId)->geometry().bottom());
    EXPECT_LE(label(kHelpWindowKeysTextId)->geometry().bottom(), help.height());
    EXPECT_EQ(label(kHelpFolderTextId)->text(), "Folder: " + QDir::currentPath());
    EXPECT_GE(label(kHelpFolderTextId)->geometry().top(), label(kHelpWindowKeysTextId)->geometry().bottom());
    EXPECT_LE(label(kHelpFolderTextId)->geometry().bottom(), help.height());

    MenuItem("Help..")->trigger();
    ASSERT_TRUE(help.isVisible());
    QTest::keyClick(help.windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(help.isVisible());
    MenuItem("Help..")->trigger();
    EXPECT_TRUE(help.isVisible());
}

} // namespace
} // namespace lumeno::test

#include "frame_test.moc"
