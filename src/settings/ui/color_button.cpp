#include "settings/ui/color_button.h"

#include <QPainter>
#include <QPaintEvent>
#include <QRegion>
#include <qdrawutil.h>

#include <utility>

#include "settings/ui/common_color_dialog.h"

namespace lumeno {
namespace {

CColorButton::ColorPicker& CurrentPicker()
{
    static CColorButton::ColorPicker picker = RunCommonColorDialog;
    return picker;
}

QColor ToQColor(COLORREF color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

QRect Inset(const QRect& rect, int pixels) { return rect.adjusted(pixels, pixels, -pixels, -pixels); }

// Every other pixel of the rectangle's one-pixel border, as a dotted focus rectangle.
void DrawDottedFrame(QPainter& painter, const QRect& rect, const QColor& color)
{
    painter.setPen(color);
    for (int x = rect.left(); x <= rect.right(); ++x) {
        for (int y : {rect.top(), rect.bottom()}) {
            if ((x + y) % 2 == 0)
                painter.drawPoint(x, y);
        }
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        for (int x : {rect.left(), rect.right()}) {
            if ((x + y) % 2 == 0)
                painter.drawPoint(x, y);
        }
    }
}

void DrawCheckerboard(QPainter& painter, const QRect& rect, const QColor& color)
{
    painter.setPen(color);
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if ((x + y) % 2 == 0)
                painter.drawPoint(x, y);
        }
    }
}

} // namespace

CColorButton::CColorButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    // Every pixel is painted below, so Qt need not erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Connected before anyone else can connect: the swatch takes its colour first, then
    // the dialog's handler reads it.
    connect(this, &QPushButton::clicked, this, &CColorButton::OnClicked);
}

void CColorButton::SetColor(COLORREF color)
{
    m_color = color;
    update();
}

bool CColorButton::PickColor()
{
    const ColorPicker picker = CurrentPicker(); // a copy: the picker may be replaced meanwhile
    const std::optional<COLORREF> chosen = picker(m_color, this);
    if (!chosen || *chosen == m_color)
        return false;
    SetColor(*chosen);
    return true;
}

CColorButton::ColorPicker CColorButton::SetColorPicker(ColorPicker picker)
{
    if (!picker)
        picker = RunCommonColorDialog;
    return std::exchange(CurrentPicker(), std::move(picker));
}

void CColorButton::OnClicked()
{
    if (m_editable)
        PickColor();
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    const QColor face = colors.color(QPalette::Button);
    const bool pushed = isDown();
    const bool disabled = !isEnabled();
    QRect r = rect();

    // Outer ring, two pixels: the face colour, and the dotted focus rectangle on its edge.
    painter.setClipRegion(QRegion(r).subtracted(QRegion(Inset(r, 2))));
    painter.fillRect(r, face);
    if (hasFocus())
        DrawDottedFrame(painter, r, colors.color(QPalette::ButtonText));
    painter.setClipping(false);

    r = Inset(r, 2);
    painter.setPen(face);
    painter.drawRect(r.adjusted(0, 0, -1, -1));

    // The push-button frame, of which only its two-pixel bevel is left visible.
    r = Inset(r, 1);
    painter.setClipRegion(QRegion(r).subtracted(QRegion(Inset(r, 2))));
    qDrawWinButton(&painter, r, colors, pushed, nullptr);
    painter.setClipping(false);

    r = Inset(r, 2);
    painter.fillRect(r, ToQColor(m_color));
    if (disabled)
        DrawCheckerboard(painter, r, face);

    if (text().isEmpty())
        return;
    // Pressed, the text rectangle grows by two, so centred text moves by one pixel.
    const QRect textRect = pushed ? r.adjusted(0, 0, 2, 2) : r;
    const QString caption = fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width());
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (disabled) {
        painter.setPen(colors.color(QPalette::Light)); // embossed: a light copy one pixel down-right
        painter.drawText(textRect.translated(1, 1), flags, caption);
        painter.setPen(colors.color(QPalette::Disabled, QPalette::ButtonText));
    } else {
        painter.setPen(colors.color(QPalette::ButtonText));
    }
    painter.drawText(textRect, flags, caption);
}

} // namespace lumeno
