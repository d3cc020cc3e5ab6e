#pragma once
// How a dialog laid out from its template fits the screen below its home position. When
// the whole window fits it keeps its template size; otherwise its page is shown in a
// vertical scroll area exactly as high as the screen leaves room for, and the window is
// widened by the scroll bar so the bar covers no control.

#include <QMargins>
#include <QRect>
#include <QSize>

namespace lumeno {

// A scrolled dialog is never shorter than this, whatever the screen leaves (pixels).
inline constexpr int kMinimumScrolledHeight = 100;

struct DialogFit {
    QSize clientSize; // the window's client area
    bool scrolls;
};

// `page`: the template's client size. `available`: the screen's free area. `windowTop`:
// where the window's outer frame is placed. `frame`: the window manager's frame around the
// client area (title bar on top).
DialogFit FitDialogToScreen(QSize page, const QRect& available, int windowTop, const QMargins& frame,
                            int scrollBarWidth);

} // namespace lumeno
