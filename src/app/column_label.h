#pragma once
// A static text whose lines are "key<TAB>description": every description starts in one
// column, just right of the widest key, whatever the font. The text keeps its tabs
// (text() is the caption as written); only the painting lines them up. Fixed tab stops
// cannot do this across fonts: a key a little wider than a stop pushes its description
// a whole stop further than its neighbours'.

#include <QLabel>

namespace lumeno {

class ColumnLabel final : public QLabel {
public:
    using QLabel::QLabel;

    // Where the descriptions start, in pixels from the left of the contents.
    int DescriptionColumn() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lumeno
