#include "column_label.h"

#include <gtest/gtest.h>

#include <QImage>

#include "help_dialog.h"
#include "settings/ui/dialog_units.h"

namespace lumeno::test {
namespace {

// Every "key<TAB>description" line of each help text, painted: its description starts
// at the first ink after a blank gap wider than any gap inside a key ("Shift + Enter:"
// has spaces), and in one column for all lines of a text.
TEST(ColumnLabel, HelpDescriptionsStartInOneColumnWhateverTheKeysWidth)
{
    for (const TemplateControl& control : kHelpTemplate.controls) {
        ColumnLabel label(QString::fromUtf8(control.caption));
        label.setFont(DialogFont(kHelpTemplate.fontPointSize));
        label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label.setWordWrap(true);
        label.resize(600, 200);
        QImage image(label.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        label.render(&image);
        const QFontMetrics metrics(label.font());
        const QStringList lines = label.text().split(QLatin1Char('\n'));
        int column = -1;
        for (int line = 0; line < lines.size(); ++line) {
            if (!lines[line].contains(QLatin1Char('\t')))
                continue;
            const auto inked = [&](int x) {
                for (int y = line * metrics.lineSpacing(); y < (line + 1) * metrics.lineSpacing() && y < image.height(); ++y)
                    if (qGray(image.pixel(x, y)) < 128)
                        return true;
                return false;
            };
            int lastInk = -1000, start = -1;
            for (int x = 0; x < image.width() && start < 0; ++x)
                if (inked(x))
                    start = lastInk >= 0 && x - lastInk > metrics.averageCharWidth() * 3 / 2 ? x : (lastInk = x, -1);
            EXPECT_GT(start, 0) << lines[line].toStdString();
            if (column < 0)
                column = start;
            EXPECT_NEAR(start, column, 1) << lines[line].toStdString();
        }
    }
}

} // namespace
} // namespace lumeno::test
