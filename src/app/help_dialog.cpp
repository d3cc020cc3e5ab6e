#include "help_dialog.h"

#include <QDir>
#include <QKeyEvent>

#include "column_label.h"

#include "settings/ui/dialog_units.h"

namespace lumeno {
namespace {

const TemplateControl kHelpControls[] = {
    {kHelpKeysTextId, ControlKind::StaticText,
     "Keyboard Shortcuts:\n"
     "   Enter:\t\tTake Screenshot( Lumeno\\Screenshots\\*.bmp )\n"
     "   Shift + Enter:\tTake HDR Screenshot\n"
     "   C:\t\tCopy To Clipboard\n"
     "   Space:\tPause on/off\n"
     "   BackSpace:\tDebug Partiles on/off\n"
     "   1..4:\t\tPredefined Colors (4 = a randomly generated color)",
     {7, 7, 234, 57}},
    // Named after what the buttons do: the left one re-emits the particles around the
    // pointer, the right one clears the canvas.
    {kHelpMouseTextId, ControlKind::StaticText, "Mouse left button:\tReset Particles\nMouse right button:\tClear Screen",
     {13, 69, 234, 17}},
    {kHelpTipTextId, ControlKind::StaticText, "Tip: For best result use float32 canvas quality.", {7, 92, 234, 8}},
    // The window's own keys, below the toy's, in a block of their own.
    {kHelpWindowKeysTextId, ControlKind::StaticText,
     "   F11:\tFullscreen on/off (Esc leaves it)\n"
     "   R:\tRecording on/off ( recordings/*.mp4 )\n"
     "   A:\tAutopilot on/off (it steers instead of the mouse)\n"
     "   M:\tListening to the sound input on/off\n"
     "   N:\tRandomise: a new look\n"
     "   Ctrl+Z:\tUndo Randomise",
     {7, 104, 234, 51}},
    // Where screenshots, films and settings go; the folder is added when the dialog is made.
    {kHelpFolderTextId, ControlKind::StaticText, "Folder: ", {7, 159, 234, 17}},
};

// Without a default button a dialog ignores Enter; this one hides on it, as its
// template's dialog does.
class HelpDialog final : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }

    // Its keys are its own, as the frame's other keys are not seen here: Qt would pass the
    // frame's window shortcuts (N, Ctrl+Z) through from a tool window such as this.
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        return QDialog::event(event);
    }
};

} // namespace

// Taller than the toy's keys need by a line of eight and a half dialog units for each
// window key after the first two.
const DialogTemplate kHelpTemplate{"  .:: Help ::.", 248, 180, 8, kHelpControls};

QDialog* CreateHelpDialog(QWidget* owner)
{
    auto* dialog = new HelpDialog(owner);
    // A small tool window with a caption and a close box, no taskbar button.
    dialog->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->setModal(false);
    dialog->setWindowTitle(QString::fromUtf8(kHelpTemplate.caption));
    dialog->setFont(DialogFont(kHelpTemplate.fontPointSize));
    const DialogBaseUnits units = BaseUnitsOf(dialog->font());
    dialog->setFixedSize(DialogSizeToPixels(kHelpTemplate.width, kHelpTemplate.height, units));
    for (const TemplateControl& control : kHelpTemplate.controls) {
        QString caption = QString::fromUtf8(control.caption);
        if (control.id == kHelpFolderTextId)
            caption += QDir::toNativeSeparators(QDir::currentPath());
        auto* text = new ColumnLabel(caption, dialog);
        text->setObjectName(QStringLiteral("help%1").arg(control.id));
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setWordWrap(true);
        text->setGeometry(DialogRectToPixels(control.rect, units));
    }
    return dialog;
}

} // namespace lumeno
