#include "settings/ui/group_frame_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

namespace lumeno {

GroupFrameStyle::GroupFrameStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

QRect GroupFrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                      SubControl subControl, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr)
        return QProxyStyle::subControlRect(control, option, subControl, widget);

    const bool titled = !box->text.isEmpty();
    const int titleHeight = titled ? box->fontMetrics.height() : 0;
    switch (subControl) {
    case SC_GroupBoxLabel: {
        if (!titled)
            return {};
        const int width = box->fontMetrics.size(Qt::TextShowMnemonic, box->text).width();
        return {box->rect.left() + kTitleIndent, box->rect.top(), width, titleHeight};
    }
    case SC_GroupBoxFrame:
        return box->rect.adjusted(0, titleHeight / 2, 0, 0);
    case SC_GroupBoxContents:
        return box->rect.adjusted(2, titleHeight, -2, -2);
    default:
        return {}; // no check box
    }
}

void GroupFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                         QPainter* painter, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // Etched: a dark line with a light one beside it, as a sunken one-pixel box draws.
    const QRect frame = subControlRect(CC_GroupBox, box, SC_GroupBoxFrame, widget);
    qDrawShadeRect(painter, frame, box->palette, true, 1, 0);
    if (box->text.isEmpty())
        return;
    const QRect title = subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, widget);
    painter->fillRect(title.adjusted(-kTitleGap, 0, kTitleGap, 0), box->palette.brush(QPalette::Window));
    proxy()->drawItemText(painter, title, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, box->palette,
                          (box->state & State_Enabled) != 0, box->text, QPalette::WindowText);
}

} // namespace lumeno
