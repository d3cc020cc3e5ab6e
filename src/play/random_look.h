#pragma once
// Randomise: a new look drawn from ranges learnt from the shipped presets (presets/*.ar,
// written by scripts/make-presets), not from the dialog's full ranges, most of which give
// an empty or a white canvas. Only the look and motion are drawn; antiAlias, scale and
// debug keep their values, and the canvas record is never touched, so no rebuild follows.

#include <cstdint>
#include <string>

#include "play/seeded_random.h"
#include "settings/particle_settings.h"

namespace lumeno {

// A closed range of a drawn value; `logarithmic` draws it uniformly in its logarithm.
struct LookRange {
    float low;
    float high;
    bool logarithmic;
};

// Each drawn field's range, with the chances of the values the presets mostly keep.
// Light is the shader's light per canvas pixel a frame (StreakLight below), which is
// what makes a picture empty or white; alpha is worked out from it for the canvas and the
// count in force. Likewise the gravity amount from the pace.
struct LookRanges {
    LookRange light;          // when the canvas keeps its light (fade-out ratio 1)
    LookRange fadingLight;    // when it fades: a canvas that loses light needs more
    float fadingChance;       // of a fading canvas rather than ratio 1
    LookRange fadeOutRatio;   // when fading
    LookRange speed;
    LookRange drag;
    // How fast the particles go round, speed × gravity amount / (1 − drag): a pull that
    // drag eats quickly leaves them crawling, an empty canvas for seconds. The gravity
    // amount is worked out from it, within the dialog's limit.
    LookRange pace;
    LookRange gravityPower;
    LookRange exp;
    LookRange radius;
    LookRange power;
    float scatteringChance;   // of scattering rather than none
    LookRange scattering;     // when scattering
    LookRange scatteredExp;   // the exposure then: scattered dust is faint and needs lifting
    float invertChance;       // of a white canvas
    LookRange colorFadingSpeed;
    float presetColourChance; // of one colour in slot 0 rather than the cycling slot 3
    LookRange saturation;     // of that colour
    LookRange valueOnBlack;   // its brightness on black
    LookRange valueOnWhite;   // and on white, where it is the ink's colour
};

extern const LookRanges kLookRanges;

// What the shader deposits on a canvas pixel a frame, relative: alpha × count × the
// shader's count scale (CountScale in Lumeno.fx), over the canvas's pixels.
double StreakLight(float alphaIntensity, std::int32_t particleCount, std::int32_t width, std::int32_t height);

struct LookCanvas {
    std::int32_t width;
    std::int32_t height;
    std::int32_t particleCount;
};

// speed × gravityAmount / (1 − drag); infinite for a drag of 1.
double LookPace(const ParticleSettings& look);

// A new look for `canvas`: `current` with the drawn fields replaced. Drawn values are
// rounded to three significant digits (colours to the dialog's k/255), so that they read
// well in the dialog and a last-bit difference in a maths library cannot change them.
ParticleSettings DrawLook(const ParticleSettings& current, const LookCanvas& canvas, SeededRandom& random);
ParticleSettings DrawLook(const ParticleSettings& current, const LookCanvas& canvas, std::uint64_t seed);

// Empty when every drawn field of `look` lies within kLookRanges for `canvas`; otherwise
// the first that does not, as "speed 2.5 is outside 0.7..1.3". The alpha of a canvas so
// large or a count so small that the drawn light is clamped to the dialog's limit counts
// as within.
std::string LookOutsideRanges(const ParticleSettings& look, const LookCanvas& canvas);

} // namespace lumeno
