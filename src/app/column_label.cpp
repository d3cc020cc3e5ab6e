#include "column_label.h"

#include <algorithm>

#include <QPainter>
#include <QRegularExpression>
#include <QTextOption>

namespace lumeno {

int ColumnLabel::DescriptionColumn() const
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& line : text().split(QLatin1Char('\n'))) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab >= 0)
            widest = std::max(widest, metrics.horizontalAdvance(line.left(tab)));
    }
    // Two average characters between the widest key and its description.
    return widest + 2 * metrics.averageCharWidth();
}

void ColumnLabel::paintEvent(QPaintEvent*)
{
    // A run of tabs is one column break: the captions were written for fixed stops and
    // pad short keys with a second tab.
    static const QRegularExpression kTabRun(QStringLiteral("\t+"));
    QString painted = text();
    painted.replace(kTabRun, QStringLiteral("\t"));

    QTextOption option(alignment());
    option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    option.setTabs({QTextOption::Tab(DescriptionColumn(), QTextOption::LeftTab)});

    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(QRectF(contentsRect()), painted, option);
}

} // namespace lumeno
