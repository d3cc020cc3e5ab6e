// The window's own keys on the real frame: F11 fullscreen and Escape, R and its film.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <regex>

#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include "app_fixture.h"
#include "help_dialog.h"
#include "settings/ui/properties_dialog.h"

namespace lumeno::test {
namespace {

TEST_F(AppTest, F11GoesFullscreenWithoutTheMenuAndEscapeAtTheFrameComesBack)
{
    Start();
    ASSERT_TRUE(Frame().isMaximized());

    QTest::keyClick(FrameWindow(), Qt::Key_F11);
    EXPECT_TRUE(Frame().isFullScreen());
    EXPECT_FALSE(Frame().menuBar()->isVisible());
    // Escape in the properties dialog only hides the dialog.
    QWidget* control = Frame().PropertiesDialog()->focusWidget();
    ASSERT_NE(control, nullptr);
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_FALSE(Frame().PropertiesDialog()->isVisible());
    EXPECT_TRUE(Frame().isFullScreen());

    QTest::keyClick(FrameWindow(), Qt::Key_Escape);
    EXPECT_FALSE(Frame().isFullScreen());
    EXPECT_TRUE(Frame().isMaximized());
    EXPECT_TRUE(Frame().menuBar()->isVisible());
    QTest::keyClick(FrameWindow(), Qt::Key_Escape);
    EXPECT_FALSE(Frame().isFullScreen()) << "Escape outside fullscreen changes nothing";

    QTest::keyClick(FrameWindow(), Qt::Key_F11);
    QTest::keyClick(FrameWindow(), Qt::Key_F11);
    EXPECT_FALSE(Frame().isFullScreen());
    EXPECT_TRUE(Frame().menuBar()->isVisible());
}

int ProbedFrames(const std::string& path)
{
    const std::string command = "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                                "stream=width,height,nb_read_frames -of csv=p=0 '" + path + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    int width = 0, height = 0, frames = -1;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%d,%d,%d", &width, &height, &frames) != 3)
            frames = -1;
        ::pclose(pipe);
    }
    return width == 96 && height == 64 ? frames : -2; // the test's canvas
}

TEST_F(AppTest, RRecordsTheShownFramesIntoAFilmAndSaysHowManyItHolds)
{
    Start();
    const QString title = Frame().windowTitle();

    QTest::keyClick(FrameWindow(), Qt::Key_R);
    ASSERT_TRUE(Frame().IsRecording());
    EXPECT_EQ(Frame().windowTitle(), title + " - recording");
    QTest::qWait(300); // frames come from the frame timer
    QTest::keyClick(FrameWindow(), Qt::Key_R);

    EXPECT_FALSE(Frame().IsRecording());
    EXPECT_EQ(Frame().windowTitle(), title);
    ASSERT_EQ(m_boxes->Boxes().size(), 1u);
    const MessageBoxRequest& box = m_boxes->Boxes()[0];
    EXPECT_EQ(box.title, "Recording");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(box.text, match,
                                 std::regex(R"(Recorded (recordings/\d{6}-\d{6}\.mp4): (\d+) frames written, (\d+) dropped\.)")))
        << box.text;
    EXPECT_GT(std::stoi(match[2]), 0);
    EXPECT_EQ(ProbedFrames(match[1]), std::stoi(match[2]));
}

TEST_F(AppTest, ARecordingThatCannotStartSaysSoAndLeavesTheCaption)
{
    Start();
    std::ofstream("recordings") << "a file where the folder should be";
    const QString title = Frame().windowTitle();

    QTest::keyClick(FrameWindow(), Qt::Key_R);

    EXPECT_FALSE(Frame().IsRecording());
    EXPECT_EQ(Frame().windowTitle(), title);
    ASSERT_EQ(m_boxes->Boxes().size(), 1u);
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MessageIcon::Error);
    EXPECT_TRUE(std::regex_match(m_boxes->Boxes()[0].text,
                                 std::regex(R"(The film recordings/\d{6}-\d{6}\.mp4 was not written: cannot make the folder recordings: .+\.)")))
        << m_boxes->Boxes()[0].text;
}

TEST_F(AppTest, AnFfmpegThatFailsWhileRecordingEndsTheFilmWithABoxAndLeavesNoFilm)
{
    Start();
    const QString title = Frame().windowTitle();
    const TempFolder bin;
    std::ofstream(bin.File("ffmpeg")) << "#!/bin/sh\nexit 3\n";
    std::filesystem::permissions(bin.File("ffmpeg"), std::filesystem::perms::owner_all);
    const std::string previousPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin.Path().string() + ":" + previousPath).c_str(), 1);

    QTest::keyClick(FrameWindow(), Qt::Key_R);
    const bool told = QTest::qWaitFor([this] { return !m_boxes->Boxes().empty(); }, 20000);
    ::setenv("PATH", previousPath.c_str(), 1);

    ASSERT_TRUE(told) << "no box after ffmpeg ended";
    EXPECT_FALSE(Frame().IsRecording());
    EXPECT_EQ(Frame().windowTitle(), title);
    const MessageBoxRequest& box = m_boxes->Boxes()[0];
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_TRUE(std::regex_match(box.text, std::regex(R"(The film recordings/\d{6}-\d{6}\.mp4 was not written: ffmpeg (.|\n)*exit status 3(.|\n)*)")))
        << box.text;
    EXPECT_TRUE(std::filesystem::is_empty("recordings")) << "no film and no temporary";
}

TEST_F(AppTest, HelpListsTheWindowKeysBelowTheOthers)
{
    Start();
    const auto* text = Frame().HelpDialog()->findChild<QLabel*>(QStringLiteral("help%1").arg(kHelpWindowKeysTextId));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "   F11:\tFullscreen on/off (Esc leaves it)\n   R:\tRecording on/off ( recordings/*.mp4 )");
    const auto* tip = Frame().HelpDialog()->findChild<QLabel*>(QStringLiteral("help%1").arg(kHelpTipTextId));
    EXPECT_GE(text->geometry().top(), tip->geometry().bottom());
    EXPECT_LE(text->geometry().bottom(), Frame().HelpDialog()->height());
}

} // namespace
} // namespace lumeno::test
