#include "settings/ui/key_translation.h"

#include <QGuiApplication>

#include "platform/digit_row_keys.h"

namespace lumeno {
namespace {

struct KeyRow {
    int qtKey;
    std::uint32_t virtualKey;
};

constexpr KeyRow kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, 0x09},      {Qt::Key_Backtab, 0x09},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, 0x11},       {Qt::Key_Alt, 0x12},      {Qt::Key_Pause, 0x13},
    {Qt::Key_Escape, 0x1B},        {Qt::Key_Space, VK_SPACE}, {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},      {Qt::Key_End, 0x23},      {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},          {Qt::Key_Up, 0x26},       {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},          {Qt::Key_Insert, 0x2D},   {Qt::Key_Delete, 0x2E},
};

constexpr std::uint32_t kNumpad0 = 0x60;
constexpr std::uint32_t kF1 = 0x70;

} // namespace

std::optional<std::uint32_t> VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const auto digit = static_cast<std::uint32_t>(qtKey - Qt::Key_0);
        return modifiers.testFlag(Qt::KeypadModifier) ? kNumpad0 + digit : '0' + digit;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + static_cast<std::uint32_t>(qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return kF1 + static_cast<std::uint32_t>(qtKey - Qt::Key_F1);
    for (const KeyRow& row : kKeys) {
        if (row.qtKey == qtKey)
            return row.virtualKey;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> VirtualKeyOf(const QKeyEvent& event, std::string_view windowSystem)
{
    if (const std::optional<char> digit =
            DigitRowKeyDigit(windowSystem, event.nativeScanCode(), event.nativeVirtualKey()))
        return static_cast<std::uint32_t>(*digit);
    return VirtualKeyOf(event.key(), event.modifiers());
}

std::optional<std::uint32_t> VirtualKeyOf(const QKeyEvent& event)
{
    const QByteArray windowSystem = QGuiApplication::platformName().toUtf8();
    return VirtualKeyOf(event, std::string_view(windowSystem.constData(), static_cast<std::size_t>(windowSystem.size())));
}

std::optional<WindowMessage> KeyMessage(const QKeyEvent& event)
{
    const bool press = event.type() == QEvent::KeyPress;
    if (!press && (event.type() != QEvent::KeyRelease || event.isAutoRepeat()))
        return std::nullopt;
    const std::optional<std::uint32_t> virtualKey = VirtualKeyOf(event);
    if (!virtualKey)
        return std::nullopt;
    const bool alt = event.modifiers().testFlag(Qt::AltModifier);
    WindowMessage message;
    message.message = press ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    message.virtualKey = *virtualKey;
    message.repeated = press && event.isAutoRepeat();
    return message;
}

std::optional<WindowMessage> KeyDownMessage(const QKeyEvent& event)
{
    if (event.type() != QEvent::KeyPress)
        return std::nullopt;
    return KeyMessage(event);
}

} // namespace lumeno
