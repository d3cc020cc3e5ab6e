#include "soak_plan.h"

#include <Qt>

#include "play/seeded_random.h"
#include "settings/settings_file.h"
#include "settings/ui/control_ids.h"
#include "settings/ui/trackbar_mappings.h"

namespace lumeno::test {
namespace {

namespace id = control_id;

struct SoakKey {
    int key;
    int modifiers;
    const char* name;
};

// The keys the frame and the engine act on, but for R (its own verb), F11 and M.
constexpr SoakKey kKeys[] = {
    {Qt::Key_Return, 0, "Enter"},       {Qt::Key_Return, Qt::ShiftModifier, "Shift+Enter"},
    {Qt::Key_C, 0, "C"},                {Qt::Key_Space, 0, "Space"},
    {Qt::Key_Backspace, 0, "BackSpace"}, {Qt::Key_1, 0, "1"},
    {Qt::Key_2, 0, "2"},                {Qt::Key_3, 0, "3"},
    {Qt::Key_4, 0, "4"},                {Qt::Key_A, 0, "A"},
    {Qt::Key_N, 0, "N"},                {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
};

struct SoakTrackbar {
    int id;
    TrackbarRange range;
};

// The canvas trackbars keep to the three smallest sizes and up to 27³ particles: a
// software renderer pays for every canvas pixel each frame, and the soak is after the
// program's life cycle, not its limits.
constexpr SoakTrackbar kCanvasTrackbars[] = {
    {id::kXRes, {0, 2}}, {id::kYRes, {0, 2}}, {id::kParticleCount, {10, 27}}};

constexpr int kCheckBoxes[] = {id::kAntiAlias, id::kDebug, id::kInvert, id::kMultiThreaded};
constexpr int kRadios[] = {id::kOneCircle,       id::kThreeCircles,    id::kRndCircles,     id::kColorRadio1,
                           id::kColorRadio1 + 1, id::kColorRadio1 + 2, id::kColorRadio1 + 3};

// How often each verb is drawn, out of the sum; the rebuilding ones rarely, as a user
// would, and because each costs a new canvas.
constexpr std::pair<SoakVerb, int> kVerbWeights[] = {
    {SoakVerb::Frames, 20},        {SoakVerb::Trackbar, 20},       {SoakVerb::CheckBox, 8},
    {SoakVerb::Radio, 8},          {SoakVerb::Quality, 3},         {SoakVerb::Apply, 3},
    {SoakVerb::RestoreDefault, 1}, {SoakVerb::SaveSettings, 2},    {SoakVerb::SaveSettingsAs, 1},
    {SoakVerb::OpenSettings, 2},   {SoakVerb::Key, 16},            {SoakVerb::PointerMove, 8},
    {SoakVerb::PointerPress, 5},   {SoakVerb::Record, 2},
};

template <class T, std::size_t N>
const T& Pick(SeededRandom& random, const T (&items)[N])
{
    return items[random.Below(static_cast<int>(N))];
}

SoakVerb DrawVerb(SeededRandom& random)
{
    int total = 0;
    for (const auto& [verb, weight] : kVerbWeights)
        total += weight;
    int left = random.Below(total);
    for (const auto& [verb, weight] : kVerbWeights) {
        if (left < weight)
            return verb;
        left -= weight;
    }
    return SoakVerb::Frames;
}

int Between(SeededRandom& random, TrackbarRange range) { return range.min + random.Below(range.max - range.min + 1); }

class Planner {
public:
    explicit Planner(std::uint64_t seed) : m_random(seed) {}

    // One drawn action, and with it an Apply half the times it stages a canvas change.
    void Draw(std::vector<SoakAction>& plan)
    {
        SoakAction action{DrawVerb(m_random)};
        bool staged = false;
        switch (action.verb) {
        case SoakVerb::Frames:
            action.value = 1 + m_random.Below(8);
            break;
        case SoakVerb::Trackbar:
            staged = m_random.Below(4) == 0;
            DrawTrackbar(action, staged);
            break;
        case SoakVerb::CheckBox:
            action.target = Pick(m_random, kCheckBoxes);
            staged = action.target == id::kMultiThreaded;
            break;
        case SoakVerb::Radio:
            action.target = Pick(m_random, kRadios);
            break;
        case SoakVerb::Quality:
            action.value = m_random.Below(3);
            staged = true;
            break;
        case SoakVerb::SaveSettings:
        case SoakVerb::SaveSettingsAs:
            action.target = action.verb == SoakVerb::SaveSettings ? 0 : 1; // the file, as Open names it
            m_saved[action.target] = true;
            break;
        case SoakVerb::OpenSettings:
            // Only a file this run saved; before either is, the draw saves one instead.
            if (!m_saved[0] && !m_saved[1]) {
                action.verb = SoakVerb::SaveSettings;
                m_saved[0] = true;
            } else {
                action.target = m_saved[0] && m_saved[1] ? m_random.Below(2) : (m_saved[0] ? 0 : 1);
            }
            break;
        case SoakVerb::Key: {
            const SoakKey& key = Pick(m_random, kKeys);
            action.target = key.key;
            action.value = key.modifiers;
            break;
        }
        case SoakVerb::PointerMove:
        case SoakVerb::PointerPress:
            action.target = 1 + m_random.Below(2);
            action.x = m_random.Below(kSoakPointerWidth);
            action.y = m_random.Below(kSoakPointerHeight);
            if (action.verb == SoakVerb::PointerMove)
                action.target = 0;
            break;
        case SoakVerb::Record:
            action.value = 1 + m_random.Below(4);
            action.target = m_random.Below(4) == 0 ? 1 : 0;
            break;
        default:
            break;
        }
        plan.push_back(action);
        if (staged && m_random.Below(2) == 0)
            plan.push_back({SoakVerb::Apply});
    }

private:
    void DrawTrackbar(SoakAction& action, bool canvas)
    {
        if (canvas) {
            const SoakTrackbar& trackbar = Pick(m_random, kCanvasTrackbars);
            action.target = trackbar.id;
            action.value = Between(m_random, trackbar.range);
            return;
        }
        // Scale, then the eleven float trackbars.
        const int row = m_random.Below(1 + static_cast<int>(kFloatTrackbars.size()));
        action.target = row == 0 ? id::kScale : kFloatTrackbars[row - 1].trackbarId;
        action.value = Between(m_random, row == 0 ? kScaleRange : kFloatTrackbars[row - 1].range);
    }

    SeededRandom m_random;
    bool m_saved[2] = {false, false};
};

const char* KeyName(int key, int modifiers)
{
    for (const SoakKey& known : kKeys)
        if (known.key == key && known.modifiers == modifiers)
            return known.name;
    return "?";
}

} // namespace

std::vector<SoakAction> PlanSoak(std::uint64_t seed, int steps)
{
    std::vector<SoakAction> plan;
    Planner planner(seed);
    while (static_cast<int>(plan.size()) < steps)
        planner.Draw(plan);
    plan.resize(static_cast<std::size_t>(steps > 0 ? steps : 0));
    return plan;
}

std::string Describe(const SoakAction& action)
{
    const std::string at = std::to_string(action.x) + "," + std::to_string(action.y);
    switch (action.verb) {
    case SoakVerb::Frames:
        return "frames " + std::to_string(action.value);
    case SoakVerb::Trackbar:
        return "trackbar " + std::to_string(action.target) + " to " + std::to_string(action.value);
    case SoakVerb::CheckBox:
        return "check box " + std::to_string(action.target);
    case SoakVerb::Radio:
        return "radio " + std::to_string(action.target);
    case SoakVerb::Quality:
        return "quality " + std::to_string(action.value);
    case SoakVerb::Apply:
        return "apply";
    case SoakVerb::RestoreDefault:
        return "restore default";
    case SoakVerb::SaveSettings:
        return "save settings";
    case SoakVerb::SaveSettingsAs:
        return std::string("save settings as ") + kSoakSettingsFile;
    case SoakVerb::OpenSettings:
        return std::string("open settings ") + (action.target == 0 ? kSettingsFileName : kSoakSettingsFile);
    case SoakVerb::Key:
        return std::string("key ") + KeyName(action.target, action.value);
    case SoakVerb::PointerMove:
        return "pointer move " + at;
    case SoakVerb::PointerPress:
        return std::string("pointer press ") + (action.target == 1 ? "left " : "right ") + at;
    case SoakVerb::Record:
        return "record " + std::to_string(action.value) + " frames, ended by " + (action.target == 1 ? "Apply" : "R");
    }
    return "?";
}

} // namespace lumeno::test
