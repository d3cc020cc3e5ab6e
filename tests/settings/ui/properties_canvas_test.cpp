// The canvas controls are staged: they show the Apply button, and only Apply writes them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <QComboBox>
#include <QTest>

#include "dialog_fixture.h"
#include "support/message_box_recorder.h"
#include "support/temp_folder.h"

namespace lumeno::test {
namespace {

class CanvasControlsTest : public DialogTest {
protected:
    CanvasControlsTest()
    {
        CanvasSettingsRecord().format = kFormatRGBA8; // independent of what the probe found
        dialog.UpdateControls();
    }

    QComboBox& Quality() const { return *dialog.ControlAs<QComboBox>(id::kQuality); }
    void ChooseNextQuality() { QTest::keyClick(&Quality(), Qt::Key_Down); }
};

// Runs the test in a folder of its own, where the settings file would be written.
struct InTempFolder : TempFolder {
    const std::filesystem::path previous = std::filesystem::current_path();
    InTempFolder() { std::filesystem::current_path(Path()); }
    ~InTempFolder() { std::filesystem::current_path(previous); }
};

TEST_F(CanvasControlsTest, EachStagedControlShowsApplyAndUpdateControlsHidesIt)
{
    const auto before = Records();
    const std::function<void()> stages[] = {
        [&] { Move(id::kXRes, 5); },
        [&] { Move(id::kYRes, 10); },
        [&] { Move(id::kParticleCount, 28); },
        [&] { Button(id::kMultiThreaded).click(); },
        [&] { ChooseNextQuality(); },
    };
    for (const auto& stage : stages) {
        stage();
        EXPECT_TRUE(ApplyShown());
        EXPECT_EQ(Records(), before);
        dialog.UpdateControls();
        EXPECT_FALSE(ApplyShown());
        EXPECT_EQ(Label(id::kXResLabel), "X-Res: 1024");
    }
    EXPECT_EQ(host.rebuilds, 0);
}

TEST_F(CanvasControlsTest, ApplyTakesAllFourFromTheControlsBeforeTheRebuild)
{
    Move(id::kXRes, 5);
    Move(id::kYRes, 8);
    ChooseNextQuality();
    Button(id::kMultiThreaded).click();
    CanvasSettings atRebuild{};
    host.onRebuild = [&] { atRebuild = CanvasSettingsRecord(); };
    Button(id::kApply).click();
    EXPECT_EQ(atRebuild.width, 1280);
    EXPECT_EQ(atRebuild.height, 1200);
    EXPECT_EQ(atRebuild.format, kFormatRGBA16F);
    EXPECT_EQ(atRebuild.particleCount, 19683); // untouched, 20000 sat at 27: Apply makes it 27³
    EXPECT_TRUE(atRebuild.multiThreaded);
    EXPECT_FALSE(ApplyShown());

    Move(id::kParticleCount, 28);
    EXPECT_EQ(Label(id::kParticleCountLabel), "Particle Count: 21952");
    Button(id::kApply).click();
    EXPECT_EQ(CanvasSettingsRecord().particleCount, 21952);
    EXPECT_EQ(host.rebuilds, 2);
}

TEST_F(CanvasControlsTest, EveryResolutionPositionShowsAndAppliesItsTableEntry)
{
    const struct {
        int trackbar, label;
        std::string prefix;
        std::vector<int> sizes; // one per thumb position
        std::int32_t CanvasSettings::*field;
    } axes[] = {
        {id::kXRes, id::kXResLabel, "X-Res: ",
         {800, 960, 1024, 1080, 1152, 1280, 1360, 1440, 1600, 1680, 1920, 2048, 2560}, &CanvasSettings::width},
        {id::kYRes, id::kYResLabel, "Y-Res: ", {600, 720, 768, 864, 900, 960, 1024, 1050, 1200, 1536, 2048},
         &CanvasSettings::height},
    };
    for (const auto& axis : axes) {
        const int last = static_cast<int>(axis.sizes.size()) - 1;
        for (int position = 0; position <= last; ++position) {
            SCOPED_TRACE(position);
            const int size = axis.sizes[static_cast<std::size_t>(position)];
            Move(axis.trackbar, position);
            EXPECT_EQ(Label(axis.label).toStdString(), axis.prefix + std::to_string(size));
            Button(id::kApply).click();
            EXPECT_EQ(CanvasSettingsRecord().*axis.field, size);
            // And back: the record's size puts the thumb on its entry.
            Move(axis.trackbar, position == last ? 0 : last);
            dialog.UpdateControls();
            EXPECT_EQ(Bar(axis.trackbar).value(), position);
        }
    }
}

TEST_F(CanvasControlsTest, TrackbarsHaveTheirRangesBeforeTheFirstRefresh)
{
    CPropertiesDialog fresh(host);
    auto* xRes = fresh.ControlAs<Trackbar>(id::kXRes);
    xRes->setValue(99);
    EXPECT_EQ(xRes->value(), 12);
    EXPECT_EQ(fresh.ControlAs<QLabel>(id::kXResLabel)->text(), "X-Res: 2560");
    EXPECT_EQ(fresh.ControlAs<Trackbar>(id::kColorFading)->minimum(), 1);
}

TEST_F(CanvasControlsTest, LoadedValuesMissingFromTheTablesKeepTheControlsAndApplyTakesThem)
{
    CanvasSettingsRecord().width = 1280;
    dialog.UpdateControls();
    CanvasSettingsRecord().width = 1234;
    CanvasSettingsRecord().format = 99;
    dialog.UpdateControls();
    EXPECT_EQ(Label(id::kXResLabel), "X-Res: 1234");
    EXPECT_EQ(Bar(id::kXRes).value(), 5);
    EXPECT_EQ(Quality().currentIndex(), -1);
    ASSERT_EQ(Quality().count(), 3);
    EXPECT_EQ(Quality().itemText(0), "Integer(8bit)");
    EXPECT_EQ(Quality().itemText(1), "Float(16bit)");
    EXPECT_EQ(Quality().itemText(2), "Float(32bit)");
    Button(id::kApply).click();
    EXPECT_EQ(CanvasSettingsRecord().width, 1280);
    EXPECT_EQ(CanvasSettingsRecord().format, 99);
}

TEST_F(CanvasControlsTest, QualityTheDeviceCannotBlendWarnsAndStaysSelected)
{
    MessageBoxRecorder boxes;
    host.blendable = false;
    ChooseNextQuality();
    EXPECT_EQ(host.askedFormats, std::vector<int>{kFormatRGBA16F});
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              "Your video card does not support alpha blending for this quality type.\nSelect lower quality.");
    EXPECT_EQ(boxes.Boxes()[0].title, "Warning");
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(boxes.Boxes()[0].owner, &dialog) << "the box belongs to the dialog";
    EXPECT_EQ(Quality().currentIndex(), 1);
    EXPECT_TRUE(ApplyShown());
    Button(id::kApply).click();
    EXPECT_EQ(CanvasSettingsRecord().format, kFormatRGBA16F);
    host.blendable = true;
    ChooseNextQuality();
    EXPECT_EQ(boxes.Boxes().size(), 1u) << "no box for a quality the device can blend";
}

TEST_F(CanvasControlsTest, RestoreDefaultResetsBothRecordsRefreshesThenRebuilds)
{
    InTempFolder folder;
    const auto defaults = EncodeSettings(CanvasSettings(), ParticleSettings());
    CanvasSettingsRecord().width = 800;
    g_particleSettings.scale = 4.0f;
    g_particleSettings.colorIndex = 1;
    dialog.UpdateControls();
    Move(id::kParticleCount, 100);

    std::string xResAtRebuild;
    bool applyShownAtRebuild = true;
    host.onRebuild = [&] {
        xResAtRebuild = Label(id::kXResLabel).toStdString();
        applyShownAtRebuild = ApplyShown();
    };
    Button(id::kRestoreDefault).click();
    EXPECT_EQ(Records(), defaults);
    EXPECT_EQ(host.rebuilds, 1);
    EXPECT_EQ(xResAtRebuild, "X-Res: 1024");
    EXPECT_FALSE(applyShownAtRebuild);
    EXPECT_EQ(Label(id::kScaleLabel), "Scale: 100%");
    EXPECT_FALSE(std::filesystem::exists(kSettingsFileName));
}

TEST_F(CanvasControlsTest, SaveSettingsWritesBothRecords)
{
    InTempFolder folder;
    g_particleSettings.speed = 2.5f;
    Button(id::kSaveSettings).click();
    std::ifstream file(kSettingsFileName, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const auto expected = Records();
    EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(expected.data()), expected.size()));
    EXPECT_EQ(host.rebuilds, 0);
}

} // namespace
} // namespace lumeno::test
