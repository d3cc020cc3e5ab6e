#include <gtest/gtest.h>

#include <QTest>

#include "dialog_fixture.h"
#include "settings/ui/key_translation.h"

namespace lumeno::test {
namespace {

// The keys the dialog passes on are checked there (Return, Escape, Space, digits...).
TEST(KeyTranslation, KeysBecomeTheirVirtualKeyCodes)
{
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::optional<std::uint32_t> virtualKey;
    } cases[] = {
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_1, Qt::KeypadModifier, 0x61u}, // VK_NUMPAD1, not key 1
        {Qt::Key_F1, {}, 0x70u},
        {Qt::Key_Eacute, {}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VirtualKeyOf(c.key, c.modifiers), c.virtualKey) << c.key;

    const QKeyEvent altEnter(QEvent::KeyPress, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(KeyDownMessage(altEnter)->message, WM_SYSKEYDOWN);
    const QKeyEvent c(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
    EXPECT_EQ(KeyDownMessage(c)->message, WM_KEYDOWN);
}

// Events as the window systems deliver them: the Qt key follows the character typed,
// the native scan code (X11, Wayland, Windows) or key code (macOS) the key's place.
TEST(KeyTranslation, DigitRowKeysAreKnownByTheirPlaceNotByTheCharacterTheyType)
{
    const struct {
        const char* windowSystem;
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        quint32 scanCode;
        quint32 nativeKey;
        const char* text;
        std::optional<std::uint32_t> virtualKey;
    } cases[] = {
        {"xcb", Qt::Key_NumberSign, Qt::ShiftModifier, 12, 0x23, "#", 0x33},       // US Shift+3
        {"xcb", Qt::Key_Ampersand, Qt::NoModifier, 10, 0x26, "&", 0x31},           // AZERTY 1
        {"xcb", Qt::Key_Eacute, Qt::NoModifier, 11, 0xE9, "\u00e9", 0x32},         // AZERTY 2
        {"xcb", Qt::Key_QuoteDbl, Qt::NoModifier, 12, 0x22, "\"", 0x33},            // AZERTY 3
        {"xcb", Qt::Key_Apostrophe, Qt::NoModifier, 13, 0x27, "'", 0x34},          // AZERTY 4
        {"xcb", Qt::Key_1, Qt::ShiftModifier, 10, 0x31, "1", 0x31},                // AZERTY Shift+1
        {"xcb", Qt::Key_ParenRight, Qt::ShiftModifier, 19, 0x29, ")", 0x30},       // US Shift+0
        {"xcb", Qt::Key_3, Qt::KeypadModifier, 89, 0xFFB3, "3", 0x63},             // keypad 3
        {"xcb", Qt::Key_Minus, Qt::NoModifier, 20, 0x2D, "-", std::nullopt},       // past the row
        {"xcb", Qt::Key_C, Qt::NoModifier, 54, 0x63, "c", 0x43},                   // letters: the Qt key
        {"wayland", Qt::Key_Dollar, Qt::ShiftModifier, 13, 0x24, "$", 0x34},       // US Shift+4
        {"windows", Qt::Key_NumberSign, Qt::ShiftModifier, 0x04, 0x33, "#", 0x33}, // set-1 scan code
        {"cocoa", Qt::Key_NumberSign, Qt::ShiftModifier, 0, 0x14, "#", 0x33},      // kVK_ANSI_3
        {"offscreen", Qt::Key_3, Qt::NoModifier, 0, 0, "3", 0x33},                 // synthesised
        {"offscreen", Qt::Key_NumberSign, Qt::ShiftModifier, 0, 0, "#", std::nullopt},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.qtKey, c.modifiers, c.scanCode, c.nativeKey, 0,
                              QString::fromUtf8(c.text));
        EXPECT_EQ(VirtualKeyOf(event, c.windowSystem), c.virtualKey) << c.windowSystem << " scan code " << c.scanCode;
    }
}

class DialogKeysTest : public DialogTest {
protected:
    DialogKeysTest()
    {
        dialog.ShowAtHomePosition();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    // Focus on the control, then the key pressed and released there; the codes the host got.
    std::vector<std::uint32_t> Press(int controlId, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* control = dialog.Control(controlId);
        control->setFocus();
        QTest::keyClick(control, key, modifiers);
        std::vector<std::uint32_t> codes;
        for (const WindowMessage& message : host.keys) {
            EXPECT_EQ(message.message, WM_KEYDOWN);
            codes.push_back(message.virtualKey);
        }
        return codes;
    }
};

TEST_F(DialogKeysTest, KeysOnAnyControlReachTheHostOnceAndAltKeysStayInTheDialog)
{
    const auto before = Records();
    EXPECT_TRUE(Press(id::kAlpha, Qt::Key_Return, Qt::AltModifier).empty());
    Press(id::kAlpha, Qt::Key_1);
    Press(id::kAlpha, Qt::Key_4);
    Press(id::kQuality, Qt::Key_C);
    Press(id::kDebug, Qt::Key_Backspace);
    EXPECT_EQ(Press(id::kSwatch1, Qt::Key_Shift), (std::vector<std::uint32_t>{0x31, 0x34, 0x43, VK_BACK, VK_SHIFT}));
    // Digits and letters change nothing in the controls themselves.
    EXPECT_EQ(Bar(id::kAlpha).value(), 125);
    EXPECT_EQ(Records(), before);
    EXPECT_FALSE(ApplyShown());
    EXPECT_TRUE(dialog.isVisible());

    EXPECT_EQ(Press(id::kDebug, Qt::Key_Space).back(), VK_SPACE); // pauses, and toggles the box
    EXPECT_TRUE(g_particleSettings.debug);
}

// Enter clicks a push button and keeps the dialog; on other controls it hides the dialog,
// as Escape does, without a scroll; the state stays as it was.
TEST_F(DialogKeysTest, EnterAndEscapeGoToTheFrameAndHideTheDialogUnlessEnterClicksAButton)
{
    const struct {
        int controlId;
        Qt::Key key;
        std::uint32_t virtualKey;
        bool staysVisible;
    } cases[] = {
        {id::kRestoreDefault, Qt::Key_Return, VK_RETURN, true},
        {id::kExp, Qt::Key_Return, VK_RETURN, false},
        {id::kAlpha, Qt::Key_Escape, 0x1B, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.virtualKey);
        Move(id::kParticleCount, 28);
        host.keys.clear();
        EXPECT_EQ(Press(c.controlId, c.key), std::vector<std::uint32_t>{c.virtualKey});
        EXPECT_EQ(dialog.isVisible(), c.staysVisible);
        EXPECT_EQ(host.rebuilds, 1); // the restore, and no other
        EXPECT_EQ(g_particleSettings.exp, 1.0f);
        EXPECT_TRUE(ApplyShown() != c.staysVisible);
        dialog.ShowAtHomePosition();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    EXPECT_EQ(Label(id::kParticleCountLabel), "Particle Count: 21952");
}

} // namespace
} // namespace lumeno::test
