#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace lumeno {

bool QtClipboard::SetImage(const std::vector<std::uint8_t>& rgba, int width, int height)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4u;
    if (clipboard == nullptr || width <= 0 || height <= 0 || rgba.size() < bytes)
        return false;
    // A bitmap has no alpha: the canvas's alpha channel is not part of the picture.
    const QImage view(rgba.data(), width, height, width * 4, QImage::Format_RGBA8888);
    clipboard->setImage(view.convertToFormat(QImage::Format_RGB888));
    return true;
}

} // namespace lumeno
