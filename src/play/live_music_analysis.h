#pragma once
// Music analysed as it is heard (a microphone, the sound card's input): samples come in
// pieces of any size, and each frame takes what was heard since the last one as one
// MusicFrame. The same aubio onset detector and tempo tracker as for a file, and the same
// smoothing of the loudness; but the level that reads as full loudness cannot be taken
// from the whole piece, which is not known yet: it is the loudest level heard lately,
// forgotten slowly, so a quiet passage after a loud one brightens again within seconds.
//
// One thread: Feed and TakeFrame are called from the same one (the window's).

#include <span>

#include "play/aubio_objects.h"
#include "play/music_frame.h"

namespace lumeno {

// The loudest level heard fades to half in this many seconds.
inline constexpr double kLiveReferenceHalfLifeSeconds = 8.0;

class LiveMusicAnalyser {
public:
    // False from IsValid when aubio refuses the rate.
    explicit LiveMusicAnalyser(int sampleRate);

    bool IsValid() const { return m_onset && m_tempo; }
    int SampleRate() const { return m_sampleRate; }

    void Feed(std::span<const float> samples);
    // What was heard since the last frame, `frameSeconds` ago.
    MusicFrame TakeFrame(double frameSeconds);

private:
    void AnalyseHop();

    int m_sampleRate;
    AubioOnset m_onset;
    AubioTempo m_tempo;
    AubioVector m_hop, m_onsetOut, m_tempoOut;
    unsigned m_hopFill = 0;
    // Since the last frame.
    double m_sumOfSquares = 0.0;
    std::size_t m_sampleCount = 0;
    bool m_onsetHeard = false;
    bool m_beatHeard = false;
    float m_onsetDescriptor = 0.0f;
    // Across frames.
    double m_level = 0.0;
    double m_loudestLevel = 0.0;
    float m_strongestOnset = 0.0f;
};

} // namespace lumeno
