#pragma once
// Control ids of the properties dialog (template 130). The dialog binds its controls by
// these numbers, and the tests find the controls by them.

namespace lumeno::control_id {

inline constexpr int kApply = 1004;
inline constexpr int kQuality = 1005;
inline constexpr int kParticleCount = 1006;
inline constexpr int kParticleCountLabel = 1007;
inline constexpr int kScale = 1008;
inline constexpr int kScaleLabel = 1009;
inline constexpr int kAntiAlias = 1010;
inline constexpr int kAlpha = 1011;
inline constexpr int kAlphaLabel = 1012;
inline constexpr int kFadeOut = 1013;
inline constexpr int kFadeOutLabel = 1014;
inline constexpr int kSpeed = 1015;
inline constexpr int kSpeedLabel = 1016;
inline constexpr int kDrag = 1017;
inline constexpr int kDragLabel = 1018;
inline constexpr int kGravityAmount = 1019;
inline constexpr int kGravityAmountLabel = 1020;
inline constexpr int kGravityPower = 1021;
inline constexpr int kGravityPowerLabel = 1022;
inline constexpr int kExp = 1023;
inline constexpr int kExpLabel = 1024;
inline constexpr int kDebug = 1025;
inline constexpr int kXRes = 1026;
inline constexpr int kRadius = 1027;
inline constexpr int kRadiusLabel = 1028;
inline constexpr int kOneCircle = 1029;
inline constexpr int kPower = 1030;
inline constexpr int kPowerLabel = 1031;
inline constexpr int kScattering = 1032;
inline constexpr int kScatteringLabel = 1033;
inline constexpr int kRestoreDefault = 1034;
inline constexpr int kThreeCircles = 1035;
inline constexpr int kRndCircles = 1036;
inline constexpr int kSaveSettings = 1037;
inline constexpr int kXResLabel = 1038;
inline constexpr int kYRes = 1039;
inline constexpr int kYResLabel = 1040;
inline constexpr int kMultiThreaded = 1041;
inline constexpr int kInvert = 1042;
inline constexpr int kColorFading = 1043;
inline constexpr int kColorFadingLabel = 1044;
inline constexpr int kSwatch1 = 1045; // swatches 1045..1048, one per colour slot
inline constexpr int kColorRadio1 = 1049; // colour radios 1049..1052, under the swatches

inline constexpr int kNone = -1; // group boxes and the "Quality:" caption

} // namespace lumeno::control_id
