#include "window_messages.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>

namespace lumeno {
namespace {

// "message key repeated x,y" in hexadecimal, as the window messages' numbers are written.
std::string Text(const std::optional<WindowMessage>& m)
{
    return m ? QString::asprintf("%x %x %d %d,%d", unsigned(m->message), unsigned(m->virtualKey), int(m->repeated),
                                 int(m->pointerX), int(m->pointerY)).toStdString()
             : "none";
}

std::string Key(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers = {}, bool autoRepeat = false)
{
    return Text(KeyMessage(QKeyEvent(type, key, modifiers, QString(), autoRepeat)));
}

std::string Mouse(QEvent::Type type, Qt::MouseButton button, QPointF at = {}, qreal ratio = 1.0)
{
    return Text(MouseMessage(QMouseEvent(type, QPointF(), QPointF(), button, button, Qt::NoModifier), at, ratio));
}

TEST(WindowMessages, KeysBecomeKeyDownsAndUpsSystemOnesWithAltAndRepeatsAreMarked)
{
    EXPECT_EQ(Key(QEvent::KeyPress, Qt::Key_1), "100 31 0 0,0");
    EXPECT_EQ(Key(QEvent::KeyPress, Qt::Key_Return, Qt::AltModifier), "104 d 0 0,0");
    EXPECT_EQ(Key(QEvent::KeyRelease, Qt::Key_Shift), "101 10 0 0,0");
    EXPECT_EQ(Key(QEvent::KeyRelease, Qt::Key_Return, Qt::AltModifier), "105 d 0 0,0");
    // A held key's repeats are key-downs again, marked so (F11 held must not flicker).
    EXPECT_EQ(Key(QEvent::KeyPress, Qt::Key_F11, {}, true), "100 7a 1 0,0");
    EXPECT_EQ(Key(QEvent::KeyRelease, Qt::Key_Space, {}, true), "none") << "Windows sends no repeated releases";
    EXPECT_EQ(Key(QEvent::KeyPress, Qt::Key_VolumeUp), "none") << "no virtual-key code";
}

TEST(WindowMessages, MovesAndLeftAndRightPressesComeInPhysicalPixelsNeverLeftOfOrAboveTheClient)
{
    EXPECT_EQ(Mouse(QEvent::MouseMove, Qt::NoButton, {10.5, 20.25}, 2.0), "200 0 0 21,40");
    EXPECT_EQ(Mouse(QEvent::MouseMove, Qt::NoButton, {-3, -1}), "200 0 0 0,0");
    EXPECT_EQ(Mouse(QEvent::MouseButtonPress, Qt::LeftButton, {7, 9}), "201 0 0 7,9");
    EXPECT_EQ(Mouse(QEvent::MouseButtonPress, Qt::RightButton), "204 0 0 0,0");
    EXPECT_EQ(Mouse(QEvent::MouseButtonPress, Qt::MiddleButton), "none");
    EXPECT_EQ(Mouse(QEvent::MouseButtonRelease, Qt::LeftButton), "none");
}

} // namespace
} // namespace lumeno
