#include "play/random_look.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace lumeno {
namespace {

// The dialog's limits of Particles Alpha (trackbar_mappings.cpp: 500 × 0.002) and of
// Gravity Amount (100 × 0.00005).
constexpr float kMaxAlpha = 1.0f;
constexpr float kMaxGravityAmount = 0.005f;

} // namespace

// The presets' values (scripts/make-presets; the defaults for what a preset leaves out),
// each range their span widened a little so that Randomise finds looks beside them. Light
// is StreakLight at the presets' 1024x768 canvas: three-circles 0.00136, glow-streaks and
// colour-ink 0.00273, nebula-16bit 0.00271, large-cloud 0.00360, ink-on-white and the
// defaults 0.00636, neon-8bit 0.0129; fading-trails, the one fading preset, 0.0455. Pace:
// three-circles 0.1, the defaults, nebula-16bit and large-cloud 0.15, the others 0.3.
// Drawn alone, the gravity amount and the drag met at paces far below these (0.03), and
// those looks stayed nearly empty for the first seconds.
const LookRanges kLookRanges = {
    .light = {0.0012f, 0.014f, true},        // presets 0.00136..0.0129
    .fadingLight = {0.025f, 0.07f, true},    // fading-trails 0.0455
    .fadingChance = 0.2f,                    // 1 preset in 8
    .fadeOutRatio = {0.98f, 0.995f, false},  // fading-trails 0.99
    .speed = {0.7f, 1.3f, false},            // presets 0.8..1
    .drag = {0.985f, 0.998f, false},         // presets 0.99..0.998
    .pace = {0.08f, 0.4f, true},             // presets 0.1..0.3
    .gravityPower = {0.2f, 1.5f, false},     // presets 0.3..1.5
    .exp = {0.7f, 1.0f, false},              // presets 0.7..1; above 1 faint looks sink
    .radius = {0.15f, 0.7f, false},          // presets 0.2..0.6
    .power = {0.01f, 0.6f, true},            // presets 0.01..0.5
    .scatteringChance = 0.2f,                // 1 preset in 8
    .scattering = {0.0002f, 0.002f, true},   // nebula-16bit 0.002
    .scatteredExp = {0.7f, 0.8f, false},     // nebula-16bit 0.7
    .invertChance = 0.3f,                    // 2 presets in 8 (and the defaults)
    .colorFadingSpeed = {1.0f, 6.5f, true},  // presets 1..6.5
    .presetColourChance = 0.35f,             // 3 presets in 8
    .saturation = {0.5f, 1.0f, false},       // ffb040 0.75, ff30c0 0.81, 2a1a10 0.62
    .valueOnBlack = {0.7f, 1.0f, false},     // ffb040, ff30c0: 1
    .valueOnWhite = {0.12f, 0.7f, false},    // 2a1a10: 0.165
};

double LookPace(const ParticleSettings& look)
{
    return double{look.speed} * double{look.gravityAmount} / (1.0 - double{look.drag});
}

double StreakLight(float alphaIntensity, std::int32_t particleCount, std::int32_t width, std::int32_t height)
{
    // CountScale in Lumeno.fx: the streaks were tuned at 20000 particles.
    const double count = std::max(static_cast<double>(particleCount), 1.0);
    const double countScale = std::clamp(std::sqrt(20000.0 / count), 0.1, 2.0);
    const double pixels = std::max(static_cast<double>(width) * static_cast<double>(height), 1.0);
    return double{alphaIntensity} * count * countScale / pixels;
}

namespace {

// Three significant digits, so that a value reads well and a last-bit difference in a
// maths library before it cannot change the stored float.
double ThreeDigits(double value)
{
    if (value == 0.0)
        return 0.0;
    // to_chars and from_chars round exactly and know no locale.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 2);
    double rounded = value;
    std::from_chars(text, written.ptr, rounded);
    return rounded;
}

float Draw(const LookRange& range, SeededRandom& random)
{
    const double u = random.Unit();
    const double low = range.low, high = range.high;
    const double value = range.logarithmic ? low * std::exp(u * std::log(high / low)) : low + u * (high - low);
    return std::clamp(static_cast<float>(ThreeDigits(value)), range.low, range.high);
}

bool Chance(float chance, SeededRandom& random) { return random.Unit() < double{chance}; }

// The dialog's swatches hold k/255 a channel.
float Channel(double value) { return static_cast<float>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0)) / 255.0f; }

