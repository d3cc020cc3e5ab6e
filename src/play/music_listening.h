#pragma once
// The window's M key: the toy plays to what the computer hears (its default audio input),
// through the same mapping as a film's music. M again stops, and the user's settings come
// back. A source that cannot start says why in a box and nothing else changes.
//
// One thread: the sound source hands its samples over on the thread that started it (the
// window's event loop), where the frames are taken too, so nothing is shared across threads.

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/clock.h"
#include "play/live_music_analysis.h"
#include "play/music_player.h"
#include "play/sound_source.h"

namespace lumeno {

// The title of the box that says the computer cannot be heard.
inline constexpr const char* kListeningBoxTitle = "Listening";
// The window's frame timer runs at about 100 frames a second: the mapping counts its
// re-emission interval in frames of that rate.
inline constexpr int kListeningFramesPerSecond = 100;

class MusicListening {
public:
    using MakeSource = std::function<std::unique_ptr<SoundSource>()>;

    // `showListening` marks the window while it listens and unmarks it; `deliver` passes
    // the music's input on as the window's own; `clock` times what was heard.
    MusicListening(MakeSource makeSource, std::function<void(bool listening)> showListening,
                   MusicPlayer::Deliver deliver, ClockSource clock = TimeGetTime);
    ~MusicListening() { Stop(); }
    MusicListening(const MusicListening&) = delete;
    MusicListening& operator=(const MusicListening&) = delete;

    bool IsListening() const { return m_source != nullptr; }
    void Toggle();
    // Before each frame: plays what was heard since the last one.
    void BeforeFrame();
    // Stops listening and puts the user's settings back, if it listens.
    void Stop();
    // The particle record as a save should keep it: without what the music changes.
    ParticleSettings UsersSettings() const { return m_player ? m_player->UsersSettings() : g_particleSettings; }
    // Called on each beat heard (the window hops its autopilot on it); may be empty.
    std::function<void()> onBeat;
    // Tests hear samples of their own instead of the sound card.
    void SetSourceFactory(MakeSource makeSource) { m_makeSource = std::move(makeSource); }

private:
    void Start();

    MakeSource m_makeSource;
    std::function<void(bool)> m_showListening;
    MusicPlayer::Deliver m_deliver;
    ClockSource m_clock;
    std::unique_ptr<LiveMusicAnalyser> m_analyser;
    std::unique_ptr<MusicPlayer> m_player;
    std::unique_ptr<SoundSource> m_source;
    std::uint32_t m_lastFrameMs = 0;
};

} // namespace lumeno
