// The application's boxes as Qt shows them: their owner and their width.

#include <QMessageBox>
#include <QTimer>

#include <vector>

#include "app_fixture.h"
#include "platform/message_box.h"
#include "qt_message_box.h"

namespace lumeno::test {
namespace {

// A box is wide enough for its title, however short its text, and belongs to the window
// its caller names, or to none.
TEST_F(AppTest, QtBoxesAreWideEnoughForTheirTitleAndBelongToTheWindowNamed)
{
    Start();
    const MessageBoxHandler recorder = SetMessageBoxHandler({});
    InstallQtMessageBoxes();
    struct Seen {
        QString title;
        int width = 0;
        int titleWidth = 0;
        QWidget* parent = nullptr;
    };
    const auto show = [](const char* text, const char* title, void* owner) {
        Seen seen;
        QTimer::singleShot(0, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            seen = {box->windowTitle(), box->width(), box->fontMetrics().horizontalAdvance(box->windowTitle()),
                    box->parentWidget()};
            box->accept();
        });
        ShowMessageBox(text, title, MessageIcon::Error, owner);
        return seen;
    };
    const Seen plain = show("Failed!", "Init DirectX error! and a long title besides", nullptr);
    const Seen owned = show("Your video card does not support this.", "Warning", Frame().PropertiesDialog());
    SetMessageBoxHandler(recorder);

    EXPECT_EQ(plain.title, "Init DirectX error! and a long title besides");
    EXPECT_GE(plain.width, plain.titleWidth + 160) << "room for the title and the title bar's buttons";
    EXPECT_EQ(plain.parent, nullptr);
    EXPECT_EQ(owned.title, "Warning");
    EXPECT_EQ(owned.parent, Frame().PropertiesDialog());
}

// The surface paints only through the engine: while a box is open and no engine draws,
// the view's background stands in for it, or it would keep the splash's pixels.
TEST_F(AppTest, ABoxDuringTheEngineBuildShowsTheViewBehindItAndTheSurfaceAfter)
{
    std::vector<bool> shownDuringBoxes;
    const auto record = [&](const MessageBoxRequest&) {
        App().MessageBoxShown(true);
        shownDuringBoxes.push_back(Frame().View()->SurfaceShown());
        App().MessageBoxShown(false);
    };
    CanvasSettingsRecord().particleCount = 2000000000; // the particle system's box, mid-build
    const MessageBoxHandler recorder = SetMessageBoxHandler(record);
    Start();
    EXPECT_EQ(shownDuringBoxes, std::vector<bool>{false});
    EXPECT_TRUE(Frame().View()->SurfaceShown()) << "the build went on with its surface";

    CanvasSettingsRecord().particleCount = 512;
    App().RebuildEngine();
    ShowMessageBox("A box while the engine draws", "", MessageIcon::None);
    EXPECT_EQ(shownDuringBoxes, (std::vector<bool>{false, true}));
    SetMessageBoxHandler(recorder);
}

} // namespace
} // namespace lumeno::test