ColorRGB FromHsv(double hue, double saturation, double value)
{
    const double h = hue * 6.0;
    const int sector = std::min(static_cast<int>(h), 5);
    const double f = h - sector;
    const double p = value * (1 - saturation), q = value * (1 - saturation * f), t = value * (1 - saturation * (1 - f));
    const double rgb[6][3] = {{value, t, p}, {q, value, p}, {p, value, t}, {p, q, value}, {t, p, value}, {value, p, q}};
    return ColorRGB{Channel(rgb[sector][0]), Channel(rgb[sector][1]), Channel(rgb[sector][2])};
}

float AlphaForLight(float light, const LookCanvas& canvas)
{
    const double perAlpha = StreakLight(1.0f, canvas.particleCount, canvas.width, canvas.height);
    const double alpha = perAlpha > 0 ? light / perAlpha : kMaxAlpha;
    return std::clamp(static_cast<float>(ThreeDigits(alpha)), 0.001f, kMaxAlpha);
}

float GravityForPace(float pace, const ParticleSettings& look)
{
    const double gravity = double{pace} * (1.0 - double{look.drag}) / double{look.speed};
    return std::clamp(static_cast<float>(ThreeDigits(gravity)), 0.0f, kMaxGravityAmount);
}

bool Within(float value, const LookRange& range) { return value >= range.low && value <= range.high; }

std::string Outside(const char* name, float value, const LookRange& range)
{
    char text[128];
    std::snprintf(text, sizeof text, "%s %g is outside %g..%g", name, double{value}, double{range.low},
                  double{range.high});
    return text;
}

// The saturation and brightness of slot 0's colour, within a step of k/255.
std::string ColourOutsideRanges(const ColorRGB& colour, bool invert)
{
    const float high = std::max({colour.r, colour.g, colour.b});
    const float low = std::min({colour.r, colour.g, colour.b});
    const float saturation = high > 0 ? (high - low) / high : 0.0f;
    const LookRange& value = invert ? kLookRanges.valueOnWhite : kLookRanges.valueOnBlack;
    const float step = 2.0f / 255.0f;
    if (saturation < kLookRanges.saturation.low - step || saturation > kLookRanges.saturation.high)
        return Outside("colour saturation", saturation, kLookRanges.saturation);
    if (high < value.low - step || high > value.high + step)
        return Outside(invert ? "colour brightness on white" : "colour brightness on black", high, value);
    return {};
}

} // namespace

// Every draw is made, in this order, whichever way an earlier one went, so that a change
// of one chance does not shift the values of the fields after it.
ParticleSettings DrawLook(const ParticleSettings& current, const LookCanvas& canvas, SeededRandom& random)
{
    const LookRanges& r = kLookRanges;
    ParticleSettings look = current;
    const bool fading = Chance(r.fadingChance, random);
    const float fadeOutRatio = Draw(r.fadeOutRatio, random);
    const float light = Draw(fading ? r.fadingLight : r.light, random);
    look.fadeOutRatio = fading ? fadeOutRatio : 1.0f;
    look.alphaIntensity = AlphaForLight(light, canvas);
    look.speed = Draw(r.speed, random);
    look.drag = Draw(r.drag, random);
    const float pace = Draw(r.pace, random);
    look.gravityAmount = GravityForPace(pace, look);
    look.gravityPower = Draw(r.gravityPower, random);
    look.exp = Draw(r.exp, random);
    look.createMethod = static_cast<std::int32_t>(std::min(random.Unit() * 3.0, 2.0));
    look.radius = Draw(r.radius, random);
    look.power = Draw(r.power, random);
    const bool scattering = Chance(r.scatteringChance, random);
    const float scatteringValue = Draw(r.scattering, random);
    const float scatteredExp = Draw(r.scatteredExp, random);
    look.scattering = scattering ? scatteringValue : 0.0f;
    if (scattering)
        look.exp = scatteredExp;
    look.invert = Chance(r.invertChance, random);
    look.colorFadingSpeed = Draw(r.colorFadingSpeed, random);
    const bool presetColour = Chance(r.presetColourChance, random);
    const double hue = random.Unit();
    const float saturation = Draw(r.saturation, random);
    const float value = Draw(look.invert ? r.valueOnWhite : r.valueOnBlack, random);
    look.colorIndex = presetColour ? 0 : 3;
    if (presetColour)
        look.colors[0] = FromHsv(hue, saturation, value);
    return look;
}

