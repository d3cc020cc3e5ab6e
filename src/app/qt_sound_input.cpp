#include "qt_sound_input.h"

#include <cstring>

#include <QAudioSource>
#include <QMediaDevices>

namespace lumeno {
namespace {

template <typename Sample>
float ReadSample(const char* at, float scale, float offset)
{
    Sample value;
    std::memcpy(&value, at, sizeof value);
    return (static_cast<float>(value) - offset) * scale;
}

float SampleAt(const char* at, QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::UInt8:
        return ReadSample<std::uint8_t>(at, 1.0f / 128.0f, 128.0f);
    case QAudioFormat::Int16:
        return ReadSample<std::int16_t>(at, 1.0f / 32768.0f, 0.0f);
    case QAudioFormat::Int32:
        return ReadSample<std::int32_t>(at, 1.0f / 2147483648.0f, 0.0f);
    case QAudioFormat::Float:
        return ReadSample<float>(at, 1.0f, 0.0f);
    default:
        return 0.0f;
    }
}

} // namespace

std::vector<float> MonoSamples(const QByteArray& bytes, const QAudioFormat& format)
{
    const int channels = format.channelCount();
    const int frameBytes = format.bytesPerFrame();
    if (channels < 1 || frameBytes < 1 || format.sampleFormat() == QAudioFormat::Unknown)
        return {};
    const int sampleBytes = format.bytesPerSample();
    std::vector<float> mono(static_cast<std::size_t>(bytes.size() / frameBytes));
    for (std::size_t frame = 0; frame < mono.size(); ++frame) {
        const char* at = bytes.constData() + frame * static_cast<std::size_t>(frameBytes);
        float sum = 0.0f;
        for (int channel = 0; channel < channels; ++channel)
            sum += SampleAt(at + channel * sampleBytes, format.sampleFormat());
        mono[frame] = sum / static_cast<float>(channels);
    }
    return mono;
}

QtSoundInput::QtSoundInput() = default;

QtSoundInput::~QtSoundInput()
{
    if (m_source)
        m_source->stop();
}

bool QtSoundInput::Start(Samples samples, std::string* error)
{
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        *error = "There is no audio input device to listen to: connect a microphone, or choose an input in the "
                 "system's sound settings, and press M again.";
        return false;
    }
    m_format.setSampleRate(44100);
    m_format.setChannelCount(1);
    m_format.setSampleFormat(QAudioFormat::Float);
    if (!device.isFormatSupported(m_format))
        m_format = device.preferredFormat();
    m_source = std::make_unique<QAudioSource>(device, m_format);
    // Small pieces, so each frame hears what came since the one before.
    m_source->setBufferSize(m_format.bytesForDuration(20000));
    m_input = m_source->start();
    if (m_input == nullptr || m_source->error() != QAudio::NoError) {
        *error = "The audio input " + device.description().toStdString() + " cannot be opened.";
        m_source.reset();
        return false;
    }
    m_samples = std::move(samples);
    QObject::connect(m_input, &QIODevice::readyRead, m_input, [this] { ReadAvailable(); });
    return true;
}

void QtSoundInput::ReadAvailable()
{
    const std::vector<float> mono = MonoSamples(m_input->readAll(), m_format);
    if (!mono.empty())
        m_samples(mono);
}

} // namespace lumeno
