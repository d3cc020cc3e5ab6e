#include "settings/ui/common_color_dialog.h"

#include <QColorDialog>

namespace lumeno {

std::array<QRgb, kCustomColorCount>& CustomColors()
{
    static std::array<QRgb, kCustomColorCount> colors = [] {
        std::array<QRgb, kCustomColorCount> white;
        white.fill(qRgb(255, 255, 255));
        return white;
    }();
    return colors;
}

std::optional<COLORREF> RunCommonColorDialog(COLORREF initial, QWidget* parent)
{
    // Qt keeps one set of custom colours for all its colour dialogs but fills it from
    // its own settings file at first use; ours overwrite them on every opening, so what
    // the user sees is the program's set. Qt's own dialog always shows the custom panel,
    // and unlike a platform dialog it shares that set.
    std::array<QRgb, kCustomColorCount>& custom = CustomColors();
    for (int i = 0; i < kCustomColorCount; ++i)
        QColorDialog::setCustomColor(i, QColor::fromRgb(custom[i]));

    QColorDialog dialog(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Color"));
    const bool confirmed = dialog.exec() == QDialog::Accepted;

    for (int i = 0; i < kCustomColorCount; ++i)
        custom[i] = QColorDialog::customColor(i).rgb();
    if (!confirmed)
        return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    return MakeColorRef(static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                        static_cast<std::uint8_t>(chosen.blue()));
}

} // namespace lumeno
