#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QTest>
#include <QTimer>

#include "dialog_fixture.h"
#include "particles/fake_engine.h"
#include "particles/particle_system.h"
#include "settings/ui/color_button.h"
#include "settings/ui/color_conversion.h"
#include "settings/ui/common_color_dialog.h"

namespace lumeno::test {
namespace {

// Stands in for the colour dialog: answers with a fixed colour, or cancels.
class ScriptedPicker {
public:
    explicit ScriptedPicker(std::optional<COLORREF> answer)
        : m_previous(CColorButton::SetColorPicker([this, answer](COLORREF initial, QWidget*) {
              initialColors.push_back(initial);
              return answer;
          }))
    {
    }
    ~ScriptedPicker() { CColorButton::SetColorPicker(m_previous); }

    std::vector<COLORREF> initialColors;

private:
    CColorButton::ColorPicker m_previous;
};

class SwatchTest : public DialogTest {
protected:
    CColorButton& Swatch(int slot) const { return *dialog.ControlAs<CColorButton>(id::kSwatch1 + slot); }
    QAbstractButton& Radio(int index) const { return Button(id::kColorRadio1 + index); }
    std::vector<bool> RadioChecks() const
    {
        return Checks({id::kColorRadio1, id::kColorRadio1 + 1, id::kColorRadio1 + 2, id::kColorRadio1 + 3});
    }

    FakeEngine engine;
    CParticleSystem particles{engine};
};

TEST_F(SwatchTest, DefaultsShowRedGreenBlueWithTheFourthRadioChecked)
{
    EXPECT_EQ(std::tuple(Swatch(0).GetColor(), Swatch(1).GetColor(), Swatch(2).GetColor()),
              std::tuple(MakeColorRef(255, 0, 0), MakeColorRef(0, 255, 0), MakeColorRef(0, 0, 255)));
    EXPECT_EQ(RadioChecks(), (std::vector<bool>{false, false, false, true}));
    EXPECT_TRUE(Swatch(0).IsEditable() && !Swatch(3).IsEditable());
    EXPECT_EQ(Swatch(3).text(), "4");
}

TEST_F(SwatchTest, PickedColourGoesIntoItsSlotAsWholeBytesAndACancelStoresTheTruncatedByte)
{
    ScriptedPicker picker(MakeColorRef(128, 64, 32));
    Swatch(1).click();
    EXPECT_EQ(picker.initialColors, std::vector<COLORREF>{MakeColorRef(0, 255, 0)});
    const ColorRGB& picked = g_particleSettings.colors[1];
    EXPECT_EQ(std::tuple(picked.r, picked.g, picked.b),
              std::tuple(0.501960813999176f, 0.250980406999588f, 0.125490203499794f));
    EXPECT_EQ(g_particleSettings.colorIndex, 3); // no blend, no slot change
    dialog.UpdateControls();
    EXPECT_EQ(Swatch(1).GetColor(), MakeColorRef(128, 64, 32));

    g_particleSettings.colors[2] = {0.3f, 0.0f, 1.0f};
    dialog.UpdateControls();
    ScriptedPicker cancel(std::nullopt);
    Swatch(2).click();
    EXPECT_EQ(cancel.initialColors.size(), 1u);
    EXPECT_EQ(g_particleSettings.colors[2].r, 0.2980392277240753f); // 76 × 1/255
    EXPECT_EQ(g_particleSettings.colors[2].b, 1.0f);
}

TEST_F(SwatchTest, PickColorIsTrueOnlyForADifferentConfirmedColourAndSwatchFourOpensNone)
{
    {
        ScriptedPicker same(MakeColorRef(255, 0, 0));
        EXPECT_FALSE(Swatch(0).PickColor());
    }
    ScriptedPicker other(MakeColorRef(1, 2, 3));
    EXPECT_TRUE(Swatch(0).PickColor());
    EXPECT_EQ(Swatch(0).GetColor(), MakeColorRef(1, 2, 3));
    const auto before = Records();
    Swatch(3).click();
    EXPECT_EQ(other.initialColors.size(), 1u);
    EXPECT_EQ(Records(), before);
}

TEST_F(SwatchTest, ColourRadiosSetTheIndexWithoutAnEngineAndSyncChecksTheIndexOrNone)
{
    Radio(2).click();
    EXPECT_EQ(g_particleSettings.colorIndex, 2);
    EXPECT_EQ(RadioChecks(), (std::vector<bool>{false, false, true, false}));
    g_particleSettings.colorIndex = 1;
    dialog.SyncColorRadios();
    EXPECT_EQ(RadioChecks(), (std::vector<bool>{false, true, false, false}));
    g_particleSettings.colorIndex = 7;
    dialog.SyncColorRadios();
    EXPECT_EQ(RadioChecks(), (std::vector<bool>{false, false, false, false}));
    Radio(0).click(); // the set still works after all were cleared
    EXPECT_EQ(RadioChecks(), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(g_particleSettings.colorIndex, 0);
}

TEST_F(SwatchTest, ColourRadioStartsTheBlend)
{
    host.particles = &particles;
    particles.UpdateColor(); // settled on slot 0, red
    Radio(1).click();
    EXPECT_EQ(g_particleSettings.colorIndex, 1);
    particles.UpdateColor();
    particles.UpdateColor();
    // Part of the way from red to green: a blend, not a jump.
    EXPECT_GT(particles.CurrentColor()[1], 0.0f);
    EXPECT_LT(particles.CurrentColor()[1], 1.0f);
}

TEST_F(SwatchTest, SwatchFourShowsWhiteWithoutAParticleSystemAndThenTheCyclingColour)
{
    EXPECT_EQ(Swatch(3).GetColor(), 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Swatch(3).GetColor() == MakeColorRef(255, 255, 255); }));
    host.particles = &particles;
    engine.frameCount = 1000;
    particles.UpdateColor();
    float cycle[4];
    particles.GetCycleColor(cycle);
    const COLORREF expected = ColorRefFromFloats(cycle[0], cycle[1], cycle[2]);
    ASSERT_NE(expected, MakeColorRef(255, 255, 255));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Swatch(3).GetColor() == expected; }));
}

