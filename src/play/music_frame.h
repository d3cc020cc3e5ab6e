#pragma once
// What the music does during one frame of a film: frame k covers the seconds
// [k / fps, (k + 1) / fps) of the sound.

namespace lumeno {

struct MusicFrame {
    float loudness = 0.0f;      // 0 silent .. 1 as loud as the piece gets, smoothed
    bool onset = false;         // a note or a hit starts in this frame
    float onsetStrength = 0.0f; // of that onset: 1 for the file's strongest, 0 without one
    bool beat = false;          // the tempo tracker's beat falls in this frame
};

} // namespace lumeno
