// Randomise and Undo Randomise in the Lumeno! menu, with N and Ctrl+Z: the look changes in
// place (no rebuild, the canvas record as it was), the properties dialog shows it, and
// the undo puts the record back byte for byte, once.

#include <QLabel>

#include "app_fixture.h"
#include "engine_lifetime.h"
#include "settings/ui/trackbar_mappings.h"

namespace lumeno::test {
namespace {

std::vector<std::byte> RecordsBytes() { return EncodeSettings(CanvasSettingsRecord(), g_particleSettings); }

class RandomiseTest : public AppTest {
protected:
    QString SpeedLabel() const { return Frame().PropertiesDialog()->ControlAs<QLabel>(control_id::kSpeedLabel)->text(); }
    QString ShownSpeed() const { return QString::fromStdString(FormatLabel("Speed: %3.3f", double{g_particleSettings.speed})); }
};

TEST_F(RandomiseTest, TheMenuItemsChangeTheLookInPlaceAndUndoPutsItBackOnce)
{
    Start();
    ASSERT_NE(g_engine, nullptr);
    const std::uint64_t generation = g_engine->Generation();
    const std::vector<std::byte> before = RecordsBytes();
    QAction* randomise = MenuItem("Randomise");
    QAction* undo = MenuItem("Undo Randomise");
    ASSERT_TRUE(randomise && undo);
    EXPECT_EQ(randomise->shortcut(), QKeySequence(Qt::Key_N));
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_TRUE(randomise->isEnabled());
    EXPECT_FALSE(undo->isEnabled()) << "nothing to undo yet";

    randomise->trigger();
    const std::vector<std::byte> drawn = RecordsBytes();
    EXPECT_NE(drawn, before);
    EXPECT_TRUE(std::equal(drawn.begin(), drawn.begin() + 17, before.begin())) << "the canvas record stays";
    ASSERT_NE(g_engine, nullptr);
    EXPECT_EQ(g_engine->Generation(), generation) << "no rebuild";
    EXPECT_EQ(SpeedLabel(), ShownSpeed());
    EXPECT_TRUE(undo->isEnabled());

    undo->trigger();
    EXPECT_EQ(RecordsBytes(), before);
    EXPECT_EQ(SpeedLabel(), ShownSpeed());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(g_engine->Generation(), generation);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RandomiseTest, NAndCtrlZActFromTheFrameAndThePropertiesDialogButNotFromHelp)
{
    Start();
    const std::vector<std::byte> before = RecordsBytes();
    QTest::keyClick(FrameWindow(), Qt::Key_N);
    const std::vector<std::byte> first = RecordsBytes();
    EXPECT_NE(first, before);
    QTest::keyClick(Frame().PropertiesDialog()->windowHandle(), Qt::Key_N);
    EXPECT_NE(RecordsBytes(), first);
    EXPECT_EQ(SpeedLabel(), ShownSpeed());

    Frame().ShowHelp();
    const std::vector<std::byte> second = RecordsBytes();
    QTest::keyClick(Frame().HelpDialog()->windowHandle(), Qt::Key_N);
    QTest::keyClick(Frame().HelpDialog()->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(RecordsBytes(), second);

    Frame().HelpDialog()->hide();
    QTest::keyClick(FrameWindow(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(RecordsBytes(), first) << "the second Randomise replaced the saved step";
    QTest::keyClick(FrameWindow(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(RecordsBytes(), first) << "one step only";
}

// Without an engine (a rebuild that failed, say) the records still change and undo.
TEST_F(RandomiseTest, WithoutAnEngineTheRecordsStillChangeAndUndo)
{
    Start();
    DestroyEngine();
    const std::vector<std::byte> before = RecordsBytes();
    MenuItem("Randomise")->trigger();
    EXPECT_NE(RecordsBytes(), before);
    MenuItem("Undo Randomise")->trigger();
    EXPECT_EQ(RecordsBytes(), before);
}

} // namespace
} // namespace lumeno::test
