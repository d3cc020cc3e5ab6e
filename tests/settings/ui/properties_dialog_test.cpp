#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialog_fixture.h"
#include "settings/ui/dialog_units.h"
#include "settings/ui/properties_template.h"

namespace lumeno::test {
namespace {

// --- Layout --------------------------------------------------------------------------

TEST_F(DialogTest, TemplateLaysOutThroughTheFontsBaseUnits)
{
    EXPECT_EQ(dialog.windowTitle(), "  .:: Properties ::.");
    EXPECT_EQ(dialog.font().pointSize(), 8);
    const DialogBaseUnits units = BaseUnitsOf(dialog.font());
    EXPECT_EQ(dialog.size(), DialogSizeToPixels(150, 503, units));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    for (const TemplateControl& control : kPropertiesTemplate.controls) {
        if (control.id == id::kNone || control.kind == ControlKind::ComboBox)
            continue;
        EXPECT_EQ(dialog.Control(control.id)->geometry(), DialogRectToPixels(control.rect, units)) << control.id;
    }
    EXPECT_EQ(dialog.ControlAs<QPushButton>(id::kApply)->text(), "Apply");
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(id::kRndCircles)->text(), "RND-Circles");
    EXPECT_FALSE(dialog.isModal());
}

TEST_F(DialogTest, TabOrderIsTemplateOrder)
{
    std::vector<int> expected;
    for (const TemplateControl& control : kPropertiesTemplate.controls) {
        if (control.id != id::kNone)
            expected.push_back(control.id);
    }
    std::vector<int> chain;
    QWidget* widget = dialog.Control(expected.front());
    for (std::size_t i = 0; i < 200 && chain.size() < expected.size(); ++i, widget = widget->nextInFocusChain()) {
        for (int controlId : expected) {
            if (dialog.Control(controlId) == widget)
                chain.push_back(controlId);
        }
    }
    EXPECT_EQ(chain, expected);
}

TEST_F(DialogTest, ShowAtHomePositionPutsItAt30By60)
{
    dialog.ShowAtHomePosition();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.pos(), QPoint(30, 60));
}

// --- UpdateControls ------------------------------------------------------------------

TEST_F(DialogTest, FreshStartShowsTheDefaultsTable)
{
    struct Row {
        int trackbarId, labelId, position;
        const char* label;
    };
    const Row rows[] = {
        {id::kXRes, id::kXResLabel, 2, "X-Res: 1024"},
        {id::kYRes, id::kYResLabel, 2, "Y-Res: 768"},
        {id::kParticleCount, id::kParticleCountLabel, 27, "Particle Count: 20000"},
        {id::kScale, id::kScaleLabel, 3, "Scale: 100%"},
        {id::kAlpha, id::kAlphaLabel, 125, "Particles Alpha: 0.250"},
        {id::kFadeOut, id::kFadeOutLabel, 100, "Fade Out: 1.000"},
        {id::kSpeed, id::kSpeedLabel, 20, "Speed: 1.000"},
        {id::kDrag, id::kDragLabel, 452, "Drag Co-Efficient: 0.9900"},
        {id::kGravityAmount, id::kGravityAmountLabel, 30, "Gravity Amount: 0.002"},
        {id::kGravityPower, id::kGravityPowerLabel, 6, "Gravity Power: 0.300"},
        {id::kExp, id::kExpLabel, 501, "Exp: 1.000"},
        {id::kRadius, id::kRadiusLabel, 774, "Radius: 0.6000"},
        {id::kPower, id::kPowerLabel, 0, "Power: 0.01000"},
        {id::kScattering, id::kScatteringLabel, 0, "Scattering: 0.00000"},
        {id::kColorFading, id::kColorFadingLabel, 254, "Speed of Color Fading: 6.500"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Bar(row.trackbarId).value(), row.position) << row.label;
        EXPECT_EQ(Label(row.labelId).toStdString(), row.label);
    }
    EXPECT_FALSE(ApplyShown());
    EXPECT_TRUE(dialog.ControlAs<QCheckBox>(id::kAntiAlias)->isChecked());
    EXPECT_TRUE(dialog.ControlAs<QCheckBox>(id::kInvert)->isChecked());
    EXPECT_FALSE(dialog.ControlAs<QCheckBox>(id::kDebug)->isChecked());
    EXPECT_FALSE(dialog.ControlAs<QCheckBox>(id::kMultiThreaded)->isChecked());
    EXPECT_TRUE(dialog.ControlAs<QRadioButton>(id::kOneCircle)->isChecked());
    EXPECT_TRUE(Bar(id::kAlpha).tickPosition() == QSlider::NoTicks);
}

TEST_F(DialogTest, UpdateControlsWritesNoSettingEvenFromOddRecords)
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

    // Shown as they are; the thumbs sit where the trackbars clamp them.
    EXPECT_EQ(Label(id::kXResLabel), "X-Res: 1234");
    EXPECT_EQ(Label(id::kParticleCountLabel), "Particle Count: 500");
    EXPECT_EQ(Bar(id::kParticleCount).value(), 10);
    EXPECT_EQ(Label(id::kFadeOutLabel), "Fade Out: nan");
    EXPECT_EQ(Bar(id::kFadeOut).value(), 0);
    EXPECT_EQ(Bar(id::kRadius).value(), 0);
    EXPECT_EQ(Bar(id::kExp).value(), 600); // 1000 × (1e27)^0.1 is about 5e8
    EXPECT_FALSE(dialog.ControlAs<QCheckBox>(id::kAntiAlias)->isChecked());
    for (int radio : {id::kOneCircle, id::kThreeCircles, id::kRndCircles})
        EXPECT_FALSE(dialog.ControlAs<QRadioButton>(radio)->isChecked());
}

