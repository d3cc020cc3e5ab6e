#include "column_label.h"

#include <gtest/gtest.h>

#include <QImage>

#include "help_dialog.h"
#include "settings/ui/dialog_units.h"

namespace lumeno::test {
namespace {

// Where the description of each "key<TAB>description" line starts, read off the painted
// pixels: the first ink after a blank gap wider than any gap inside a key ("Shift +
// Enter:" has spaces).
std::vector<int> DescriptionStarts(const char* caption)
{
    ColumnLabel label(QString::fromUtf8(caption));
    label.setFont(DialogFont(kHelpTemplate.fontPointSize));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setWordWrap(true);
    label.resize(600, 200);
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image);

    const QFontMetrics metrics(label.font());
    const int gap = metrics.averageCharWidth() * 3 / 2;
    const QStringList lines = label.text().split(QLatin1Char('\n'));
    std::vector<int> starts;
    for (int line = 0; line < lines.size(); ++line) {
        if (!lines[line].contains(QLatin1Char('\t')))
            continue;
        const int top = line * metrics.lineSpacing();
        const auto inked = [&](int x) {
            for (int y = top; y < top + metrics.lineSpacing() && y < image.height(); ++y)
                if (qGray(image.pixel(x, y)) < 128)
                    return true;
            return false;
        };
        int lastInk = -1000, start = -1;
        for (int x = 0; x < image.width() && start < 0; ++x) {
            if (!inked(x))
                continue;
            if (lastInk >= 0 && x - lastInk > gap)
                start = x;
            lastInk = x;
        }
        starts.push_back(start);
    }
    return starts;
}

TEST(ColumnLabel, HelpDescriptionsStartInOneColumnWhateverTheKeysWidth)
{
    for (const TemplateControl& control : kHelpTemplate.controls) {
        const std::vector<int> starts = DescriptionStarts(control.caption);
        for (int start : starts) {
            EXPECT_GT(start, 0) << control.caption;
            EXPECT_NEAR(start, starts.front(), 1) << control.caption;
        }
    }
}

} // namespace
} // namespace lumeno::test
