#include "soak_driver.h"

#include <malloc.h>

#include <filesystem>

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPixmapCache>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>

#include "engine/render_engine.h"
#include "engine_lifetime.h"
#include "gl_surface_window.h"
#include "main_view.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "settings/ui/trackbar.h"
#include "settings_presets.h"

namespace lumeno::test {
namespace {

namespace id = control_id;

QString FileOf(int target) { return QString::fromUtf8(target == 0 ? kSettingsFileName : kSoakSettingsFile); }

} // namespace

void SoakDriver::Perform(const SoakAction& action)
{
    CPropertiesDialog& dialog = *m_frame.PropertiesDialog();
    QWindow* surface = &m_frame.View()->Surface();
    const QPoint at(action.x, action.y);
    switch (action.verb) {
    case SoakVerb::Frames:
        RenderFrames(action.value);
        break;
    case SoakVerb::Trackbar:
        dialog.ControlAs<Trackbar>(action.target)->setValue(action.value);
        break;
    case SoakVerb::CheckBox:
    case SoakVerb::Radio:
        dialog.ControlAs<QAbstractButton>(action.target)->click();
        break;
    case SoakVerb::Quality:
        ChooseQuality(action.value);
        break;
    case SoakVerb::Apply:
        dialog.ControlAs<QAbstractButton>(id::kApply)->click();
        break;
    case SoakVerb::RestoreDefault:
        dialog.ControlAs<QAbstractButton>(id::kRestoreDefault)->click();
        break;
    case SoakVerb::SaveSettings:
        dialog.ControlAs<QAbstractButton>(id::kSaveSettings)->click();
        break;
    case SoakVerb::SaveSettingsAs:
    case SoakVerb::OpenSettings: {
        // The file dialogs answered as the user would: with a file of the working folder.
        const SettingsPresets::FileChooser answer = [file = FileOf(action.target)](QWidget*, const QString&) {
            return file;
        };
        const bool open = action.verb == SoakVerb::OpenSettings;
        const SettingsPresets::FileChooser none;
        m_frame.Presets().SetChoosers(open ? answer : none, open ? none : answer);
        TriggerMenuItem(open ? "Open Settings..." : "Save Settings As...");
        break;
    }
    case SoakVerb::Key:
        Key(action.target, action.value);
        if (action.target == Qt::Key_Return)
            ExpectOneFileIn("screenshots");
        break;
    case SoakVerb::PointerMove:
        QTest::mouseMove(surface, at);
        break;
    case SoakVerb::PointerPress:
        QTest::mouseClick(surface, action.target == 1 ? Qt::LeftButton : Qt::RightButton, Qt::NoModifier, at);
        break;
    case SoakVerb::Record:
        Record(action.value, action.target == 1);
        break;
    }
    QCoreApplication::processEvents();
}

void SoakDriver::Settle()
{
    if (m_frame.IsAutopilotOn())
        Key(Qt::Key_A, 0);
    Perform({SoakVerb::RestoreDefault});
    RenderFrames(3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // What the toolkit keeps for a while is let go, so that the threads and memory left
    // are the program's: the global pool's idle threads (they would linger 30 s), the
    // clipboard's copy of the canvas, the pixmap cache, and the allocator's free pages.
    QThreadPool::globalInstance()->waitForDone();
    QGuiApplication::clipboard()->clear();
    QPixmapCache::clear();
    malloc_trim(0);
}

// As the frame timer renders, with the engine's context current; the timer's own ticks
// (and the autopilot's steering) run in between.
void SoakDriver::RenderFrames(int count)
{
    for (int frame = 0; frame < count; ++frame) {
        QCoreApplication::processEvents();
        if (g_engine == nullptr)
            continue;
        MakeEngineCurrent();
        g_engine->Render();
    }
}

void SoakDriver::Key(int key, int modifiers)
{
    QTest::keyClick(m_frame.windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
}

void SoakDriver::TriggerMenuItem(const char* text)
{
    for (QAction* item : m_frame.menuBar()->actions().front()->menu()->actions()) {
        if (item->text() == QString::fromUtf8(text)) {
            item->trigger();
            return;
        }
    }
    ADD_FAILURE() << "no menu item " << text;
}

// A film of a few frames, ended by R or by the rebuild of Apply, which the frame's next
// tick notices.
void SoakDriver::Record(int frames, bool endByApply)
{
    Key(Qt::Key_R, 0);
    if (!m_frame.IsRecording())
        return; // the box that says why is judged by the caller
    RenderFrames(frames);
    if (endByApply) {
        m_frame.PropertiesDialog()->ControlAs<QAbstractButton>(id::kApply)->click();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_frame.IsRecording(); }, 10000)) << "the film outlived its engine";
    } else {
        Key(Qt::Key_R, 0);
    }
    ExpectOneFileIn("recordings");
}

// As a pick from the list: the selection, then the signal the dialog acts on.
void SoakDriver::ChooseQuality(int index)
{
    auto* quality = m_frame.PropertiesDialog()->ControlAs<QComboBox>(id::kQuality);
    quality->setCurrentIndex(index);
    emit quality->activated(index);
}

void SoakDriver::ExpectOneFileIn(const char* folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const auto files = std::distance(fs::directory_iterator(folder, error), fs::directory_iterator());
    EXPECT_EQ(files, 1) << "in " << folder << " " << error.message();
    fs::remove_all(folder, error);
    fs::create_directory(folder, error);
}

} // namespace lumeno::test
