#include "settings/ui/properties_template.h"

#include "settings/ui/control_ids.h"

namespace lumeno {
namespace {

using K = ControlKind;
namespace id = control_id;

const TemplateControl kControls[] = {
    {id::kRestoreDefault, K::PushButton, "Restore Default", {7, 479, 65, 17}},
    {id::kSaveSettings, K::PushButton, "Save Settings", {78, 479, 65, 17}},
    {id::kAlpha, K::Trackbar, "", {14, 298, 126, 11}},
    {id::kSpeed, K::Trackbar, "", {14, 403, 126, 11}},
    {id::kDrag, K::Trackbar, "", {14, 421, 126, 11}},
    {id::kGravityAmount, K::Trackbar, "", {14, 439, 126, 11}},
    {id::kGravityPower, K::Trackbar, "", {14, 458, 126, 11}},
    {id::kScattering, K::Trackbar, "", {14, 259, 126, 11}},
    {id::kRadius, K::Trackbar, "", {14, 223, 126, 11}},
    {id::kPower, K::Trackbar, "", {14, 241, 126, 11}},
    {id::kNone, K::GroupBox, "Canvas:", {7, 7, 136, 89}},
    {id::kParticleCount, K::Trackbar, "", {12, 24, 126, 11}},
    {id::kXRes, K::Trackbar, "", {12, 41, 57, 11}},
    {id::kYRes, K::Trackbar, "", {75, 42, 57, 11}},
    {id::kMultiThreaded, K::CheckBox, "MultiThreaded", {13, 55, 62, 8}},
    {id::kQuality, K::ComboBox, "", {14, 76, 59, 51}},
    {id::kApply, K::PushButton, "Apply", {82, 56, 55, 33}},
    {id::kScale, K::Trackbar, "", {14, 118, 126, 11}},
    {id::kFadeOut, K::Trackbar, "", {14, 138, 126, 11}},
    {id::kExp, K::Trackbar, "", {13, 156, 126, 11}},
    {id::kInvert, K::CheckBox, "Invert", {16, 170, 36, 8}},
    {id::kAntiAlias, K::CheckBox, "AntiAlias", {58, 170, 40, 8}},
    {id::kDebug, K::CheckBox, "Debug", {104, 170, 36, 8}},
    {id::kOneCircle, K::RadioButton, "1-Circle", {11, 202, 35, 9}},
    {id::kThreeCircles, K::RadioButton, "3-Circles", {49, 202, 39, 9}},
    {id::kRndCircles, K::RadioButton, "RND-Circles", {91, 202, 49, 9}},
    {id::kNone, K::StaticText, "Quality:", {16, 68, 37, 8}},
    {id::kParticleCountLabel, K::StaticText, "Particle Count:", {16, 17, 114, 8}},
    {id::kScaleLabel, K::StaticText, "Scale:", {18, 110, 114, 8}},
    {id::kAlphaLabel, K::StaticText, "Particles Alpha:", {18, 290, 114, 8}},
    {id::kFadeOutLabel, K::StaticText, "Fade Out:", {17, 130, 114, 8}},
    {id::kSpeedLabel, K::StaticText, "Speed:", {17, 395, 114, 8}},
    {id::kDragLabel, K::StaticText, "Drag Co-Efficient:", {18, 413, 114, 8}},
    {id::kGravityAmountLabel, K::StaticText, "Gravity Amount:", {18, 431, 114, 8}},
    {id::kGravityPowerLabel, K::StaticText, "Gravity Power:", {18, 450, 114, 8}},
    {id::kNone, K::GroupBox, "Canvas Properties:", {7, 99, 136, 87}},
    {id::kNone, K::GroupBox, "Particles Properties:", {7, 278, 136, 37}},
    {id::kNone, K::GroupBox, "Particles Movement:", {7, 383, 136, 90}},
    {id::kExpLabel, K::StaticText, "Exp:", {17, 149, 114, 8}},
    {id::kNone, K::GroupBox, "Particle Create Method:", {7, 189, 136, 86}},
    {id::kRadiusLabel, K::StaticText, "Radius:", {18, 215, 114, 8}},
    {id::kPowerLabel, K::StaticText, "Power:", {18, 233, 114, 8}},
    {id::kScatteringLabel, K::StaticText, "Scattering:", {18, 251, 114, 8}},
    {id::kXResLabel, K::StaticText, "X-Res:", {16, 34, 52, 8}},
    {id::kYResLabel, K::StaticText, "Y-Res:", {79, 34, 59, 8}},
    {id::kColorFading, K::Trackbar, "", {14, 338, 126, 11}},
    {id::kColorFadingLabel, K::StaticText, "Speed of Color Fading:", {18, 330, 114, 8}},
    {id::kNone, K::GroupBox, "Particles Color:", {7, 318, 136, 62}},
    {id::kSwatch1 + 0, K::Swatch, "1", {28, 353, 19, 13}},
    {id::kSwatch1 + 1, K::Swatch, "2", {53, 353, 19, 13}},
    {id::kSwatch1 + 2, K::Swatch, "3", {78, 353, 19, 13}},
    {id::kSwatch1 + 3, K::Swatch, "4", {104, 353, 19, 13}},
    {id::kColorRadio1 + 0, K::RadioButton, "", {33, 369, 10, 8}},
    {id::kColorRadio1 + 1, K::RadioButton, "", {57, 369, 10, 8}},
    {id::kColorRadio1 + 2, K::RadioButton, "", {82, 369, 10, 8}},
    {id::kColorRadio1 + 3, K::RadioButton, "", {108, 369, 10, 8}},
};

} // namespace

// Two leading spaces in the caption, as the title bar has always shown it.
const DialogTemplate kPropertiesTemplate = {"  .:: Properties ::.", 150, 503, 8, kControls};

} // namespace lumeno
