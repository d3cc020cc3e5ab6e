#include "window_messages.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>

namespace lumeno {
namespace {

std::optional<WindowMessage> Key(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers, bool repeat = false)
{
    return KeyMessage(QKeyEvent(type, key, modifiers, QString(), repeat));
}

std::optional<WindowMessage> Mouse(QEvent::Type type, Qt::MouseButton button, QPointF at = {}, qreal ratio = 1.0)
{
    return MouseMessage(QMouseEvent(type, QPointF(), QPointF(), button, button, Qt::NoModifier), at, ratio);
}

TEST(WindowMessages, KeysBecomeKeyDownsAndUpsAndSystemOnesWithAlt)
{
    const struct {
        QEvent::Type type;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool repeat;
        std::uint32_t message, virtualKey;
        bool repeated;
    } cases[] = {
        {QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, false, WM_KEYDOWN, 0x31u, false},
        {QEvent::KeyPress, Qt::Key_Return, Qt::AltModifier, false, WM_SYSKEYDOWN, VK_RETURN, false},
        {QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, false, WM_KEYUP, VK_SHIFT, false},
        // A held key's repeats are key-downs again, marked as repeats (F11 held must not flicker).
        {QEvent::KeyPress, Qt::Key_F11, Qt::NoModifier, true, WM_KEYDOWN, VK_F11, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.virtualKey);
        const auto message = Key(c.type, c.key, c.modifiers, c.repeat);
        ASSERT_TRUE(message);
        EXPECT_EQ(message->message, c.message);
        EXPECT_EQ(message->virtualKey, c.virtualKey);
        EXPECT_EQ(message->repeated, c.repeated);
    }
    EXPECT_FALSE(Key(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, true)) << "auto-repeat release";
    EXPECT_FALSE(Key(QEvent::KeyPress, Qt::Key_VolumeUp, Qt::NoModifier)) << "no virtual key";
}

TEST(WindowMessages, PointerPositionsAreInPhysicalPixelsAndNeverLeftOfOrAboveTheClient)
{
    const auto move = Mouse(QEvent::MouseMove, Qt::NoButton, {10.5, 20.25}, 2.0);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->message, WM_MOUSEMOVE);
    EXPECT_EQ(move->pointerX, 21);
    EXPECT_EQ(move->pointerY, 40);
    const auto outside = Mouse(QEvent::MouseMove, Qt::NoButton, {-3, -1});
    EXPECT_EQ(outside->pointerX, 0);
    EXPECT_EQ(outside->pointerY, 0);
}

TEST(WindowMessages, OnlyLeftAndRightPressesAreButtonMessages)
{
    EXPECT_EQ(Mouse(QEvent::MouseButtonPress, Qt::LeftButton)->message, WM_LBUTTONDOWN);
    EXPECT_EQ(Mouse(QEvent::MouseButtonPress, Qt::RightButton)->message, WM_RBUTTONDOWN);
    EXPECT_FALSE(Mouse(QEvent::MouseButtonPress, Qt::MiddleButton));
    EXPECT_FALSE(Mouse(QEvent::MouseButtonRelease, Qt::LeftButton));
}

TEST(WindowMessages, KeyDownsAndAnyButtonPressCloseTheSplash)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::MouseButtonPress, QEvent::NonClientAreaMouseButtonPress})
        EXPECT_TRUE(IsKeyOrButtonDown(type)) << type;
    for (QEvent::Type type : {QEvent::KeyRelease, QEvent::MouseMove, QEvent::MouseButtonRelease})
        EXPECT_FALSE(IsKeyOrButtonDown(type)) << type;
}

} // namespace
} // namespace lumeno
