// Open Settings..., Save Settings As... and settings files dropped on the main window.

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app_fixture.h"
#include "settings_presets.h"

namespace lumeno::test {
namespace {

std::string RecordBytes()
{
    const std::vector<std::byte> bytes = EncodeSettings(CanvasSettingsRecord(), g_particleSettings);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The records with another canvas width and speed, written as a settings file; its full path.
QString WriteSettingsWithWidth(const char* name, int width)
{
    CanvasSettings canvas = CanvasSettingsRecord();
    canvas.width = width;
    ParticleSettings particles = g_particleSettings;
    particles.speed = 2.5f;
    EXPECT_TRUE(SaveSettingsTo(name, canvas, particles));
    return QString::fromStdString((std::filesystem::current_path() / name).string());
}

SettingsPresets::FileChooser Answer(const QString& path)
{
    return [path](QWidget*, const QString&) { return path; };
}

// A file that is not one is named in a box and changes nothing; a good one refreshes the
// dialog, then rebuilds the engine once, as start-up does.
TEST_F(AppTest, AFileThatIsNotASettingsFileIsNamedInABoxAndAGoodOneRefreshesThenRebuilds)
{
    std::ofstream("short.ar") << RecordBytes().substr(1);
    std::ofstream("long.ar") << RecordBytes() << 'x';
    std::filesystem::create_directory("folder.ar");
    const std::string dir = std::filesystem::current_path().string() + "/";
    const std::pair<const char*, const char*> cases[] = { // the name, and what the box says after the path
        {"short.ar", " is not a settings file: it holds 114 bytes, and a settings file holds exactly 115. Nothing was changed."},
        {"long.ar", " is not a settings file: it holds 116 bytes, and a settings file holds exactly 115. Nothing was changed."},
        {"folder.ar", " is a folder, not a settings file. Nothing was changed."},
        {"missing.ar", " could not be opened: there is no such file. Nothing was changed."},
    };
    std::vector<std::string> calls;
    QWidget window;
    auto* presets = new SettingsPresets(
        window, [&] { calls.push_back("refresh"); }, [&] { calls.push_back("rebuild"); },
        [] { return g_particleSettings; });
    const std::string before = RecordBytes();

    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        presets->SetChoosers(Answer(QString::fromStdString(dir + name)), {});
        presets->OpenChosen();
        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes().back().text, dir + name + message);
        EXPECT_EQ(Boxes().back().title, "Open Settings");
        EXPECT_EQ(Boxes().back().icon, MessageIcon::Warning);
        EXPECT_EQ(RecordBytes(), before);
        EXPECT_TRUE(calls.empty());
    }
    EXPECT_EQ(Boxes().size(), std::size(cases));

    EXPECT_TRUE(presets->Open(WriteSettingsWithWidth("good.ar", 128)));
    EXPECT_EQ(calls, (std::vector<std::string>{"refresh", "rebuild"}));
    EXPECT_EQ(CanvasSettingsRecord().width, 128);
}

TEST_F(AppTest, SaveSettingsAsWritesTheRecordsAtTheChosenNameAndLeavesSettingsV4Alone)
{
    ASSERT_TRUE(SaveSettingsTo(kSettingsFileName, CanvasSettingsRecord(), g_particleSettings));
    const std::string settingsV4 = FileBytes(kSettingsFileName);
    Start();
    g_particleSettings.speed = 4.0f;
    const auto saveAs = [this](const char* answer) {
        Frame().Presets().SetChoosers({}, Answer(answer));
        MenuItem("Save Settings As...")->trigger();
    };

    saveAs("mine");
    saveAs("kept.bin");
    saveAs(""); // cancelled

    EXPECT_EQ(FileBytes("mine.ar"), RecordBytes());
    EXPECT_FALSE(std::filesystem::exists("mine"));
    EXPECT_EQ(FileBytes("kept.bin"), RecordBytes());
    EXPECT_EQ(FileBytes(kSettingsFileName), settingsV4);
    EXPECT_TRUE(Boxes().empty());

    // A failure is reported in Save Settings' words, with the name as written.
    saveAs("nowhere/mine");
    EXPECT_EQ(Shown(), (std::vector<ShownBox>{{"nowhere/mine.ar could not be created because its folder does not exist.",
                                               "", MessageIcon::Warning}}));
    EXPECT_FALSE(std::filesystem::exists("nowhere"));
}

// A drag over `target` at `at`, then the drop and what it queued. True when the drag
// was accepted.
bool DragAndDrop(QObject* target, const QMimeData& data, QPointF at = {10, 10})
{
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return enter.isAccepted();
}

// Open Settings starts in presets/ and takes the file's bytes as they are. The window
// system offers drags only to a window that takes drops; over the view (and over the
// surface's container) the frame's window passes them to the frame.
TEST_F(AppTest, OpenSettingsOrOneLocalSettingsFileDroppedOnTheViewOrTheSurfaceOpensItAndOtherDragsAreRefused)
{
    std::filesystem::create_directory("presets");
    Start();
    const auto opened = [this](int width) {
        EXPECT_EQ(XResLabel(), QStringLiteral("X-Res: %1").arg(width));
        ASSERT_NE(g_engine, nullptr);
        EXPECT_TRUE(g_engine->IsInitialised());
        EXPECT_EQ(g_engine->CanvasWidth(), width);
    };
    const QString path = WriteSettingsWithWidth("preset.ar", 192);
    QString startFolder;
    Frame().Presets().SetChoosers([&](QWidget*, const QString& start) { return startFolder = start, path; }, {});
    MenuItem("Open Settings...")->trigger();
    EXPECT_EQ(startFolder.toStdString(), (std::filesystem::current_path() / "presets").string());
    EXPECT_EQ(RecordBytes(), FileBytes(path.toStdString()));
    opened(192);

    const QUrl file = QUrl::fromLocalFile(WriteSettingsWithWidth("a.ar", 160));
    QMimeData twoFiles, webAddress, plainText, overView, overSurface;
    twoFiles.setUrls({file, file});
    webAddress.setUrls({QUrl(QStringLiteral("https://example.org/a.ar"))});
    plainText.setText(file.toLocalFile());
    overView.setUrls({QUrl::fromLocalFile(WriteSettingsWithWidth("view.ar", 128))});
    overSurface.setUrls({file});
    const std::string before = RecordBytes();
    for (QObject* target : {static_cast<QObject*>(&Frame()), static_cast<QObject*>(Surface())})
        for (const QMimeData* data : {&twoFiles, &webAddress, &plainText})
            EXPECT_FALSE(DragAndDrop(target, *data)) << data->text().toStdString();
    EXPECT_EQ(RecordBytes(), before);

    EXPECT_TRUE(Frame().acceptDrops());
    const QPoint inView = Frame().View()->mapTo(&Frame(), Frame().View()->rect().center());
    ASSERT_TRUE(DragAndDrop(FrameWindow(), overView, inView));
    opened(128);
    ASSERT_TRUE(DragAndDrop(Surface(), overSurface));
    opened(160);
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
} // namespace lumeno::test
