#include "settings/ui/trackbar_mappings.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "settings/ui/control_ids.h"

namespace lumeno {
namespace {

// Slider constants as the single-precision values of the decimals, widened to double.
constexpr double k0_001 = 0.001f;
constexpr double k0_002 = 0.002f;
constexpr double k0_01 = 0.01f;
constexpr double k0_05 = 0.05f;
constexpr double k0_00005 = 0.00005f;
constexpr double kExponent0_1 = 0.1f;
constexpr double kExponentThird = 1.0f / 3.0f;

float ToField(double value) { return static_cast<float>(value); }

float AlphaFromPosition(int p) { return ToField(p * k0_002); }
int PositionFromAlpha(float v) { return TruncateToInt(500 * double{v}); }

float FadeOutFromPosition(int p) { return ToField(std::pow(p * k0_01, 0.5)); }
int PositionFromFadeOut(float v) { return TruncateToInt(100 * std::pow(double{v}, 2.0)); }

float SpeedFromPosition(int p) { return ToField(p * k0_05); }
int PositionFromSpeed(float v) { return TruncateToInt(20 * double{v}); }

float DragFromPosition(int p) { return ToField(std::pow(p * k0_002, kExponent0_1)); }
int PositionFromDrag(float v) { return TruncateToInt(500 * std::pow(double{v}, 10.0)); }

float GravityAmountFromPosition(int p) { return ToField(p * k0_00005); }
int PositionFromGravityAmount(float v) { return TruncateToInt(20000 * double{v}); }

float GravityPowerFromPosition(int p) { return ToField(p * k0_05); }
int PositionFromGravityPower(float v) { return TruncateToInt(20 * double{v}); }

float ExpFromPosition(int p) { return ToField(std::pow(p * k0_001, 10.0) * 1000); }
int PositionFromExp(float v) { return TruncateToInt(1000 * std::pow(double{v} * k0_001, kExponent0_1)); }

float RadiusFromPosition(int p) { return ToField(std::pow(p * k0_001, 2.0)); }
int PositionFromRadius(float v) { return TruncateToInt(1000 * std::pow(double{v}, 0.5)); }

float PowerFromPosition(int p) { return ToField(p * k0_01); }
int PositionFromPower(float v) { return TruncateToInt(100 * double{v}); }

float ScatteringFromPosition(int p) { return ToField(std::pow(p * k0_001, 10.0) * k0_01); }
int PositionFromScattering(float v) { return TruncateToInt(1000 * std::pow(double{v} * 100, kExponent0_1)); }

float ColorFadingFromPosition(int p) { return ToField(std::pow(p * k0_01, 2.0)); }
int PositionFromColorFading(float v) { return TruncateToInt(100 * std::pow(double{v}, 0.5)); }

} // namespace

int TruncateToInt(double value)
{
    // Exactly the doubles whose truncation fits an int; NaN fails both comparisons.
    if (value > -2147483649.0 && value < 2147483648.0)
        return static_cast<int>(value);
    return INT_MIN;
}

std::string FormatLabel(const char* format, double value)
{
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string FormatLabel(const char* format, int value)
{
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::optional<int> FindTableIndex(std::span<const std::int32_t> table, std::int32_t value)
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == value)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

int ParticleCountFromPosition(int position) { return position * position * position; }

int PositionFromParticleCount(std::int32_t count)
{
    return TruncateToInt(std::pow(static_cast<double>(count), kExponentThird));
}

float ScaleFromPosition(int position) { return ToField(std::pow(2.0, position - 3)); }

std::string ScaleLabel(float scale) { return FormatLabel("Scale: %d%%", TruncateToInt(double{scale} * 100)); }

const std::array<FloatTrackbar, 11> kFloatTrackbars = {{
    {control_id::kAlpha, control_id::kAlphaLabel, {0, 500}, &ParticleSettings::alphaIntensity,
     AlphaFromPosition, PositionFromAlpha, "Particles Alpha: %3.3f", "Particles Alpha: %3.3f"},
    {control_id::kFadeOut, control_id::kFadeOutLabel, {0, 100}, &ParticleSettings::fadeOutRatio,
     FadeOutFromPosition, PositionFromFadeOut, "Fade Out: %3.3f", "Fade Out: %3.3f"},
    {control_id::kSpeed, control_id::kSpeedLabel, {0, 100}, &ParticleSettings::speed,
     SpeedFromPosition, PositionFromSpeed, "Speed: %3.3f", "Speed: %3.3f"},
    {control_id::kDrag, control_id::kDragLabel, {10, 500}, &ParticleSettings::drag,
     DragFromPosition, PositionFromDrag, "Drag Co-Efficient: %3.4f", "Drag Co-Efficient: %3.4f"},
    {control_id::kGravityAmount, control_id::kGravityAmountLabel, {0, 100}, &ParticleSettings::gravityAmount,
     GravityAmountFromPosition, PositionFromGravityAmount, "Gravity Amount: %3.3f", "Gravity Amount: %3.3f"},
    {control_id::kGravityPower, control_id::kGravityPowerLabel, {0, 100}, &ParticleSettings::gravityPower,
     GravityPowerFromPosition, PositionFromGravityPower, "Gravity Power: %3.3f", "Gravity Power: %3.3f"},
    {control_id::kExp, control_id::kExpLabel, {440, 600}, &ParticleSettings::exp,
     ExpFromPosition, PositionFromExp, "Exp: %3.4f", "Exp: %3.3f"},
    {control_id::kRadius, control_id::kRadiusLabel, {0, 1000}, &ParticleSettings::radius,
     RadiusFromPosition, PositionFromRadius, "Radius: %3.4f", "Radius: %3.4f"},
    {control_id::kPower, control_id::kPowerLabel, {0, 200}, &ParticleSettings::power,
     PowerFromPosition, PositionFromPower, "Power: %3.5f", "Power: %3.5f"},
    {control_id::kScattering, control_id::kScatteringLabel, {0, 1000}, &ParticleSettings::scattering,
     ScatteringFromPosition, PositionFromScattering, "Scattering: %3.5f", "Scattering: %3.5f"},
    {control_id::kColorFading, control_id::kColorFadingLabel, {1, 5000}, &ParticleSettings::colorFadingSpeed,
     ColorFadingFromPosition, PositionFromColorFading, "Speed of Color Fading: %3.3f", "Speed of Color Fading: %3.3f"},
}};

const FloatTrackbar* FindFloatTrackbar(int trackbarId)
{
    for (const FloatTrackbar& row : kFloatTrackbars) {
        if (row.trackbarId == trackbarId)
            return &row;
    }
    return nullptr;
}

} // namespace lumeno
