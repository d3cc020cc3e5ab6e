#pragma once
// Dialog units to pixels through the dialog font's base units, as dialog templates are
// laid out: a horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height.

#include <QFont>
#include <QRect>
#include <QSize>

#include "settings/ui/dialog_template.h"

namespace lumeno {

struct DialogBaseUnits {
    int x; // average width of "A".."Z" "a".."z", rounded
    int y; // character height
};

// Qt's default user-interface font at the template's point size stands in for the
// template's "MS Shell Dlg".
QFont DialogFont(int pointSize);

DialogBaseUnits BaseUnitsOf(const QFont& font);
DialogBaseUnits BaseUnitsFrom(int widthOfAlphabet, int charHeight);

// a × b / c rounded to nearest, halves away from zero, without intermediate overflow.
int MulDiv(int a, int b, int c);

// Edges are converted one by one, so controls that share an edge in dialog units share
// it in pixels too.
QRect DialogRectToPixels(const DialogRect& rect, DialogBaseUnits units);
QSize DialogSizeToPixels(int width, int height, DialogBaseUnits units);

} // namespace lumeno