// --- Drawing -------------------------------------------------------------------------

QRgb Pixel(CColorButton& swatch, int x, int y) { return swatch.grab().toImage().pixel(x, y); }

TEST_F(SwatchTest, ColourFillsTheSwatchFivePixelsInAPressedOneSinksADisabledOneIsCheckered)
{
    CColorButton& swatch = Swatch(0);
    const QRgb red = qRgb(255, 0, 0);
    QRgb face = swatch.palette().color(QPalette::Button).rgb();
    const int right = swatch.width() - 6, bottom = swatch.height() - 6;
    EXPECT_EQ(Pixel(swatch, 5, 5), red);
    EXPECT_EQ(Pixel(swatch, right, bottom), red);
    EXPECT_NE(Pixel(swatch, 4, 4), red);
    EXPECT_NE(Pixel(swatch, right + 1, bottom + 1), red);
    EXPECT_EQ(Pixel(swatch, 0, 0), face);
    EXPECT_EQ(Pixel(swatch, 2, 2), face); // the face-coloured outline

    const QRgb raised = Pixel(swatch, 3, 3);
    swatch.setDown(true);
    EXPECT_NE(Pixel(swatch, 3, 3), raised);
    swatch.setDown(false);

    swatch.setEnabled(false);
    face = swatch.palette().color(QPalette::Button).rgb();
    EXPECT_EQ(Pixel(swatch, 5, 5), face);
    EXPECT_EQ(Pixel(swatch, 6, 5), red);
    EXPECT_EQ(Pixel(swatch, 6, 6), face);
}

TEST_F(SwatchTest, FocusedSwatchHasADottedRing)
{
    dialog.ShowAtHomePosition();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    CColorButton& swatch = Swatch(0);
    swatch.setFocus();
    ASSERT_TRUE(swatch.hasFocus());
    const QRgb text = swatch.palette().color(QPalette::ButtonText).rgb();
    const QRgb face = swatch.palette().color(QPalette::Button).rgb();
    EXPECT_EQ(Pixel(swatch, 0, 0), text);
    EXPECT_EQ(Pixel(swatch, 1, 0), face);
    EXPECT_EQ(Pixel(swatch, 2, 0), text);
}

// --- The common colour dialog ----------------------------------------------------------

// Acts on the colour dialog once it runs modally.
void WhenColorDialogOpens(std::function<void(QColorDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget()))
            act(*dialog);
        else
            WhenColorDialogOpens(act);
    });
}

TEST(CommonColorDialog, CustomColoursStartWhiteAndAreSharedByEveryOpening)
{
    for (QRgb color : CustomColors())
        EXPECT_EQ(color, qRgb(255, 255, 255));

    QRgb seenCustom = 0;
    QColor seenInitial;
    WhenColorDialogOpens([&](QColorDialog& dialog) {
        seenCustom = QColorDialog::customColor(3).rgb();
        seenInitial = dialog.currentColor();
        QColorDialog::setCustomColor(3, QColor(1, 2, 3));
        dialog.setCurrentColor(QColor(128, 64, 32));
        dialog.accept();
    });
    EXPECT_EQ(RunCommonColorDialog(MakeColorRef(10, 20, 30), nullptr), MakeColorRef(128, 64, 32));
    EXPECT_EQ(seenCustom, qRgb(255, 255, 255));
    EXPECT_EQ(seenInitial, QColor(10, 20, 30));
    EXPECT_EQ(CustomColors()[3], qRgb(1, 2, 3));

    WhenColorDialogOpens([&](QColorDialog& dialog) {
        seenCustom = QColorDialog::customColor(3).rgb();
        dialog.reject();
    });
    EXPECT_EQ(RunCommonColorDialog(0, nullptr), std::nullopt);
    EXPECT_EQ(seenCustom, qRgb(1, 2, 3));
    CustomColors().fill(qRgb(255, 255, 255));
}

} // namespace
} // namespace lumeno::test
