// Open Settings..., Save Settings As... and settings files dropped on the main window.

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "app_fixture.h"
#include "engine/render_engine.h"
#include "main_view.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "settings_presets.h"

namespace lumeno::test {
namespace {

std::vector<std::byte> FileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> chars{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::byte> bytes(chars.size());
    std::memcpy(bytes.data(), chars.data(), chars.size());
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<std::byte>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::byte> RecordBytes() { return EncodeSettings(CanvasSettingsRecord(), g_particleSettings); }

// The records with another canvas width, written as a settings file.
std::string WriteSettingsWithWidth(const char* name, int width)
{
    CanvasSettings canvas = CanvasSettingsRecord();
    canvas.width = width;
    ParticleSettings particles = g_particleSettings;
    particles.speed = 2.5f;
    WriteBytes(name, EncodeSettings(canvas, particles));
    return (std::filesystem::current_path() / name).string();
}

QAction* MenuItem(CMainFrame& frame, const QString& text)
{
    for (QAction* item : frame.menuBar()->actions().front()->menu()->actions())
        if (item->text() == text)
            return item;
    return nullptr;
}

SettingsPresets::FileChooser Answer(const QString& path)
{
    return [path](QWidget*, const QString&) { return path; };
}

QString XResLabel(CMainFrame& frame)
{
    return frame.PropertiesDialog()->ControlAs<QLabel>(control_id::kXResLabel)->text();
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

TEST_F(AppTest, OpenSettingsPutsTheFileInTheRecordsTheDialogAndANewEngine)
{
    std::filesystem::create_directory("presets");
    Start();
    const std::string path = WriteSettingsWithWidth("preset.ar", 128);
    QString startFolder;
    Frame().Presets().SetChoosers(
        [&](QWidget*, const QString& start) {
            startFolder = start;
            return QString::fromStdString(path);
        },
        {});

    MenuItem(Frame(), "Open Settings...")->trigger();

    EXPECT_EQ(startFolder, QString::fromStdString((std::filesystem::current_path() / "presets").string()));
    EXPECT_EQ(RecordBytes(), FileBytes(path));
    EXPECT_EQ(XResLabel(Frame()), "X-Res: 128");
    ASSERT_NE(g_engine, nullptr);
    EXPECT_TRUE(g_engine->IsInitialised());
    EXPECT_EQ(g_engine->CanvasWidth(), 128);
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

// Any 115 bytes are a settings file, taken as they are; a canvas no device can have is
// then reported by the engine build, and the program runs on without an engine.
TEST_F(AppTest, A115ByteFileOfRandomBytesOpensAndItsImpossibleCanvasIsReported)
{
    Start();
    std::mt19937 generator(14); // a negative width and height
    std::vector<std::byte> noise(kSettingsFileSize);
    for (std::byte& b : noise)
        b = static_cast<std::byte>(generator() & 0xff);
    WriteBytes("noise.ar", noise);
    CanvasSettings expectedCanvas;
    ParticleSettings expectedParticles;
    ASSERT_TRUE(LoadSettingsFromBytes(noise, expectedCanvas, expectedParticles));

    EXPECT_TRUE(Frame().Presets().Open(QStringLiteral("noise.ar")));

    EXPECT_EQ(RecordBytes(), EncodeSettings(expectedCanvas, expectedParticles));
    EXPECT_LT(CanvasSettingsRecord().width, 0);
    ASSERT_FALSE(m_boxes->Boxes().empty());
    EXPECT_EQ(m_boxes->Boxes().back().text, "Init Engine Failed!");
    EXPECT_EQ(g_engine, nullptr);
    EXPECT_NE(App().MainFrame(), nullptr);
}

// As start-up does: the dialog shows the file's values, then one engine is built.
TEST_F(AppTest, OpeningRefreshesTheDialogThenRebuildsTheEngineOnce)
{
    std::vector<std::string> calls;
    QWidget window;
    auto* presets = new SettingsPresets(
        window, [&] { calls.push_back("refresh"); }, [&] { calls.push_back("rebuild"); });

    EXPECT_TRUE(presets->Open(QString::fromStdString(WriteSettingsWithWidth("good.ar", 128))));

    EXPECT_EQ(calls, (std::vector<std::string>{"refresh", "rebuild"}));
    EXPECT_EQ(CanvasSettingsRecord().width, 128);
}

TEST_F(AppTest, AFileThatIsNotASettingsFileIsNamedInABoxAndChangesNothing)
{
    std::vector<std::byte> good = RecordBytes();
    good[0] = std::byte{0x80};
    WriteBytes("short.ar", {good.begin(), good.end() - 1});
    good.push_back(std::byte{0});
    WriteBytes("long.ar", good);
    std::filesystem::create_directory("folder.ar");
    const std::string dir = std::filesystem::current_path().string() + "/";
    const struct {
        const char* name;
        std::string message; // after the path
    } cases[] = {
        {"short.ar", " is not a settings file: it holds 114 bytes, and a settings file holds exactly 115. Nothing was changed."},
        {"long.ar", " is not a settings file: it holds 116 bytes, and a settings file holds exactly 115. Nothing was changed."},
        {"folder.ar", " is a folder, not a settings file. Nothing was changed."},
        {"missing.ar", " could not be opened: there is no such file. Nothing was changed."},
    };
    std::vector<std::string> calls;
    QWidget window;
    auto* presets = new SettingsPresets(
        window, [&] { calls.push_back("refresh"); }, [&] { calls.push_back("rebuild"); });
    const std::vector<std::byte> before = RecordBytes();

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t boxesBefore = m_boxes->Boxes().size();
        presets->SetChoosers(Answer(QString::fromStdString(dir + c.name)), {});
        presets->OpenChosen();

        ASSERT_EQ(m_boxes->Boxes().size(), boxesBefore + 1);
        const MessageBoxRequest& box = m_boxes->Boxes().back();
        EXPECT_EQ(box.text, dir + c.name + c.message);
        EXPECT_EQ(box.title, "Open Settings");
        EXPECT_EQ(box.icon, MessageIcon::Warning);
        EXPECT_EQ(RecordBytes(), before);
        EXPECT_TRUE(calls.empty());
    }
}

TEST_F(AppTest, SaveSettingsAsWritesTheRecordsAtTheChosenNameAndLeavesSettingsV4Alone)
{
    WriteSettingsFile();
    const std::vector<std::byte> settingsV4 = FileBytes(kSettingsFileName);
    Start();
    g_particleSettings.speed = 4.0f;
    SettingsPresets& presets = Frame().Presets();
    QAction* saveAs = MenuItem(Frame(), "Save Settings As...");

    presets.SetChoosers({}, Answer("mine"));
    saveAs->trigger();
    presets.SetChoosers({}, Answer("kept.bin"));
    saveAs->trigger();
    presets.SetChoosers({}, Answer("")); // cancelled
    saveAs->trigger();

    EXPECT_EQ(FileBytes("mine.ar"), RecordBytes());
    EXPECT_FALSE(std::filesystem::exists("mine"));
    EXPECT_EQ(FileBytes("kept.bin"), RecordBytes());
    EXPECT_EQ(FileBytes(kSettingsFileName), settingsV4);
    EXPECT_TRUE(m_boxes->Boxes().empty());

    // A failure is reported in Save Settings' words, with the name as written.
    presets.SetChoosers({}, Answer("nowhere/mine"));
    saveAs->trigger();
    ASSERT_EQ(m_boxes->Boxes().size(), 1u);
    EXPECT_EQ(m_boxes->Boxes()[0].text, "nowhere/mine.ar could not be created because its folder does not exist.");
    EXPECT_EQ(m_boxes->Boxes()[0].title, "");
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(std::filesystem::exists("nowhere"));
}

TEST_F(AppTest, ASettingsFileDroppedOnTheViewOrTheSurfaceOpens)
{
    Start();
    QMimeData overView, overSurface;
    overView.setUrls({QUrl::fromLocalFile(QString::fromStdString(WriteSettingsWithWidth("view.ar", 128)))});
    overSurface.setUrls({QUrl::fromLocalFile(QString::fromStdString(WriteSettingsWithWidth("surface.ar", 160)))});

    // The window system offers drags only to a window that takes drops; over the view
    // (and over the surface's container) the frame's window passes them to the frame.
    EXPECT_TRUE(Frame().acceptDrops());
    const QPoint inView = Frame().View()->mapTo(&Frame(), Frame().View()->rect().center());
    EXPECT_TRUE(DragAndDrop(FrameWindow(), overView, inView));
    EXPECT_EQ(CanvasSettingsRecord().width, 128);
    EXPECT_EQ(XResLabel(Frame()), "X-Res: 128");
    EXPECT_EQ(g_engine->CanvasWidth(), 128);

    EXPECT_TRUE(DragAndDrop(Surface(), overSurface));
    EXPECT_EQ(CanvasSettingsRecord().width, 160);
    EXPECT_EQ(g_engine->CanvasWidth(), 160);
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

TEST_F(AppTest, DragsOfSeveralFilesOrOfNoLocalFileAreRefused)
{
    Start();
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(WriteSettingsWithWidth("a.ar", 128)));
    QMimeData twoFiles, webAddress, plainText;
    twoFiles.setUrls({file, file});
    webAddress.setUrls({QUrl(QStringLiteral("https://example.org/a.ar"))});
    plainText.setText(file.toLocalFile());
    const std::vector<std::byte> before = RecordBytes();

    for (QObject* target : {static_cast<QObject*>(&Frame()), static_cast<QObject*>(Surface())})
        for (const QMimeData* data : {&twoFiles, &webAddress, &plainText})
            EXPECT_FALSE(DragAndDrop(target, *data)) << data->text().toStdString();

    EXPECT_EQ(RecordBytes(), before);
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

} // namespace
} // namespace lumeno::test
