// The properties dialog's canvas and motion controls: UpdateControls, the trackbars, the
// check boxes, the create method and the Apply / Restore Default / Save Settings buttons.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "platform/message_box.h"
#include "settings/canvas_settings.h"
#include "settings/particle_settings.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "settings/ui/properties_host.h"
#include "settings/ui/trackbar.h"
#include "settings/ui/trackbar_mappings.h"

namespace lumeno {
namespace {

namespace id = control_id;

constexpr const char* kQualityWarning =
    "Your video card does not support alpha blending for this quality type.\nSelect lower quality.";

// Range, then position: a position outside the range is clamped by the trackbar. Blocked,
// so setting it is no scroll and writes nothing.
void Place(Trackbar& trackbar, TrackbarRange range, std::optional<int> position)
{
    const QSignalBlocker blocker(trackbar);
    trackbar.SetRange(range.min, range.max);
    if (position)
        trackbar.setValue(*position);
}

} // namespace

void CPropertiesDialog::SetLabel(int labelId, const std::string& text)
{
    ControlAs<QLabel>(labelId)->setText(QString::fromStdString(text));
}

void CPropertiesDialog::ShowApply() { Control(id::kApply)->show(); }

void CPropertiesDialog::SetTrackbarRanges()
{
    // Set again by every UpdateControls; set here too so that no position outside a
    // table can be read before the first refresh.
    Place(*TrackbarOf(id::kXRes), kXResRange, std::nullopt);
    Place(*TrackbarOf(id::kYRes), kYResRange, std::nullopt);
    Place(*TrackbarOf(id::kParticleCount), kParticleCountRange, std::nullopt);
    Place(*TrackbarOf(id::kScale), kScaleRange, std::nullopt);
    for (const FloatTrackbar& row : kFloatTrackbars)
        Place(*TrackbarOf(row.trackbarId), row.range, std::nullopt);
}

void CPropertiesDialog::UpdateControls()
{
    Control(id::kApply)->hide();
    UpdateCanvasControls();

    const ParticleSettings& particles = g_particleSettings;
    ControlAs<QCheckBox>(id::kAntiAlias)->setChecked(particles.antiAlias == 1);
    ControlAs<QCheckBox>(id::kDebug)->setChecked(particles.debug);
    ControlAs<QCheckBox>(id::kInvert)->setChecked(particles.invert);
    const int methods[] = {id::kOneCircle, id::kThreeCircles, id::kRndCircles};
    const bool knownMethod = particles.createMethod >= 0 && particles.createMethod <= 2;
    CheckOnly(*m_createMethods, knownMethod ? methods[particles.createMethod] : id::kNone);

    UpdateTrackbars();
    UpdateSwatches();
}

void CPropertiesDialog::UpdateCanvasControls()
{
    const CanvasSettings& canvas = CanvasSettingsRecord();
    // A size missing from its table leaves the thumb where it was; the label shows it.
    Place(*TrackbarOf(id::kXRes), kXResRange, FindTableIndex(CanvasWidths, canvas.width));
    SetLabel(id::kXResLabel, FormatLabel(kXResFormat, canvas.width));
    Place(*TrackbarOf(id::kYRes), kYResRange, FindTableIndex(CanvasHeights, canvas.height));
    SetLabel(id::kYResLabel, FormatLabel(kYResFormat, canvas.height));

    auto* quality = ControlAs<QComboBox>(id::kQuality);
    {
        const QSignalBlocker blocker(quality);
        quality->clear();
        for (std::string_view name : QualityNames)
            quality->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        quality->setCurrentIndex(FindTableIndex(CanvasFormats, canvas.format).value_or(-1));
    }
    ControlAs<QCheckBox>(id::kMultiThreaded)->setChecked(canvas.multiThreaded);
}

void CPropertiesDialog::UpdateTrackbars()
{
    const std::int32_t count = CanvasSettingsRecord().particleCount;
    Place(*TrackbarOf(id::kParticleCount), kParticleCountRange, PositionFromParticleCount(count));
    SetLabel(id::kParticleCountLabel, FormatLabel(kParticleCountFormat, count));

    Place(*TrackbarOf(id::kScale), kScaleRange, kScaleRefreshPosition);
    SetLabel(id::kScaleLabel, ScaleLabel(g_particleSettings.scale));

    for (const FloatTrackbar& row : kFloatTrackbars) {
        const float value = g_particleSettings.*row.field;
        Place(*TrackbarOf(row.trackbarId), row.range, row.positionFromValue(value));
        SetLabel(row.labelId, FormatLabel(row.refreshFormat, double{value}));
    }
}

void CPropertiesDialog::OnHScroll(int trackbarId)
{
    const Trackbar* trackbar = TrackbarOf(trackbarId);
    if (trackbar == nullptr)
        return;
    const int position = trackbar->value();
    switch (trackbarId) {
    case id::kXRes:
        SetLabel(id::kXResLabel, FormatLabel(kXResFormat, CanvasWidths[position]));
        ShowApply();
        return;
    case id::kYRes:
        SetLabel(id::kYResLabel, FormatLabel(kYResFormat, CanvasHeights[position]));
        ShowApply();
        return;
    case id::kParticleCount:
        SetLabel(id::kParticleCountLabel, FormatLabel(kParticleCountFormat, ParticleCountFromPosition(position)));
        ShowApply();
        return;
    case id::kScale:
        g_particleSettings.scale = ScaleFromPosition(position);
        SetLabel(id::kScaleLabel, ScaleLabel(g_particleSettings.scale));
        m_host.RedrawMainWindow();
        return;
    default:
        break;
    }
    if (const FloatTrackbar* row = FindFloatTrackbar(trackbarId)) {
        float& field = g_particleSettings.*row->field;
        field = row->valueFromPosition(position);
        SetLabel(row->labelId, FormatLabel(row->moveFormat, double{field}));
    }
}

void CPropertiesDialog::OnApply()
{
    // All four from the controls, touched or not.
    CanvasSettings& canvas = CanvasSettingsRecord();
    canvas.width = CanvasWidths[TrackbarOf(id::kXRes)->value()];
    canvas.height = CanvasHeights[TrackbarOf(id::kYRes)->value()];
    const int quality = ControlAs<QComboBox>(id::kQuality)->currentIndex();
    if (quality >= 0)
        canvas.format = CanvasFormats[quality];
    canvas.particleCount = ParticleCountFromPosition(TrackbarOf(id::kParticleCount)->value());
    canvas.multiThreaded = ControlAs<QCheckBox>(id::kMultiThreaded)->isChecked();
    m_host.RebuildEngine();
    Control(id::kApply)->hide();
}

void CPropertiesDialog::OnQualityChanged()
{
    // Warned, not blocked: the selection stays and Apply uses it.
    const int quality = ControlAs<QComboBox>(id::kQuality)->currentIndex();
    if (quality >= 0 && !m_host.SupportsPostPixelShaderBlending(CanvasFormats[quality]))
        ShowMessageBox(kQualityWarning, "Warning", MessageIcon::Warning, this);
    ShowApply();
}

void CPropertiesDialog::OnRestoreDefault()
{
    // The format default is the probe's answer of start-up; the settings file is not written.
    CanvasSettingsRecord().SetDefaults();
    g_particleSettings.SetDefaults();
    UpdateControls();
    m_host.RebuildEngine();
}

void CPropertiesDialog::OnSaveSettings() { SaveSettings(m_host.SettingsToSave()); }

void CPropertiesDialog::OnCheckBox(int boxId)
{
    const bool checked = ControlAs<QCheckBox>(boxId)->isChecked();
    switch (boxId) {
    case id::kAntiAlias:
        g_particleSettings.antiAlias = checked ? 1 : 0;
        break;
    case id::kDebug:
        g_particleSettings.debug = checked;
        break;
    case id::kInvert:
        g_particleSettings.invert = checked;
        break;
    case id::kMultiThreaded:
        ShowApply(); // staged: multiThreaded changes on Apply
        break;
    default:
        break;
    }
}

void CPropertiesDialog::OnCreateMethod(int method) { g_particleSettings.createMethod = method; }

void CPropertiesDialog::ToggleDebug()
{
    auto* debug = ControlAs<QCheckBox>(id::kDebug);
    debug->setChecked(!debug->isChecked());
    g_particleSettings.debug = debug->isChecked();
}

void CPropertiesDialog::CheckOnly(QButtonGroup& group, int buttonId)
{
    // An exclusive group keeps one button checked; unchecking all needs it lifted a moment.
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons())
        button->setChecked(group.id(button) == buttonId);
    group.setExclusive(true);
}

} // namespace lumeno
