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
//
// The controls sit on a page of the template's size. Where the screen is too short for
// the whole window below its home position, the page is shown in a vertical scroll area
// as high as the screen allows; the controls keep their template rectangles either way.

#include <QDialog>
#include <QHash>
#include <QMargins>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include "settings/ui/dialog_template.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QAbstractButton;
class QScrollArea;

namespace lumeno {

class CColorButton;
class GroupFrameStyle;
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

    // Moves the dialog to kPropertiesDialogPosition, fits it to the screen there and shows
    // it on top. While its owner is not shown yet, the dialog shows just after the owner
    // does, without taking the focus from it.
    void ShowAtHomePosition();

    // Sizes the window for a screen whose free area is `available`, with `frame` the
    // window manager's frame around the client area: the template's size when the window
    // fits below the home position, else scrolled (see dialog_fit.h).
    void FitTo(const QRect& available, const QMargins& frame);
    bool Scrolls() const;
    // The page the controls sit on, and the scroll area that shows it on a short screen.
    QWidget* Page() const { return m_page; }
    QScrollArea* ScrollArea() const { return m_scroll; }

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
    void moveEvent(QMoveEvent* event) override;

private:
    // Construction (properties_dialog.cpp).
    void BuildFromTemplate(const DialogTemplate& dialogTemplate);
    QWidget* CreateControl(const TemplateControl& control);
    void ConnectHandlers();
    void ForwardKeyDown(const QKeyEvent& event);

    // Placement and fit (properties_dialog_layout.cpp).
    void CreateScrollArea();
    void PlaceAndShow(bool activate);
    void ShowWithOwner(QWidget& owner);
    bool OnOwnerEvent(const QEvent& event);
    void FitToScreen();
    QMargins WindowFrame(bool* estimated) const;
    void SetScrolling(bool scrolling);
    bool RouteWheelToScrollArea(QObject* control, QEvent* event);

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
    QWidget* m_page = nullptr;
    QScrollArea* m_scroll = nullptr;
    GroupFrameStyle* m_groupStyle = nullptr;
    QHash<int, QWidget*> m_controls;
    QButtonGroup* m_createMethods = nullptr;
    QButtonGroup* m_colorRadios = nullptr;
    QTimer m_swatchTimer;

    QPointer<QWidget> m_awaitedOwner; // set while the dialog waits for its owner to show
    QRect m_fittedArea;               // the free area of the last fit
    bool m_frameEstimated = false;    // the last fit guessed the frame; refit once it is known
};

} // namespace lumeno
