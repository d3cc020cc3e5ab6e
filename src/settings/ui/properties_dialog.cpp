// The properties dialog's construction from template 130, its wiring and its keyboard.

#include "settings/ui/properties_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "settings/ui/color_button.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/dialog_units.h"
#include "settings/ui/group_frame_style.h"
#include "settings/ui/key_translation.h"
#include "settings/ui/properties_host.h"
#include "settings/ui/properties_template.h"
#include "settings/ui/trackbar.h"
#include "settings/ui/trackbar_mappings.h"

namespace lumeno {
namespace {

namespace id = control_id;

constexpr int kCreateMethodIds[] = {id::kOneCircle, id::kThreeCircles, id::kRndCircles};
constexpr int kCheckBoxIds[] = {id::kMultiThreaded, id::kAntiAlias, id::kDebug, id::kInvert};

bool IsColorRadio(int controlId) { return controlId >= id::kColorRadio1 && controlId < id::kColorRadio1 + 4; }

} // namespace

CPropertiesDialog::CPropertiesDialog(PropertiesDialogHost& host, QWidget* owner) : QDialog(owner), m_host(host)
{
    // A tool window with a caption and a close box, of fixed size, modeless.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    BuildFromTemplate(kPropertiesTemplate);
    CreateScrollArea();
    SetTrackbarRanges();
    ConnectHandlers();

    connect(&m_swatchTimer, &QTimer::timeout, this, &CPropertiesDialog::OnSwatchTimer);
    m_swatchTimer.start(kSwatchTimerMs);
}

CPropertiesDialog::~CPropertiesDialog() = default;

void CPropertiesDialog::BuildFromTemplate(const DialogTemplate& dialogTemplate)
{
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    setFont(DialogFont(dialogTemplate.fontPointSize));
    const DialogBaseUnits units = BaseUnitsOf(font());
    const QSize size = DialogSizeToPixels(dialogTemplate.width, dialogTemplate.height, units);
    setFixedSize(size);
    // The page carries the dialog's background, so it looks the same on the dialog and
    // inside a scroll area.
    m_page = new QWidget(this);
    m_page->setFixedSize(size);
    m_page->setBackgroundRole(QPalette::Window);
    m_page->setAutoFillBackground(true);
    // Created after the page, so destroyed after the group boxes that use it.
    m_groupStyle = new GroupFrameStyle;
    m_groupStyle->setParent(this);

    m_createMethods = new QButtonGroup(this);
    m_colorRadios = new QButtonGroup(this);
    // Created in template order, which makes it the tab order as well.
    for (const TemplateControl& control : dialogTemplate.controls) {
        QWidget* widget = CreateControl(control);
        QRect geometry = DialogRectToPixels(control.rect, units);
        // A drop-down list's template height is that of its open list; closed, it is as
        // high as its font needs.
        if (control.kind == ControlKind::ComboBox)
            geometry.setHeight(widget->sizeHint().height());
        widget->setGeometry(geometry);
        if (control.id != id::kNone)
            m_controls.insert(control.id, widget);
        widget->installEventFilter(this);
    }
}

QWidget* CPropertiesDialog::CreateControl(const TemplateControl& control)
{
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::PushButton:
        return new QPushButton(caption, m_page);
    case ControlKind::Swatch:
        return new CColorButton(caption, m_page);
    case ControlKind::Trackbar:
        return new Trackbar(m_page);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, m_page);
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(caption, m_page);
        // Two exclusive sets among siblings: the groups keep them apart.
        QButtonGroup* group = IsColorRadio(control.id) ? m_colorRadios : m_createMethods;
        group->addButton(radio, control.id);
        return radio;
    }
    case ControlKind::ComboBox:
        return new QComboBox(m_page);
    case ControlKind::StaticText:
        return new QLabel(caption, m_page);
    case ControlKind::GroupBox: {
        // Only a frame with a title, behind the controls it surrounds and deaf to the mouse.
        auto* box = new QGroupBox(caption, m_page);
        box->setStyle(m_groupStyle);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        box->lower();
        return box;
    }
    }
    return new QWidget(m_page);
}

void CPropertiesDialog::ConnectHandlers()
{
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        if (auto* trackbar = qobject_cast<Trackbar*>(it.value())) {
            const int trackbarId = it.key();
            connect(trackbar, &Trackbar::scrolled, this, [this, trackbarId] { OnHScroll(trackbarId); });
        }
    }
    connect(ControlAs<QPushButton>(id::kApply), &QPushButton::clicked, this, &CPropertiesDialog::OnApply);
    connect(ControlAs<QPushButton>(id::kRestoreDefault), &QPushButton::clicked, this,
            &CPropertiesDialog::OnRestoreDefault);
    connect(ControlAs<QPushButton>(id::kSaveSettings), &QPushButton::clicked, this,
            &CPropertiesDialog::OnSaveSettings);
    // `activated` comes from the user only, never from UpdateControls' selection.
    connect(ControlAs<QComboBox>(id::kQuality), &QComboBox::activated, this, &CPropertiesDialog::OnQualityChanged);
    // `clicked` likewise: a check set by UpdateControls is no click.
    for (int boxId : kCheckBoxIds)
        connect(ControlAs<QCheckBox>(boxId), &QCheckBox::clicked, this, [this, boxId] { OnCheckBox(boxId); });
    for (int method = 0; method < 3; ++method) {
        connect(ControlAs<QRadioButton>(kCreateMethodIds[method]), &QRadioButton::clicked, this,
                [this, method] { OnCreateMethod(method); });
    }
    for (int slot = 0; slot < 3; ++slot)
        connect(Swatch(slot), &CColorButton::clicked, this, [this, slot] { OnSwatchClicked(slot); });
    for (int index = 0; index < 4; ++index) {
        connect(ControlAs<QRadioButton>(id::kColorRadio1 + index), &QRadioButton::clicked, this,
                [this, index] { OnColorRadio(index); });
    }
}

Trackbar* CPropertiesDialog::TrackbarOf(int trackbarId) const { return ControlAs<Trackbar>(trackbarId); }

CColorButton* CPropertiesDialog::Swatch(int slot) const { return ControlAs<CColorButton>(id::kSwatch1 + slot); }

// Keyboard. Every key-down in the dialog is first offered to the main frame (its answer
// does not matter), then handled by the control as usual: Space both pauses and toggles
// a focused check box, Enter both takes a screenshot and closes the dialog. Keys with Alt
// held are system key-downs and stay in the dialog.
void CPropertiesDialog::ForwardKeyDown(const QKeyEvent& event)
{
    const std::optional<WindowMessage> message = KeyDownMessage(event);
    if (message && message->message == WM_KEYDOWN)
        m_host.ForwardKeyDown(*message);
}

bool CPropertiesDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_awaitedOwner)
        return OnOwnerEvent(*event);
    // The controls are leaves under the dialog; a key they ignore goes on to the dialog
    // itself, whose keyPressEvent knows it was forwarded already.
    if (event->type() == QEvent::KeyPress && watched != this)
        ForwardKeyDown(static_cast<const QKeyEvent&>(*event));
    if (event->type() == QEvent::Wheel && watched != this && RouteWheelToScrollArea(watched, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

void CPropertiesDialog::keyPressEvent(QKeyEvent* event)
{
    QWidget* focus = focusWidget();
    if (focus == nullptr || focus == this)
        ForwardKeyDown(*event);

    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    // A focused push button takes Enter itself; anywhere else Enter is OK, which for a
    // dialog without a default button only hides it.
    if (enter && plain && qobject_cast<QPushButton*>(focus) == nullptr) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lumeno
