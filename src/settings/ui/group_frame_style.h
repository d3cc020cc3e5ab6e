#pragma once
// Group boxes drawn as dialog templates frame them: the etched frame line half the title's
// height below the rectangle's top, and the title on that line, a few pixels in from the
// left, over a gap cut into the line. The template's rectangles assume this shape: the
// first control of a group sits just below the title, which a style that puts the title
// above the frame and the frame below it would draw across.

#include <QProxyStyle>

namespace lumeno {

class GroupFrameStyle final : public QProxyStyle {
    Q_OBJECT

public:
    // Left margin of the title inside the group's rectangle, and the gap kept clear of the
    // frame line on either side of it (pixels).
    static constexpr int kTitleIndent = 7;
    static constexpr int kTitleGap = 1;

    // Everything but group boxes as the application's style draws it.
    GroupFrameStyle();

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                         const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
};

} // namespace lumeno
