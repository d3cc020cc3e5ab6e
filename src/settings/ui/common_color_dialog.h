#pragma once
// The colour dialog every swatch opens, with the 16 custom colours that all colour
// dialogs of the program share.

#include <array>
#include <optional>

#include <QRgb>

#include "settings/ui/color_conversion.h"

class QWidget;

namespace lumeno {

inline constexpr int kCustomColorCount = 16;

// The process-wide custom colours: all white at start and never saved, so every run
// starts from white whatever Qt kept from earlier runs.
std::array<QRgb, kCustomColorCount>& CustomColors();

// Runs a modal QColorDialog opened on `initial`. Returns the confirmed colour, none
// when cancelled. The custom colours go into the dialog before and come back after.
std::optional<COLORREF> RunCommonColorDialog(COLORREF initial, QWidget* parent);

} // namespace lumeno
