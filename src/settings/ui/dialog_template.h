#pragma once
// A dialog template kept as data: the caption, the size and every control with its id,
// kind, caption and rectangle in dialog units, in template order (also the tab order).

#include <span>

namespace lumeno {

enum class ControlKind {
    PushButton,
    Swatch, // a push button drawn as a colour swatch
    Trackbar,
    CheckBox,
    RadioButton,
    ComboBox, // drop-down list; the height is that of the open list
    StaticText,
    GroupBox,
};

struct DialogRect {
    int x, y, width, height; // dialog units
};

struct TemplateControl {
    int id; // control_id::kNone for controls nothing refers to
    ControlKind kind;
    const char* caption;
    DialogRect rect;
};

struct DialogTemplate {
    const char* caption;
    int width, height; // dialog units
    int fontPointSize;
    std::span<const TemplateControl> controls;
};

} // namespace lumeno
