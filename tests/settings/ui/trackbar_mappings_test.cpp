#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>
#include <utility>

#include "settings/ui/control_ids.h"
#include "settings/ui/trackbar_mappings.h"

namespace lumeno {
namespace {

namespace id = control_id;

const FloatTrackbar& Row(int trackbarId)
{
    const FloatTrackbar* row = FindFloatTrackbar(trackbarId);
    EXPECT_NE(row, nullptr) << trackbarId;
    return *row;
}

// One position, the float it writes, the label after the move, and the position that
// float shows at again (not always the same: conversions truncate). Expected values
// computed apart from this code, from the single-precision constants.
const struct {
    int trackbarId;
    int position;
    float value;
    const char* label;
    int positionBack;
} kMoves[] = {
    {id::kAlpha, 0, 0.0f, "Particles Alpha: 0.000", 0},
    {id::kAlpha, 1, 0.0020000000949949026f, "Particles Alpha: 0.002", 1},
    {id::kAlpha, 300, 0.6000000238418579f, "Particles Alpha: 0.600", 300},
    {id::kAlpha, 500, 1.0f, "Particles Alpha: 1.000", 500},
    {id::kFadeOut, 1, 0.10000000149011612f, "Fade Out: 0.100", 1},
    {id::kFadeOut, 50, 0.7071067690849304f, "Fade Out: 0.707", 49},
    {id::kFadeOut, 100, 1.0f, "Fade Out: 1.000", 100},
    {id::kSpeed, 7, 0.3499999940395355f, "Speed: 0.350", 6},
    {id::kSpeed, 100, 5.0f, "Speed: 5.000", 100},
    {id::kDrag, 10, 0.6762433648109436f, "Drag Co-Efficient: 0.6762", 10},
    {id::kDrag, 452, 0.9899581670761108f, "Drag Co-Efficient: 0.9900", 451},
    {id::kDrag, 500, 1.0f, "Drag Co-Efficient: 1.0000", 500},
    {id::kGravityAmount, 30, 0.001500000013038516f, "Gravity Amount: 0.002", 30},
    {id::kGravityAmount, 100, 0.004999999888241291f, "Gravity Amount: 0.005", 99},
    {id::kGravityPower, 6, 0.30000001192092896f, "Gravity Power: 0.300", 6},
    {id::kGravityPower, 100, 5.0f, "Gravity Power: 5.000", 100},
    {id::kExp, 440, 0.27197372913360596f, "Exp: 0.2720", 440},
    {id::kExp, 501, 0.9962709546089172f, "Exp: 0.9963", 501},
    {id::kExp, 600, 6.0466203689575195f, "Exp: 6.0466", 600},
    {id::kRadius, 774, 0.5990760326385498f, "Radius: 0.5991", 774},
    {id::kRadius, 1000, 1.0000001192092896f, "Radius: 1.0000", 1000},
    {id::kPower, 1, 0.009999999776482582f, "Power: 0.01000", 0},
    {id::kPower, 200, 2.0f, "Power: 2.00000", 200},
    {id::kScattering, 500, 9.76562932919478e-06f, "Scattering: 0.00001", 500},
    {id::kScattering, 1000, 0.010000004433095455f, "Scattering: 0.01000", 1000},
    {id::kColorFading, 1, 9.999999747378752e-05f, "Speed of Color Fading: 0.000", 0},
    {id::kColorFading, 254, 6.451599597930908f, "Speed of Color Fading: 6.452", 253},
    {id::kColorFading, 5000, 2500.0f, "Speed of Color Fading: 2500.000", 5000},
};

// Exp alone refreshes with other decimals than a move writes: four after a move, three on
// a refresh.
TEST(TrackbarMappings, PositionsWriteTheFloatsAndLabelsOfTheTable)
{
    for (const auto& move : kMoves) {
        const FloatTrackbar& row = Row(move.trackbarId);
        const float value = row.valueFromPosition(move.position);
        EXPECT_EQ(value, move.value) << move.label;
        EXPECT_EQ(FormatLabel(row.moveFormat, double{value}), move.label);
        EXPECT_EQ(row.positionFromValue(value), move.positionBack) << move.label;
    }
    EXPECT_EQ(FormatLabel(Row(id::kExp).refreshFormat, double{0.9962709546089172f}), "Exp: 0.996");
    for (const FloatTrackbar& row : kFloatTrackbars)
        EXPECT_TRUE(row.trackbarId == id::kExp || std::string(row.moveFormat) == row.refreshFormat) << row.moveFormat;
}

TEST(TrackbarMappings, ParticleCountIsTheCubeOfThePosition)
{
    for (const auto& [position, count] : {std::pair{10, 1000}, {27, 19683}, {28, 21952}, {150, 3375000}})
        EXPECT_EQ(ParticleCountFromPosition(position), count) << position;
    // Cube roots truncated; out of range (500, -8) the trackbar clamps them to 10 and 150.
    for (const auto& [count, position] : {std::pair{20000, 27}, {21952, 28}, {3375000, 150}, {500, 7}, {-8, INT_MIN}})
        EXPECT_EQ(PositionFromParticleCount(count), position) << count;
    EXPECT_EQ(FormatLabel(kParticleCountFormat, 20000), "Particle Count: 20000");
}

TEST(TrackbarMappings, ScalePositionsAreThePowersOfTwoAroundThree)
{
    const char* labels[] = {"Scale: 12%", "Scale: 25%", "Scale: 50%", "Scale: 100%",
                            "Scale: 200%", "Scale: 400%", "Scale: 800%"};
    const float scales[] = {0.125f, 0.25f, 0.5f, 1.0f, 2.0f, 4.0f, 8.0f};
    for (int p = kScaleRange.min; p <= kScaleRange.max; ++p)
        EXPECT_TRUE(ScaleFromPosition(p) == scales[p] && ScaleLabel(ScaleFromPosition(p)) == labels[p]) << p;
    EXPECT_EQ(ScaleLabel(0.3f), "Scale: 30%");
}

TEST(TrackbarMappings, ValuesNoIntCanHoldBecomeTheLowestInt)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();
    for (const auto& [value, truncated] : {std::pair{-0.99, 0}, {2147483647.9, INT_MAX}, {-2147483648.9, INT_MIN},
                                          {2147483648.0, INT_MIN}, {kNaN, INT_MIN}, {kInf, INT_MIN}})
        EXPECT_EQ(TruncateToInt(value), truncated) << value;
    // A hand-edited file's values: shown as they are, never a crash.
    EXPECT_EQ(Row(id::kFadeOut).positionFromValue(std::numeric_limits<float>::quiet_NaN()), INT_MIN);
    EXPECT_EQ(Row(id::kRadius).positionFromValue(-1.0f), INT_MIN);
    EXPECT_EQ(ScaleLabel(1e30f), "Scale: -2147483648%");
    EXPECT_EQ(FormatLabel(Row(id::kSpeed).refreshFormat, double{-1e30f}), "Speed: -1000000015047466219876688855040.000");
}

} // namespace
} // namespace lumeno
