#include "play/live_music_analysis.h"

#include <algorithm>
#include <cmath>

#include "play/music_analysis.h"
#include "play/music_loudness.h"

namespace lumeno {

LiveMusicAnalyser::LiveMusicAnalyser(int sampleRate)
    : m_sampleRate(sampleRate),
      m_onset(new_aubio_onset("default", kAnalysisWindow, kAnalysisHop, static_cast<uint_t>(sampleRate))),
      m_tempo(new_aubio_tempo("default", kAnalysisWindow, kAnalysisHop, static_cast<uint_t>(sampleRate))),
      m_hop(new_fvec(kAnalysisHop)),
      m_onsetOut(new_fvec(1)),
      m_tempoOut(new_fvec(1))
{
}

void LiveMusicAnalyser::Feed(std::span<const float> samples)
{
    if (!IsValid())
        return;
    for (const float sample : samples) {
        m_sumOfSquares += static_cast<double>(sample) * sample;
        m_hop->data[m_hopFill++] = sample;
        if (m_hopFill == kAnalysisHop)
            AnalyseHop();
    }
    m_sampleCount += samples.size();
}

void LiveMusicAnalyser::AnalyseHop()
{
    m_hopFill = 0;
    // Heard now, so it shows on the coming frame: aubio's few hops of delay are all the
    // lag there is, where a file's analysis puts the event back where it began.
    aubio_onset_do(m_onset.get(), m_hop.get(), m_onsetOut.get());
    if (m_onsetOut->data[0] != 0) {
        m_onsetHeard = true;
        m_onsetDescriptor = std::max(m_onsetDescriptor, aubio_onset_get_descriptor(m_onset.get()));
    }
    aubio_tempo_do(m_tempo.get(), m_hop.get(), m_tempoOut.get());
    if (m_tempoOut->data[0] != 0)
        m_beatHeard = true;
}

MusicFrame LiveMusicAnalyser::TakeFrame(double frameSeconds)
{
    const double rms = m_sampleCount > 0 ? std::sqrt(m_sumOfSquares / static_cast<double>(m_sampleCount)) : 0.0;
    const double attack = 1.0 - std::exp(-frameSeconds / kLoudnessAttackSeconds);
    const double release = 1.0 - std::exp(-frameSeconds / kLoudnessReleaseSeconds);
    m_level += (rms > m_level ? attack : release) * (rms - m_level);
    const double forget = std::exp2(-frameSeconds / kLiveReferenceHalfLifeSeconds);
    m_loudestLevel = std::max(m_level, m_loudestLevel * forget);

    MusicFrame frame;
    frame.loudness = static_cast<float>(std::min(1.0, m_level / std::max(kQuietestReferenceRms, m_loudestLevel)));
    frame.onset = m_onsetHeard;
    frame.beat = m_beatHeard;
    if (m_onsetHeard) {
        m_strongestOnset = std::max(static_cast<float>(m_strongestOnset * forget), m_onsetDescriptor);
        frame.onsetStrength = m_strongestOnset > 0.0f ? m_onsetDescriptor / m_strongestOnset : 0.0f;
    }
    m_sumOfSquares = 0.0;
    m_sampleCount = 0;
    m_onsetHeard = m_beatHeard = false;
    m_onsetDescriptor = 0.0f;
    return frame;
}

} // namespace lumeno
