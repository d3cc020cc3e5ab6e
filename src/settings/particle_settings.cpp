#include "settings/particle_settings.h"

#include "settings/settings_archive.h"

namespace lumeno {

ParticleSettings g_particleSettings;

void ParticleSettings::SetDefaults()
{
    antiAlias = 1;
    scale = 1.0f;
    alphaIntensity = 0.25f;
    fadeOutRatio = 1.0f;
    speed = 1.0f;
    drag = 0.99f;
    gravityAmount = 0.0015f;
    gravityPower = 0.3f;
    exp = 1.0f;
    debug = false;
    createMethod = 0;
    radius = 0.6f;
    power = 0.01f;
    scattering = 0.0f;
    invert = true;
    colorFadingSpeed = 6.5f;
    colors = {ColorRGB{1, 0, 0}, ColorRGB{0, 1, 0}, ColorRGB{0, 0, 1}};
    colorIndex = 3;
}

void ParticleSettings::Serialize(SettingsArchive& archive)
{
    archive.Transfer(antiAlias);
    archive.Transfer(scale);
    archive.Transfer(alphaIntensity);
    archive.Transfer(fadeOutRatio);
    archive.Transfer(speed);
    archive.Transfer(drag);
    archive.Transfer(gravityAmount);
    archive.Transfer(gravityPower);
    archive.Transfer(exp);
    archive.Transfer(debug);
    archive.Transfer(createMethod);
    archive.Transfer(radius);
    archive.Transfer(power);
    archive.Transfer(scattering);
    archive.Transfer(invert);
    archive.Transfer(colorFadingSpeed);
    for (ColorRGB& color : colors) {
        archive.Transfer(color.r);
        archive.Transfer(color.g);
        archive.Transfer(color.b);
    }
    archive.Transfer(colorIndex);
}

} // namespace lumeno
