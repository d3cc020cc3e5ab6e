// Start-up, a failed engine build and shut-down of the real application object.

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <QLabel>
#include <QPushButton>

#include "app_fixture.h"
#include "engine/render_engine.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "settings/ui/trackbar.h"

namespace lumeno::test {
namespace {

namespace id = control_id;

std::string FileBytes(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

QString Label(CMainFrame& frame, int labelId)
{
    return frame.PropertiesDialog()->ControlAs<QLabel>(labelId)->text();
}

TEST_F(AppTest, StartsMaximisedWithTheDialogAtItsPlaceAndARunningEngine)
{
    Start();

    EXPECT_EQ(Frame().windowTitle(), "   .:: Lumeno beta1 ::.");
    EXPECT_TRUE(Frame().isMaximized());
    EXPECT_TRUE(Frame().PropertiesDialog()->isVisible());
    EXPECT_EQ(Frame().PropertiesDialog()->pos(), QPoint(30, 60));
    ASSERT_NE(g_engine, nullptr);
    EXPECT_TRUE(g_engine->IsInitialised());
    EXPECT_TRUE(m_boxes->Boxes().empty());
    EXPECT_TRUE(Frame().FrameTimer().isActive());
    EXPECT_EQ(Frame().FrameTimer().interval(), 10);
}

TEST_F(AppTest, WithoutASettingsFileTheDialogShowsTheRecordsAsTheyStand)
{
    Start();

    EXPECT_EQ(Label(Frame(), id::kXResLabel), "X-Res: 96");
    EXPECT_EQ(g_engine->CanvasWidth(), 96);
}

// An impossible canvas from the settings file: by the time the failure is reported the
// frame is up and maximised and the dialog shows the loaded values; the engine's own box
// comes first. The program then runs on without an engine until Apply builds one.
TEST_F(AppTest, AFailedBuildReportsItselfAndApplyBuildsAgain)
{
    CanvasSettingsRecord().width = 100000;
    WriteSettingsFile();
    CanvasSettingsRecord().width = 96;

    struct Snapshot {
        bool maximised = false;
        QString widthLabel;
        bool engine = true;
    } atFailure;
    std::vector<MessageBoxRequest> boxes;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest& box) {
        boxes.push_back(box);
        if (box.text == "Init Engine Failed!")
            atFailure = {Frame().isMaximized(), Label(Frame(), id::kXResLabel), g_engine != nullptr};
    });
    Start();
    SetMessageBoxHandler(previous);

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes[1].text, "Init Engine Failed!");
    EXPECT_EQ(boxes[1].title, "Error!");
    EXPECT_EQ(boxes[1].icon, MessageIcon::Error);
    EXPECT_TRUE(atFailure.maximised);
    EXPECT_EQ(atFailure.widthLabel, "X-Res: 100000");
    EXPECT_FALSE(atFailure.engine);
    EXPECT_EQ(g_engine, nullptr);

    // A sane canvas and Apply bring the picture back.
    CPropertiesDialog& dialog = *Frame().PropertiesDialog();
    dialog.ControlAs<Trackbar>(id::kXRes)->setValue(0);
    dialog.ControlAs<Trackbar>(id::kYRes)->setValue(0);
    dialog.ControlAs<QPushButton>(id::kApply)->click();
    ASSERT_NE(g_engine, nullptr);
    EXPECT_TRUE(g_engine->IsInitialised());
    EXPECT_LT(CanvasSettingsRecord().width, 100000);
}

TEST_F(AppTest, ExitShutsTheEngineDownAndSavesNothing)
{
    WriteSettingsFile();
    const std::string before = FileBytes(kSettingsFileName);
    Start();
    g_particleSettings.speed = 3.0f; // a change the user did not save

    Close();

    EXPECT_EQ(App().MainFrame(), nullptr);
    EXPECT_EQ(g_engine, nullptr);
    EXPECT_EQ(FileBytes(kSettingsFileName), before);
}

} // namespace
} // namespace lumeno::test
