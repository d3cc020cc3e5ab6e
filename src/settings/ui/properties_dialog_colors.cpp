// The properties dialog's colour group: swatches 1 to 3 edit the preset colours, swatch 4
// follows the cycling colour, the radios choose which colour the particles take.

#include <QButtonGroup>

#include "particles/particle_system.h"
#include "settings/particle_settings.h"
#include "settings/ui/color_button.h"
#include "settings/ui/color_conversion.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/properties_dialog.h"
#include "settings/ui/properties_host.h"

namespace lumeno {
namespace {

constexpr int kCycleSwatch = 3;

} // namespace

void CPropertiesDialog::UpdateSwatches()
{
    for (int slot = 0; slot < 3; ++slot)
        Swatch(slot)->SetColor(ColorRefFromFloats(g_particleSettings.colors[static_cast<std::size_t>(slot)]));
    Swatch(kCycleSwatch)->SetEditable(false);
    SyncColorRadios();
}

void CPropertiesDialog::SyncColorRadios()
{
    const int index = g_particleSettings.colorIndex;
    const bool known = index >= 0 && index <= 3;
    CheckOnly(*m_colorRadios, known ? control_id::kColorRadio1 + index : control_id::kNone);
}

void CPropertiesDialog::OnSwatchClicked(int slot)
{
    // The swatch has run its colour dialog by now. Its colour goes into the slot whether
    // the dialog was confirmed or cancelled, so a channel that was no whole byte (from a
    // hand-edited file) becomes one; no blend starts.
    g_particleSettings.colors[static_cast<std::size_t>(slot)] = FloatsFromColorRef(Swatch(slot)->GetColor());
}

void CPropertiesDialog::OnColorRadio(int index)
{
    g_particleSettings.colorIndex = index;
    if (CParticleSystem* particles = m_host.ParticleSystem())
        particles->SetColorIndex(index);
}

void CPropertiesDialog::OnSwatchTimer()
{
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f}; // white without a particle system
    if (const CParticleSystem* particles = m_host.ParticleSystem())
        particles->GetCycleColor(color);
    Swatch(kCycleSwatch)->SetColor(ColorRefFromFloats(color[0], color[1], color[2]));
}

} // namespace lumeno
