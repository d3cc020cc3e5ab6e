#pragma once
// A push button drawn as a colour swatch: focus ring, two-pixel bevel, the colour inset
// five pixels, a checkerboard when disabled and the caption on top. An editable swatch
// opens the colour dialog when clicked, before anyone else hears of the click.

#include <functional>
#include <optional>

#include <QPushButton>

#include "settings/ui/color_conversion.h"

namespace lumeno {

class CColorButton final : public QPushButton {
    Q_OBJECT

public:
    // Runs a colour dialog opened on `initial`; the confirmed colour, or none.
    using ColorPicker = std::function<std::optional<COLORREF>(COLORREF initial, QWidget* parent)>;

    explicit CColorButton(const QString& caption, QWidget* parent = nullptr);

    void SetColor(COLORREF color); // repaints the whole button
    COLORREF GetColor() const { return m_color; }
    void SetEditable(bool editable) { m_editable = editable; }
    bool IsEditable() const { return m_editable; }

    // Runs the colour dialog on the current colour; true when the user confirmed a
    // different colour, which the swatch then holds.
    bool PickColor();

    // The dialog all swatches run; tests put a scripted one in. Returns the previous one;
    // an empty picker restores the common colour dialog.
    static ColorPicker SetColorPicker(ColorPicker picker);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnClicked();

    COLORREF m_color = 0; // black until someone sets it
    bool m_editable = true;
};

} // namespace lumeno