TEST_F(DialogTest, ParticleCountAboveTheRangeSitsAtTheEnd)
{
    CanvasSettingsRecord().particleCount = 4000000;
    dialog.UpdateControls();
    EXPECT_EQ(Bar(id::kParticleCount).value(), 150);
    EXPECT_EQ(Label(id::kParticleCountLabel), "Particle Count: 4000000");
}

TEST_F(DialogTest, LoadedScaleOfTwoShowsTwoHundredPercentWithTheThumbAtThree)
{
    g_particleSettings.scale = 2.0f;
    dialog.UpdateControls();
    EXPECT_EQ(Label(id::kScaleLabel), "Scale: 200%");
    EXPECT_EQ(Bar(id::kScale).value(), 3);

    Move(id::kScale, 2); // the next move takes the thumb's value, not 2.0
    EXPECT_EQ(g_particleSettings.scale, 0.5f);
    EXPECT_EQ(Label(id::kScaleLabel), "Scale: 50%");
}

// --- Moves ---------------------------------------------------------------------------

TEST_F(DialogTest, MovesWriteTheFieldAndLabelAtOnce)
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
}

TEST_F(DialogTest, ScaleMoveRedrawsTheMainWindow)
{
    Move(id::kScale, 6);
    EXPECT_EQ(g_particleSettings.scale, 8.0f);
    EXPECT_EQ(Label(id::kScaleLabel), "Scale: 800%");
    EXPECT_EQ(host.redraws, 1);
}

TEST_F(DialogTest, TouchingExpWithoutMovingWritesWhatThePositionStandsFor)
{
    dialog.show();
    Trackbar& exp = Bar(id::kExp);
    const QPoint thumb = exp.HandleRect().center();
    QTest::mousePress(&exp, Qt::LeftButton, {}, thumb);
    QTest::mouseRelease(&exp, Qt::LeftButton, {}, thumb);
    EXPECT_EQ(exp.value(), 501);
    EXPECT_EQ(g_particleSettings.exp, 0.9962709546089172f);
    EXPECT_EQ(Label(id::kExpLabel), "Exp: 0.9963");
}

TEST_F(DialogTest, KeyboardScrollWritesTheField)
{
    dialog.show();
    Trackbar& power = Bar(id::kPower);
    QTest::keyClick(&power, Qt::Key_Right);
    EXPECT_EQ(power.value(), 1);
    EXPECT_EQ(g_particleSettings.power, 0.009999999776482582f);
    EXPECT_EQ(Label(id::kPowerLabel), "Power: 0.01000");
}

// --- Check boxes and create method ----------------------------------------------------

TEST_F(DialogTest, CheckBoxesWriteTheirFieldsWhenClicked)
{
    dialog.ControlAs<QCheckBox>(id::kAntiAlias)->click();
    EXPECT_EQ(g_particleSettings.antiAlias, 0);
    dialog.ControlAs<QCheckBox>(id::kInvert)->click();
    EXPECT_FALSE(g_particleSettings.invert);
    dialog.ControlAs<QCheckBox>(id::kDebug)->click();
    EXPECT_TRUE(g_particleSettings.debug);
    dialog.ControlAs<QCheckBox>(id::kAntiAlias)->click();
    EXPECT_EQ(g_particleSettings.antiAlias, 1);
}

TEST_F(DialogTest, CreateMethodRadiosWriteTheMethod)
{
    dialog.ControlAs<QRadioButton>(id::kRndCircles)->click();
    EXPECT_EQ(g_particleSettings.createMethod, 2);
    EXPECT_FALSE(dialog.ControlAs<QRadioButton>(id::kOneCircle)->isChecked());
    dialog.ControlAs<QRadioButton>(id::kThreeCircles)->click();
    EXPECT_EQ(g_particleSettings.createMethod, 1);
    EXPECT_FALSE(dialog.ControlAs<QRadioButton>(id::kRndCircles)->isChecked());
}

TEST_F(DialogTest, ToggleDebugFlipsTheBoxAndTheField)
{
    dialog.ToggleDebug();
    EXPECT_TRUE(dialog.ControlAs<QCheckBox>(id::kDebug)->isChecked());
    EXPECT_TRUE(g_particleSettings.debug);
    dialog.ToggleDebug();
    EXPECT_FALSE(dialog.ControlAs<QCheckBox>(id::kDebug)->isChecked());
    EXPECT_FALSE(g_particleSettings.debug);
}

// A debug flag loaded from a file that the box has not caught up with yet: the toggle
// follows the box, as the key always has.
TEST_F(DialogTest, ToggleDebugFollowsTheBoxNotTheField)
{
    g_particleSettings.debug = true; // not refreshed into the box
    dialog.ToggleDebug();
    EXPECT_TRUE(g_particleSettings.debug);
}

} // namespace
} // namespace lumeno::test
