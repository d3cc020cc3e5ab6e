// The keys and the pointer, sent where the platform sends them: to a window.

#include <regex>

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QProcess>

#include "app_fixture.h"
#include "engine_lifetime.h"
#include "particles/attractor.h"
#include "support/fake_ffmpeg.h"

namespace lumeno::test {
namespace {

TEST_F(AppTest, KeysActFromTheFrameAndItsDialogButNotFromHelpAndWithAltOnlyTheEnginesAct)
{
    Start();
    const auto debugBox = [this] { return Frame().PropertiesDialog()->ControlAs<QCheckBox>(control_id::kDebug)->isChecked(); };
    for (Qt::Key key : {Qt::Key_1, Qt::Key_Backspace, Qt::Key_Space})
        QTest::keyClick(FrameWindow(), key, Qt::AltModifier);
    EXPECT_EQ(g_particleSettings.colorIndex, 3) << "the defaults' colour";
    EXPECT_FALSE(g_particleSettings.debug);
    EXPECT_TRUE(g_engine->IsPaused());
    Frame().ShowHelp();
    for (Qt::Key key : {Qt::Key_1, Qt::Key_Space})
        QTest::keyClick(Frame().HelpDialog()->windowHandle(), key);
    EXPECT_EQ(g_particleSettings.colorIndex, 3);
    EXPECT_TRUE(g_engine->IsPaused());
    QTest::keyClick(Frame().PropertiesDialog()->windowHandle(), Qt::Key_3);
    EXPECT_EQ(g_particleSettings.colorIndex, 2);

    for (bool on : {true, false}) {
        QTest::keyClick(FrameWindow(), Qt::Key_Backspace);
        EXPECT_EQ(g_particleSettings.debug, on);
        EXPECT_EQ(debugBox(), on);
    }
}

TEST_F(AppTest, DigitsChooseTheColourEnterSavesAScreenshotAndCCopiesTheCanvasWhileThereIsOne)
{
    Start();
    const auto radio = [this](int i) { return Frame().PropertiesDialog()->ControlAs<QAbstractButton>(control_id::kColorRadio1 + i)->isChecked(); };
    for (int index = 0; index < 4; ++index) {
        QTest::keyClick(FrameWindow(), Qt::Key(Qt::Key_1 + index));
        EXPECT_EQ(g_particleSettings.colorIndex, index);
        EXPECT_TRUE(radio(index));
    }
    std::filesystem::create_directory("screenshots");
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(FrameWindow(), Qt::Key_Return);
    QTest::keyClick(FrameWindow(), Qt::Key_C);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("screenshots"), {}), 1);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(96, 64));

    DestroyEngine(); // digits still choose; C leaves the clipboard alone
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(FrameWindow(), Qt::Key_2);
    QTest::keyClick(FrameWindow(), Qt::Key_C);
    EXPECT_EQ(g_particleSettings.colorIndex, 1);
    EXPECT_TRUE(radio(1));
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

// The client point (200, 30) of 320 x 240 on the 96 x 64 canvas (aspect 64/96, scale 1):
// x = (200 - 160) / (64/96) + 48 = 108, y = 30 - 120 + 32 = -58; in simulation space
// 2 * 108 / 96 - 1 = 1.25 and -(2 * -58 / 64 - 1) = 2.8125, where the attractor settles.
TEST_F(AppTest, PointerMovesOverTheSurfaceMoveTheAttractor)
{
    Start();
    QTest::mouseMove(Surface(), QPoint(200, 30));
    for (int step = 0; step < 12; ++step)
        g_engine->Render();
    EXPECT_NEAR(SimulationAttractor().x, 1.25f, 1e-4f);
    EXPECT_NEAR(SimulationAttractor().y, 2.8125f, 1e-4f);
}

// The same client point as above: (200, 30) is the canvas point (108, -58).
TEST_F(AppTest, AHandsThePointerToTheAutopilotAndTakesItBackWithTheCaptionSayingSo)
{
    Start();
    const auto pointer = [] { return QPointF(g_engine->GetMousePosition()[0], g_engine->GetMousePosition()[1]); };
    QTest::keyClick(FrameWindow(), Qt::Key_A);
    EXPECT_TRUE(Frame().IsAutopilotOn());
    EXPECT_EQ(Frame().windowTitle(), QString("   .:: Lumeno beta1 ::. - autopilot"));
    QTest::mouseMove(Surface(), QPoint(200, 30));
    EXPECT_NE(pointer(), QPointF(108, -58)) << "the mouse does not steer";
    // The frame timer steers: the pointer travels the path, inside the 96 x 64 canvas.
    QTest::qWait(60);
    const QPointF first = pointer();
    QTest::qWait(200);
    const QPointF later = pointer();
    EXPECT_NE(first, later);
    for (const QPointF& p : {first, later})
        EXPECT_TRUE(QRectF(0, 0, 96, 64).contains(p)) << p.x() << ", " << p.y();

    QTest::keyClick(FrameWindow(), Qt::Key_A);
    EXPECT_FALSE(Frame().IsAutopilotOn());
    EXPECT_EQ(Frame().windowTitle(), QString("   .:: Lumeno beta1 ::."));
    QTest::mouseMove(Surface(), QPoint(210, 40));
    EXPECT_EQ(pointer(), QPointF(123, -48)) << "the mouse steers again";
}

