#pragma once
// Plays analysed music into the toy, frame by frame: the mapping's inputs delivered as
// window messages, as the mouse and keyboard deliver theirs, and its factors applied to
// the settings records around the values the user had when the music started.
//
// The scaled settings are put back when the music stops (Stop, or the destructor), so
// that what is saved afterwards is what the user gave, not a value of some loud moment.
// A value someone else wrote meanwhile (the properties dialog, an opened preset) is the
// user's new one: the music scales that from then on, and leaves it in place at the end.
// Colour keys are key presses like the user's own and stay pressed.

#include <functional>
#include <vector>

#include "platform/window_message.h"
#include "play/music_frame.h"
#include "play/music_mapping.h"
#include "settings/particle_settings.h"

namespace lumeno {

class MusicPlayer {
public:
    using Deliver = std::function<void(const WindowMessage&)>;

    // Takes the user's speed, intensity and colour slot from g_particleSettings now.
    // `frames` is the whole piece, for BeforeFrame; music heard live comes through Play.
    MusicPlayer(std::vector<MusicFrame> frames, int framesPerSecond, Deliver deliver);
    ~MusicPlayer() { Stop(); }
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Before film frame `frame` (from 1) renders: plays music frame `frame - 1`. Frames
    // past the music's end leave the user's values in force.
    void BeforeFrame(int frame);
    // Plays one frame of music now.
    void Play(const MusicFrame& frame);
    // Puts the user's settings back; the music plays no more.
    void Stop();
    // The particle record with the user's speed and intensity in place of the music's,
    // as a save should keep it.
    ParticleSettings UsersSettings() const;

    // Called on each beat: with the autopilot steering, its path hops ahead
    // (Autopilot::HopOnBeat), so the pointer moves with the music.
    std::function<void()> onBeat;

private:
    void RestoreSettings();
    // Settings that differ from what the player last wrote were changed by the user.
    void TakeUsersChanges();

    std::vector<MusicFrame> m_frames;
    MusicMapping m_mapping;
    Deliver m_deliver;
    float m_userSpeed;
    float m_userIntensity;
    float m_writtenSpeed;
    float m_writtenIntensity;
    bool m_playing = true;
};

} // namespace lumeno
