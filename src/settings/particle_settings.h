#pragma once
// The look-and-motion parameters, read directly every frame by the simulation, the
// passes and the frame driver; a change shows on the next frame.

#include <array>
#include <cstdint>

namespace lumeno {

class SettingsArchive;

struct ColorRGB {
    float r, g, b;
};

struct ParticleSettings {
    std::int32_t antiAlias;
    float scale;
    float alphaIntensity;
    float fadeOutRatio;
    float speed;
    float drag;
    float gravityAmount;
    float gravityPower;
    float exp;
    bool debug;
    std::int32_t createMethod; // 0 "1-Circle", 1 "3-Circles", 2 "RND-Circles"
    float radius;
    float power;
    float scattering;
    bool invert;
    float colorFadingSpeed;
    std::array<ColorRGB, 3> colors;
    std::int32_t colorIndex; // 0..2 a preset colour, 3 the cycling colour

    ParticleSettings() { SetDefaults(); }

    // Whether each frame fades the canvas and swaps to the other one. A ratio within
    // rounding of one keeps the canvas, and a ratio that is not a number counts as "no
    // fading" because the comparison is false for it.
    bool FadesCanvas() const { return fadeOutRatio <= 0.99999f; }

    void SetDefaults();
    void Serialize(SettingsArchive& archive);
};

extern ParticleSettings g_particleSettings;

} // namespace lumeno