TEST_F(AppTest, F11GoesFullscreenWithoutTheMenuAndEscapeAtTheFrameComesBack)
{
    Start();
    QTest::keyClick(FrameWindow(), Qt::Key_F11);
    EXPECT_TRUE(Frame().isFullScreen());
    EXPECT_FALSE(Frame().menuBar()->isVisible());
    ASSERT_NE(Frame().PropertiesDialog()->focusWidget(), nullptr);
    QTest::keyClick(Frame().PropertiesDialog()->focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(Frame().PropertiesDialog()->isVisible());
    EXPECT_TRUE(Frame().isFullScreen()) << "Escape in the dialog only hides it";

    QTest::keyClick(FrameWindow(), Qt::Key_Escape);
    EXPECT_TRUE(Frame().isMaximized());
    EXPECT_TRUE(Frame().menuBar()->isVisible());
    QTest::keyClick(FrameWindow(), Qt::Key_Escape);
    EXPECT_FALSE(Frame().isFullScreen()) << "Escape outside fullscreen changes nothing";
    QTest::keyClick(FrameWindow(), Qt::Key_F11);
    QTest::keyClick(FrameWindow(), Qt::Key_F11);
    EXPECT_FALSE(Frame().isFullScreen());
}

// A steady 17 ms a frame shows 1000 / 17 = 58.8 frames a second: the film plays at 59.
TEST_F(AppTest, RRecordsTheShownFramesIntoAFilmAtTheShownRateAndSaysHowManyItHolds)
{
    Start();
    g_engine->SetClock([now = std::uint32_t{0}]() mutable { return now += 17; });
    for (int frame = 0; frame < 12; ++frame)
        g_engine->Render();
    const QString title = Frame().windowTitle();

    QTest::keyClick(FrameWindow(), Qt::Key_R);
    EXPECT_EQ(Frame().windowTitle(), title + " - recording");
    QTest::qWait(300); // frames come from the frame timer
    QTest::keyClick(FrameWindow(), Qt::Key_R);

    EXPECT_FALSE(Frame().IsRecording());
    EXPECT_EQ(Frame().windowTitle(), title);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, "Recording");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(Boxes()[0].text, match,
                                 std::regex(R"(Recorded (recordings/\d{6}-\d{6}\.mp4): ([1-9]\d*) frames written, \d+ dropped\.)")))
        << Boxes()[0].text;
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                              "stream=width,height,r_frame_rate,nb_read_frames", "-of", "csv=p=0",
                              QString::fromStdString(match[1].str())});
    ASSERT_TRUE(ffprobe.waitForFinished(60000));
    EXPECT_EQ(ffprobe.readAllStandardOutput().toStdString(), "96,64,59/1," + match[2].str() + "\n");
}

// A rebuild ends the film of the engine before, whatever address the new engine takes.
TEST_F(AppTest, ARebuiltEngineEndsTheFilmOfTheEngineBefore)
{
    Start();
    const QString title = Frame().windowTitle();
    QTest::keyClick(FrameWindow(), Qt::Key_R);
    ASSERT_TRUE(Frame().IsRecording());
    App().RebuildEngine();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !Frame().IsRecording(); }, 5000)) << "still filming the engine before";
    EXPECT_EQ(Frame().windowTitle(), title);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, "Recording");
}

// A film that cannot start (a file where its folder goes), and one whose ffmpeg fails.
TEST_F(AppTest, ARecordingThatFailsSaysSoInABoxAndLeavesTheCaptionAndNoFilm)
{
    Start();
    const QString title = Frame().windowTitle();
    const auto boxSays = [&](const std::string& after) {
        const std::regex said(R"(The film recordings/\d{6}-\d{6}\.mp4 was not written: )" + after);
        EXPECT_TRUE(std::regex_match(Boxes().back().text, said)) << Boxes().back().text;
        EXPECT_EQ(Boxes().back().icon, MessageIcon::Error);
        EXPECT_FALSE(Frame().IsRecording());
        EXPECT_EQ(Frame().windowTitle(), title);
    };
    std::ofstream("recordings") << "a file where the folder should be";
    QTest::keyClick(FrameWindow(), Qt::Key_R);
    ASSERT_EQ(Boxes().size(), 1u);
    boxSays(R"(cannot make the folder recordings: .+\.)");

    std::filesystem::remove("recordings");
    bool told = false;
    {
        const FakeFfmpegOnPath ffmpeg("exit 3");
        QTest::keyClick(FrameWindow(), Qt::Key_R);
        told = QTest::qWaitFor([this] { return Boxes().size() == 2; }, 20000);
    }
    ASSERT_TRUE(told) << "no box after ffmpeg ended";
    boxSays(R"(ffmpeg (.|\n)*exit status 3(.|\n)*)");
    EXPECT_TRUE(std::filesystem::is_empty("recordings")) << "no film and no temporary";
}

} // namespace
} // namespace lumeno::test
