#include "settings/ui/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

#include <cstdint>

namespace lumeno {
namespace {

constexpr int kAlphabetLength = 52;
const char* const kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int HorizontalPixels(int units, DialogBaseUnits base) { return MulDiv(units, base.x, 4); }
int VerticalPixels(int units, DialogBaseUnits base) { return MulDiv(units, base.y, 8); }

} // namespace

QFont DialogFont(int pointSize)
{
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    return font;
}

DialogBaseUnits BaseUnitsFrom(int widthOfAlphabet, int charHeight)
{
    // The average over the 52 letters, rounded to the nearest pixel.
    return {(widthOfAlphabet + kAlphabetLength / 2) / kAlphabetLength, charHeight};
}

DialogBaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    return BaseUnitsFrom(metrics.horizontalAdvance(QString::fromLatin1(kAlphabet)), metrics.height());
}

int MulDiv(int a, int b, int c)
{
    const std::int64_t product = std::int64_t{a} * b;
    const std::int64_t half = (c < 0 ? -std::int64_t{c} : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    return static_cast<int>((product + (negative ? -half : half)) / c);
}

QRect DialogRectToPixels(const DialogRect& rect, DialogBaseUnits units)
{
    const int left = HorizontalPixels(rect.x, units);
    const int top = VerticalPixels(rect.y, units);
    const int right = HorizontalPixels(rect.x + rect.width, units);
    const int bottom = VerticalPixels(rect.y + rect.height, units);
    return QRect(left, top, right - left, bottom - top);
}

QSize DialogSizeToPixels(int width, int height, DialogBaseUnits units)
{
    return QSize(HorizontalPixels(width, units), VerticalPixels(height, units));
}

} // namespace lumeno