ParticleSettings DrawLook(const ParticleSettings& current, const LookCanvas& canvas, std::uint64_t seed)
{
    SeededRandom random(seed);
    return DrawLook(current, canvas, random);
}

std::string LookOutsideRanges(const ParticleSettings& look, const LookCanvas& canvas)
{
    const LookRanges& r = kLookRanges;
    const bool fading = look.FadesCanvas();
    if (fading && !Within(look.fadeOutRatio, r.fadeOutRatio))
        return Outside("fade-out ratio", look.fadeOutRatio, r.fadeOutRatio);
    if (!fading && look.fadeOutRatio != 1.0f)
        return Outside("fade-out ratio", look.fadeOutRatio, LookRange{1.0f, 1.0f, false});
    const LookRange& lightRange = fading ? r.fadingLight : r.light;
    const float light = static_cast<float>(StreakLight(look.alphaIntensity, canvas.particleCount, canvas.width,
                                                       canvas.height));
    // Alpha is rounded to three digits after the light was drawn: a share of a percent.
    const bool clamped = look.alphaIntensity == kMaxAlpha || look.alphaIntensity == 0.001f;
    if (!clamped && !(light >= lightRange.low * 0.99f && light <= lightRange.high * 1.01f))
        return Outside("light", light, lightRange);
    const struct {
        const char* name;
        float value;
        const LookRange& range;
    } fields[] = {{"speed", look.speed, r.speed},
                  {"drag", look.drag, r.drag},
                  {"gravity power", look.gravityPower, r.gravityPower},
                  {"exp", look.exp, r.exp},
                  {"radius", look.radius, r.radius},
                  {"power", look.power, r.power},
                  {"colour fading speed", look.colorFadingSpeed, r.colorFadingSpeed}};
    for (const auto& field : fields) {
        if (!Within(field.value, field.range))
            return Outside(field.name, field.value, field.range);
    }
    // The gravity amount is rounded to three digits after the pace was drawn, or held at
    // the dialog's limit.
    const float pace = static_cast<float>(LookPace(look));
    if (look.gravityAmount != kMaxGravityAmount && !(pace >= r.pace.low * 0.99f && pace <= r.pace.high * 1.01f))
        return Outside("pace", pace, r.pace);
    if (look.gravityAmount < 0.0f || look.gravityAmount > kMaxGravityAmount)
        return Outside("gravity amount", look.gravityAmount, LookRange{0.0f, kMaxGravityAmount, false});
    if (look.scattering != 0.0f && !Within(look.scattering, r.scattering))
        return Outside("scattering", look.scattering, r.scattering);
    if (look.scattering != 0.0f && !Within(look.exp, r.scatteredExp))
        return Outside("exp with scattering", look.exp, r.scatteredExp);
    if (look.createMethod < 0 || look.createMethod > 2)
        return "create method " + std::to_string(look.createMethod) + " is none of 0, 1 and 2";
    if (look.colorIndex != 0 && look.colorIndex != 3)
        return "colour slot " + std::to_string(look.colorIndex) + " is neither 0 nor 3";
    if (look.colorIndex == 0)
        return ColourOutsideRanges(look.colors[0], look.invert);
    return {};
}

} // namespace lumeno
