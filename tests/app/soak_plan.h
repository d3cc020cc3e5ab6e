#pragma once
// The in-process soak's input, drawn whole before it runs: a pure function of a seed and a
// length, by the project's own seeded generator, so a seed printed by a failing run
// replays the same input on every platform and compiler. Controls are named by their
// dialog ids, keys by Qt key codes; nothing depends on where a control is drawn.

#include <cstdint>
#include <string>
#include <vector>

namespace lumeno::test {

enum class SoakVerb {
    Frames,         // `value` frames rendered
    Trackbar,       // trackbar `target` moved to position `value`
    CheckBox,       // check box `target` clicked
    Radio,          // radio button `target` clicked
    Quality,        // the quality list's entry `value` picked
    Apply,          // Apply clicked: the staged canvas settings and a rebuild
    RestoreDefault, // Restore Default clicked: both records' defaults and a rebuild
    SaveSettings,   // Save Settings clicked: settings_v4.ar written (`target` 0)
    SaveSettingsAs, // Save Settings As... to kSoakSettingsFile (`target` 1)
    OpenSettings,   // Open Settings... of the file `target` (0 settings_v4.ar, 1 kSoakSettingsFile)
    Key,            // key `target` with modifiers `value` at the frame's window
    PointerMove,    // the mouse moved to (x, y) on the surface
    PointerPress,   // button `target` (1 left, 2 right) clicked at (x, y) on the surface
    Record,         // R, `value` frames filmed, then R again or, with `target` 1, Apply
};

struct SoakAction {
    SoakVerb verb = SoakVerb::Frames;
    int target = 0;
    int value = 0;
    int x = 0;
    int y = 0;

    bool operator==(const SoakAction&) const = default;
};

inline constexpr const char* kSoakSettingsFile = "soak.ar";
// The surface's input is drawn in this box, a little beyond the 320 x 240 render target.
inline constexpr int kSoakPointerWidth = 360;
inline constexpr int kSoakPointerHeight = 270;

std::vector<SoakAction> PlanSoak(std::uint64_t seed, int steps);

// One line, such as "trackbar 1015 to 37" or "key Shift+Enter".
std::string Describe(const SoakAction& action);

} // namespace lumeno::test
