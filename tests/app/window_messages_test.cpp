#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>

#include "window_messages.h"

namespace lumeno {
namespace {

QMouseEvent Mouse(QEvent::Type type, Qt::MouseButton button)
{
    return QMouseEvent(type, QPointF(), QPointF(), button, button, Qt::NoModifier);
}

TEST(WindowMessages, KeysBecomeKeyDownsAndUpsAndSystemOnesWithAlt)
{
    const auto down = KeyMessage(QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier));
    ASSERT_TRUE(down);
    EXPECT_EQ(down->message, WM_KEYDOWN);
    EXPECT_EQ(down->virtualKey, 0x31u);

    const auto altDown = KeyMessage(QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::AltModifier));
    ASSERT_TRUE(altDown);
    EXPECT_EQ(altDown->message, WM_SYSKEYDOWN);
    EXPECT_EQ(altDown->virtualKey, VK_RETURN);

    const auto up = KeyMessage(QKeyEvent(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier));
    ASSERT_TRUE(up);
    EXPECT_EQ(up->message, WM_KEYUP);
    EXPECT_EQ(up->virtualKey, VK_SHIFT);
}

TEST(WindowMessages, AutoRepeatReleasesAndUnknownKeysGiveNothing)
{
    EXPECT_FALSE(KeyMessage(QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QString(), true)));
    EXPECT_FALSE(KeyMessage(QKeyEvent(QEvent::KeyPress, Qt::Key_VolumeUp, Qt::NoModifier)));
    // A repeated press is a key-down again, as the keyboard's repeat sends it.
    EXPECT_TRUE(KeyMessage(QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(), true)));
}

TEST(WindowMessages, PointerPositionsAreInPhysicalPixels)
{
    const auto move = MouseMessage(Mouse(QEvent::MouseMove, Qt::NoButton), QPointF(10.5, 20.25), 2.0);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->message, WM_MOUSEMOVE);
    EXPECT_EQ(move->pointerX, 21);
    EXPECT_EQ(move->pointerY, 40);

    const auto outside = MouseMessage(Mouse(QEvent::MouseMove, Qt::NoButton), QPointF(-3, -1), 1.0);
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->pointerX, 0);
    EXPECT_EQ(outside->pointerY, 0);
}

TEST(WindowMessages, OnlyLeftAndRightPressesAreButtonMessages)
{
    EXPECT_EQ(MouseMessage(Mouse(QEvent::MouseButtonPress, Qt::LeftButton), {}, 1.0)->message, WM_LBUTTONDOWN);
    EXPECT_EQ(MouseMessage(Mouse(QEvent::MouseButtonPress, Qt::RightButton), {}, 1.0)->message, WM_RBUTTONDOWN);
    EXPECT_FALSE(MouseMessage(Mouse(QEvent::MouseButtonPress, Qt::MiddleButton), {}, 1.0));
    EXPECT_FALSE(MouseMessage(Mouse(QEvent::MouseButtonRelease, Qt::LeftButton), {}, 1.0));
}

TEST(WindowMessages, KeyDownsAndAnyButtonPressCloseTheSplash)
{
    EXPECT_TRUE(IsKeyOrButtonDown(QEvent::KeyPress));
    EXPECT_TRUE(IsKeyOrButtonDown(QEvent::MouseButtonPress));
    EXPECT_TRUE(IsKeyOrButtonDown(QEvent::NonClientAreaMouseButtonPress));
    EXPECT_FALSE(IsKeyOrButtonDown(QEvent::KeyRelease));
    EXPECT_FALSE(IsKeyOrButtonDown(QEvent::MouseMove));
    EXPECT_FALSE(IsKeyOrButtonDown(QEvent::MouseButtonRelease));
}

} // namespace
} // namespace lumeno
