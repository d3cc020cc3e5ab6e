#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <utility>

#include <QTest>

#include "dialog_fixture.h"
#include "settings/ui/dialog_units.h"

namespace lumeno::test {
namespace {

TEST_F(DialogTest, TemplateCaptionsFontSizeAndHomePosition)
{
    EXPECT_EQ(dialog.windowTitle(), "  .:: Properties ::.");
    EXPECT_EQ(dialog.font().pointSize(), 8);
    EXPECT_EQ(dialog.size(), DialogSizeToPixels(150, 503, BaseUnitsOf(dialog.font())));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(Button(id::kApply).text(), "Apply");
    EXPECT_EQ(Button(id::kRndCircles).text(), "RND-Circles");
    EXPECT_FALSE(dialog.isModal());
    dialog.ShowAtHomePosition();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.pos(), QPoint(30, 60));
}

TEST_F(DialogTest, FreshStartShowsTheDefaultsTable)
{
    const struct {
        int trackbarId, labelId, position;
        const char* label;
        int min, max;
    } rows[] = {
        {id::kXRes, id::kXResLabel, 2, "X-Res: 1024", 0, 12},
        {id::kYRes, id::kYResLabel, 2, "Y-Res: 768", 0, 10},
        {id::kParticleCount, id::kParticleCountLabel, 27, "Particle Count: 20000", 10, 150},
        {id::kScale, id::kScaleLabel, 3, "Scale: 100%", 0, 6},
        {id::kAlpha, id::kAlphaLabel, 125, "Particles Alpha: 0.250", 0, 500},
        {id::kFadeOut, id::kFadeOutLabel, 100, "Fade Out: 1.000", 0, 100},
        {id::kSpeed, id::kSpeedLabel, 20, "Speed: 1.000", 0, 100},
        {id::kDrag, id::kDragLabel, 452, "Drag Co-Efficient: 0.9900", 10, 500},
        {id::kGravityAmount, id::kGravityAmountLabel, 30, "Gravity Amount: 0.002", 0, 100},
        {id::kGravityPower, id::kGravityPowerLabel, 6, "Gravity Power: 0.300", 0, 100},
        {id::kExp, id::kExpLabel, 501, "Exp: 1.000", 440, 600}, // three decimals on a refresh
        {id::kRadius, id::kRadiusLabel, 774, "Radius: 0.6000", 0, 1000},
        {id::kPower, id::kPowerLabel, 0, "Power: 0.01000", 0, 200}, // 0.01f × 100 truncates to 0
        {id::kScattering, id::kScatteringLabel, 0, "Scattering: 0.00000", 0, 1000},
        {id::kColorFading, id::kColorFadingLabel, 254, "Speed of Color Fading: 6.500", 1, 5000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(Bar(row.trackbarId).value(), row.position);
        EXPECT_EQ(Label(row.labelId).toStdString(), row.label);
        EXPECT_EQ(std::pair(Bar(row.trackbarId).minimum(), Bar(row.trackbarId).maximum()), std::pair(row.min, row.max));
    }
    EXPECT_FALSE(ApplyShown());
    EXPECT_EQ(Checks({id::kAntiAlias, id::kInvert, id::kDebug, id::kMultiThreaded, id::kOneCircle}),
              (std::vector<bool>{true, true, false, false, true}));
    EXPECT_TRUE(Bar(id::kAlpha).tickPosition() == QSlider::NoTicks);
}

TEST_F(DialogTest, UpdateControlsShowsOddRecordsAsTheyAreAndWritesNoSetting)
{
    const auto before = Records();
    dialog.UpdateControls();
    EXPECT_EQ(Records(), before);

    CanvasSettingsRecord().width = 1234;
    CanvasSettingsRecord().format = 99;
    CanvasSettingsRecord().particleCount = 500;
    g_particleSettings.scale = 2.0f;
    g_particleSettings.antiAlias = 7;
    g_particleSettings.fadeOutRatio = std::numeric_limits<float>::quiet_NaN();
    g_particleSettings.radius = -1.0f;
    g_particleSettings.exp = 1e30f;
    g_particleSettings.createMethod = 7;
    g_particleSettings.colorIndex = -1;
    g_particleSettings.colors[0] = {0.3f, 1.5f, -2.0f};
    const auto odd = Records();
    dialog.UpdateControls();
    EXPECT_EQ(Records(), odd);

    // The thumbs sit where the trackbars clamp them; a scale of 2 shows with the thumb at 3.
    EXPECT_EQ(Label(id::kXResLabel), "X-Res: 1234");
    EXPECT_EQ(Label(id::kParticleCountLabel), "Particle Count: 500");
    EXPECT_EQ(Bar(id::kParticleCount).value(), 10);
    EXPECT_EQ(Label(id::kFadeOutLabel), "Fade Out: nan");
    EXPECT_EQ(Bar(id::kFadeOut).value(), 0);
    EXPECT_EQ(Bar(id::kRadius).value(), 0);
    EXPECT_EQ(Bar(id::kExp).value(), 600); // 1000 × (1e27)^0.1 is about 5e8
    EXPECT_EQ(Label(id::kScaleLabel), "Scale: 200%");
    EXPECT_EQ(Bar(id::kScale).value(), 3);
    EXPECT_EQ(Checks({id::kAntiAlias, id::kOneCircle, id::kThreeCircles, id::kRndCircles}),
              (std::vector<bool>(4, false)));

    CanvasSettingsRecord().particleCount = 4000000;
    dialog.UpdateControls();
    EXPECT_EQ(Bar(id::kParticleCount).value(), 150);
    EXPECT_EQ(Label(id::kParticleCountLabel), "Particle Count: 4000000");
}

TEST_F(DialogTest, MovesWriteTheFieldAndLabelAtOnceAndOnlyScaleRedraws)
{
    Move(id::kAlpha, 300);
    EXPECT_EQ(g_particleSettings.alphaIntensity, 0.6000000238418579f);
    EXPECT_EQ(Label(id::kAlphaLabel), "Particles Alpha: 0.600");
    Move(id::kDrag, 10);
    EXPECT_EQ(g_particleSettings.drag, 0.6762433648109436f);
    EXPECT_EQ(Label(id::kDragLabel), "Drag Co-Efficient: 0.6762");
    Move(id::kExp, 600);
    EXPECT_EQ(Label(id::kExpLabel), "Exp: 6.0466");
    Move(id::kColorFading, 5000);
    EXPECT_EQ(g_particleSettings.colorFadingSpeed, 2500.0f);
    EXPECT_EQ(host.redraws, 0);
    EXPECT_FALSE(ApplyShown());

    g_particleSettings.scale = 2.0f;
    dialog.UpdateControls();
    Move(id::kScale, 2); // the move takes the thumb's value, not the loaded 2.0
    EXPECT_EQ(g_particleSettings.scale, 0.5f);
    EXPECT_EQ(Label(id::kScaleLabel), "Scale: 50%");
    Move(id::kScale, 6);
    EXPECT_EQ(g_particleSettings.scale, 8.0f);
    EXPECT_EQ(Label(id::kScaleLabel), "Scale: 800%");
    EXPECT_EQ(host.redraws, 2);
}

TEST_F(DialogTest, TouchingExpWithoutMovingAndKeyboardScrollsWriteTheField)
{
    dialog.show();
    Trackbar& exp = Bar(id::kExp);
    const QPoint thumb = exp.HandleRect().center();
    QTest::mousePress(&exp, Qt::LeftButton, {}, thumb);
    QTest::mouseRelease(&exp, Qt::LeftButton, {}, thumb);
    EXPECT_EQ(exp.value(), 501);
    EXPECT_EQ(g_particleSettings.exp, 0.9962709546089172f);
    EXPECT_EQ(Label(id::kExpLabel), "Exp: 0.9963");

    QTest::keyClick(&Bar(id::kPower), Qt::Key_Right);
    EXPECT_EQ(Bar(id::kPower).value(), 1);
    EXPECT_EQ(g_particleSettings.power, 0.009999999776482582f);
}

TEST_F(DialogTest, CheckBoxesAndCreateMethodRadiosWriteTheirFieldsWhenClicked)
{
    for (int box : {id::kAntiAlias, id::kInvert, id::kDebug})
        Button(box).click();
    const ParticleSettings& p = g_particleSettings;
    EXPECT_EQ(std::tuple(p.antiAlias, p.invert, p.debug), std::tuple(0, false, true));
    Button(id::kAntiAlias).click();
    EXPECT_EQ(g_particleSettings.antiAlias, 1);

    Button(id::kRndCircles).click();
    EXPECT_EQ(g_particleSettings.createMethod, 2);
    Button(id::kThreeCircles).click();
    EXPECT_EQ(g_particleSettings.createMethod, 1);
    EXPECT_EQ(Checks({id::kOneCircle, id::kThreeCircles, id::kRndCircles}), (std::vector<bool>{false, true, false}));
}

// The toggle follows the box, as the key always has: a debug flag loaded from a file that
// the box has not caught up with yet stays set.
TEST_F(DialogTest, ToggleDebugFlipsTheBoxAndTheFieldFollowingTheBox)
{
    for (const bool on : {true, false}) {
        dialog.ToggleDebug();
        EXPECT_EQ(std::pair(Button(id::kDebug).isChecked(), g_particleSettings.debug), std::pair(on, on));
    }
    g_particleSettings.debug = true; // not refreshed into the box
    dialog.ToggleDebug();
    EXPECT_TRUE(g_particleSettings.debug);
}

} // namespace
} // namespace lumeno::test
