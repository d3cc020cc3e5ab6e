// The splash's picture: a canvas rendered by the engine itself (resources/135.png), with
// the program's name set on it here, so the artwork stays a plain render.

#include <QFont>
#include <QPainter>

#include "splash_window.h"

namespace lumeno {
namespace {

void DrawTitle(QImage& bitmap)
{
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(bitmap.height() / 5);
    title.setBold(true);
    title.setLetterSpacing(QFont::PercentageSpacing, 110);
    painter.setFont(title);
    const QRect titleBox(0, bitmap.height() * 56 / 100, bitmap.width() - bitmap.width() / 14, bitmap.height() / 4);
    // A soft shadow keeps the name readable over bright and dark trails alike.
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(titleBox.translated(3, 3), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Lumeno"));
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(titleBox, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Lumeno"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(bitmap.height() / 18);
    painter.setFont(subtitle);
    const QRect subtitleBox = titleBox.translated(0, titleBox.height() * 4 / 5);
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(subtitleBox.translated(2, 2), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("beta1  \u00b7  an interactive particle toy"));
    painter.setPen(QColor(235, 235, 235));
    painter.drawText(subtitleBox, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("beta1  \u00b7  an interactive particle toy"));
}

} // namespace

QImage LoadSplashBitmap(int bitmapId)
{
    QImage bitmap(QStringLiteral(":/bitmaps/%1.png").arg(bitmapId));
    if (bitmap.isNull())
        return {};
    // Painted in Qt's native format, then kept at 24 bits a pixel like the bitmap it is.
    bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    DrawTitle(bitmap);
    return bitmap.convertToFormat(QImage::Format_RGB888);
}

} // namespace lumeno
