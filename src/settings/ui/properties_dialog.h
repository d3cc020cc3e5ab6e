#pragma once
// The properties dialog: every setting of both records, editable while the picture runs.
// Look-and-motion controls write their ParticleSettings field the moment they move; the
// canvas controls are only staged, and Apply commits them and rebuilds the engine. The
// dialog holds no copy of any setting.
//
// Modeless, owned by the main frame, which
//   - creates it with itself as owner and a PropertiesDialogHost, then calls
//     ShowAtHomePosition and UpdateControls (also for the Properties... command, and
//     UpdateControls alone after the settings file is loaded);
//   - on BackSpace calls ToggleDebug, and on 1 to 4 sets colorIndex, starts the blend
//     and calls SyncColorRadios.
// Closing it (close box, Escape, Enter outside a push button) only hides it; its 100 ms
// swatch timer runs from construction for as long as it lives.

#include <QDialog>
#include <QHash>
#include <QPoint>
#include <QTimer>

#include "settings/ui/dialog_template.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QAbstractButton;

namespace lumeno {

class CColorButton;
class PropertiesDialogHost;
class Trackbar;

// Where the main frame puts the dialog whenever it shows it, in screen pixels.
inline constexpr QPoint kPropertiesDialogPosition{30, 60};

// Swatch 4 follows the cycling colour at this period.
inline constexpr int kSwatchTimerMs = 100;

class CPropertiesDialog final : public QDialog {
    Q_OBJECT

public:
    // `owner` is the main frame: the dialog floats above it and is destroyed with it.
    explicit CPropertiesDialog(PropertiesDialogHost& host, QWidget* owner = nullptr);
    ~CPropertiesDialog() override;

    // Sets every control and label from the two records and writes no field.
    void UpdateControls();
    // Flips the Debug box and sets `debug` from it (the BackSpace key).
    void ToggleDebug();
    // Checks the colour radio of `colorIndex`, none when it is not 0..3.
    void SyncColorRadios();

    // Moves the dialog to kPropertiesDialogPosition, keeps its size, shows it on top.
    void ShowAtHomePosition();

    // The control of a template id, null for an unknown id.
    QWidget* Control(int id) const { return m_controls.value(id, nullptr); }
    template <class T>
    T* ControlAs(int id) const
    {
        return qobject_cast<T*>(Control(id));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Construction (properties_dialog.cpp).
    void BuildFromTemplate(const DialogTemplate& dialogTemplate);
    QWidget* CreateControl(const TemplateControl& control);
    void ConnectHandlers();
    void ForwardKeyDown(const QKeyEvent& event);

    // Canvas and motion controls (properties_dialog_controls.cpp).
    void SetTrackbarRanges();
    void UpdateCanvasControls();
    void UpdateTrackbars();
    void OnHScroll(int trackbarId);
    void OnApply();
    void OnQualityChanged();
    void OnRestoreDefault();
    void OnSaveSettings();
    void OnCheckBox(int id);
    void OnCreateMethod(int method);
    void SetLabel(int labelId, const std::string& text);
    void ShowApply();

    // Colours (properties_dialog_colors.cpp).
    void UpdateSwatches();
    void OnSwatchClicked(int slot);
    void OnColorRadio(int index);
    void OnSwatchTimer();

    // Checks the button of `buttonId` in an exclusive group and unchecks the others; an
    // id of no button leaves all unchecked.
    static void CheckOnly(QButtonGroup& group, int buttonId);

    Trackbar* TrackbarOf(int id) const;
    CColorButton* Swatch(int slot) const;

    PropertiesDialogHost& m_host;
    QHash<int, QWidget*> m_controls;
    QButtonGroup* m_createMethods = nullptr;
    QButtonGroup* m_colorRadios = nullptr;
    QTimer m_swatchTimer;
};

} // namespace lumeno
