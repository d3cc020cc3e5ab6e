#pragma once
// The trackbar arithmetic of the properties dialog, free of any toolkit: what a position
// writes into a settings field, which position a field's value shows at, and the label
// texts. Slider constants are the single-precision values of their decimals, evaluated in
// double; results stored into a field are rounded to float; conversions to int truncate.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "settings/particle_settings.h"

namespace lumeno {

struct TrackbarRange {
    int min;
    int max;
};

// Truncation toward zero as the x86 conversion does it: a value that is not a number or
// does not fit (only a hand-edited settings file gives one) becomes INT_MIN, which the
// trackbar then clamps to its lowest position. A plain cast would be undefined there.
int TruncateToInt(double value);

// One printf-style conversion into a label text.
std::string FormatLabel(const char* format, double value);
std::string FormatLabel(const char* format, int value);

// X-Res and Y-Res: the index of the first entry equal to `value`, none when it is missing.
std::optional<int> FindTableIndex(std::span<const std::int32_t> table, std::int32_t value);
inline constexpr TrackbarRange kXResRange{0, 12};
inline constexpr TrackbarRange kYResRange{0, 10};
inline constexpr const char* kXResFormat = "X-Res: %d";
inline constexpr const char* kYResFormat = "Y-Res: %d";

// Particle Count: p³; the position of a count is its cube root, so 20000 shows at 27.
inline constexpr TrackbarRange kParticleCountRange{10, 150};
inline constexpr const char* kParticleCountFormat = "Particle Count: %d";
int ParticleCountFromPosition(int position);
int PositionFromParticleCount(std::int32_t count);

// Scale: 2^(p − 3). The thumb always returns to 3 (100%) whatever the field holds.
inline constexpr TrackbarRange kScaleRange{0, 6};
inline constexpr int kScaleRefreshPosition = 3;
float ScaleFromPosition(int position);
std::string ScaleLabel(float scale); // "Scale: %d%%" with scale × 100 truncated

// The eleven trackbars that edit one float field each, in the order UpdateControls sets
// them (after Particle Count and Scale).
struct FloatTrackbar {
    int trackbarId;
    int labelId;
    TrackbarRange range;
    float ParticleSettings::*field;
    float (*valueFromPosition)(int position);
    int (*positionFromValue)(float value);
    const char* moveFormat;    // label after a move
    const char* refreshFormat; // label in UpdateControls; differs only for Exp
};

extern const std::array<FloatTrackbar, 11> kFloatTrackbars;

// The row of a float trackbar, null for any other id.
const FloatTrackbar* FindFloatTrackbar(int trackbarId);

} // namespace lumeno
