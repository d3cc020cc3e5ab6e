// The UI tests' main: a QApplication on the offscreen platform, without a display.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's colour dialog keeps custom colours in its own settings file; in test mode it
    // writes that under a test folder instead of the user's configuration.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
