// The application tests' main: the real application object on the offscreen platform.
// Each test runs its own start-up (InitInstance) and closes the frame afterwards.

#include <QStandardPaths>

#include "app_fixture.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    lumeno::CMainApp application(argc, argv);
    // Tests close frames one after another; none of them ends the run.
    application.setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
