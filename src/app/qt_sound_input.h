#pragma once
// The computer's default audio input through Qt Multimedia, as a sound source for
// listening (play/music_listening.h): mono float at 44.1 kHz where the device offers it,
// else the device's own format, mixed down and converted here.

#include <memory>
#include <vector>

#include <QAudioFormat>

#include "play/sound_source.h"

class QAudioSource;
class QIODevice;

namespace lumeno {

// Interleaved samples of `format` as one channel of floats in [-1, 1], the channels
// averaged; empty for a sample format we do not read.
std::vector<float> MonoSamples(const QByteArray& bytes, const QAudioFormat& format);

class QtSoundInput final : public SoundSource {
public:
    QtSoundInput();
    ~QtSoundInput() override;

    bool Start(Samples samples, std::string* error) override;
    int SampleRate() const override { return m_format.sampleRate(); }

private:
    void ReadAvailable();

    QAudioFormat m_format;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_input = nullptr; // owned by m_source
    Samples m_samples;
};

} // namespace lumeno
