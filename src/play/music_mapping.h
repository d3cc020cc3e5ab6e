#pragma once
// The one place that decides what the music does to the toy. Each frame of the music
// becomes the inputs a person could give: a click that re-emits the particles, a colour
// key, and two settings scaled around the user's own values. Nothing beneath the inputs
// changes, so a step of the simulation computes what it always does from what it is given.

#include "play/music_frame.h"

namespace lumeno {

// Loud passages move faster: the step's speed is the user's times up to this much more,
// so the motion keeps the user's character and only gains energy with the music.
inline constexpr float kSpeedSwing = 0.6f;
// Loud passages are brighter: the streaks' intensity is the user's times up to this much
// more. Brightness is what the eye follows best, so it carries the loudness most plainly.
inline constexpr float kIntensitySwing = 1.0f;
// An onset re-emits the particles around the pointer, the toy's most visible gesture: a
// ring that the pull draws in and fills within about half a second. At most one every
// 0.3 s: a drum roll would otherwise strobe, and eighth notes at 120 a minute (0.25 s
// apart) re-emit on every other one, the beats, where the first one locks on.
inline constexpr double kMinSecondsBetweenEmits = 0.3;
// Faint onsets (a breath, a soft note under a loud one) are left to the loudness.
inline constexpr float kMinEmitStrength = 0.2f;
// Every eighth beat, two bars of four in most music, steps the colour slot to the next of
// the four (the cycling colour counting as one): colours change with the phrases, rarely
// enough that each one is seen.
inline constexpr int kBeatsPerColorStep = 8;
inline constexpr int kColorSlots = 4;

// What one frame of music asks for.
struct MusicInputs {
    float speedFactor = 1.0f;     // times the user's speed
    float intensityFactor = 1.0f; // times the user's alpha intensity
    bool reEmit = false;          // a left click where the pointer is
    int colorSlot = -1;           // 0..3: the key of that slot is pressed; -1: none
    bool beat = false;            // a beat: where the autopilot's target will hop
};

// The choices above, frame after frame; it counts beats and the frames since the last
// re-emission, so frames go in order.
class MusicMapping {
public:
    // `colorSlot`: the slot in force when the music starts, the first step goes to the next.
    MusicMapping(int framesPerSecond, int colorSlot);

    MusicInputs Next(const MusicFrame& frame);

private:
    int m_minFramesBetweenEmits;
    int m_framesSinceEmit;
    int m_beats = 0;
    int m_colorSlot;
};

} // namespace lumeno
