#include "settings/ui/dialog_fit.h"

#include <algorithm>

namespace lumeno {

DialogFit FitDialogToScreen(QSize page, const QRect& available, int windowTop, const QMargins& frame,
                            int scrollBarWidth)
{
    // A work area that begins below the home position (a panel at the top) pushes the
    // window down to it.
    const int top = std::max(windowTop, available.top());
    const int room = available.top() + available.height() - top - frame.top() - frame.bottom();
    if (page.height() <= room)
        return {page, false};
    return {QSize(page.width() + scrollBarWidth, std::max(room, kMinimumScrolledHeight)), true};
}

} // namespace lumeno
