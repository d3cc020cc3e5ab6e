#include "play/music_listening.h"

#include <string>

#include "platform/clock.h"
#include "platform/message_box.h"

namespace lumeno {

MusicListening::MusicListening(MakeSource makeSource, std::function<void(bool)> showListening,
                               MusicPlayer::Deliver deliver, ClockSource clock)
    : m_makeSource(std::move(makeSource)), m_showListening(std::move(showListening)), m_deliver(std::move(deliver)),
      m_clock(std::move(clock))
{
}

void MusicListening::Toggle()
{
    if (IsListening())
        Stop();
    else
        Start();
}

void MusicListening::Start()
{
    std::unique_ptr<SoundSource> source = m_makeSource ? m_makeSource() : nullptr;
    std::string error = "There is no sound input to listen to.";
    // The analyser is made once the rate is known; samples only come from the event loop,
    // after Start has returned, and are dropped should one come before it.
    if (!source || !source->Start([this](std::span<const float> mono) {
            if (m_analyser)
                m_analyser->Feed(mono);
        }, &error)) {
        ShowMessageBox(error, kListeningBoxTitle, MessageIcon::Warning);
        return;
    }
    m_analyser = std::make_unique<LiveMusicAnalyser>(source->SampleRate());
    if (!m_analyser->IsValid()) {
        m_analyser.reset();
        ShowMessageBox("The sound input's rate of " + std::to_string(source->SampleRate()) +
                           " samples a second cannot be analysed.",
                       kListeningBoxTitle, MessageIcon::Warning);
        return;
    }
    m_player = std::make_unique<MusicPlayer>(std::vector<MusicFrame>{}, kListeningFramesPerSecond, m_deliver);
    m_player->onBeat = [this] {
        if (onBeat)
            onBeat();
    };
    m_source = std::move(source);
    m_lastFrameMs = m_clock();
    if (m_showListening)
        m_showListening(true);
}

void MusicListening::BeforeFrame()
{
    if (!IsListening())
        return;
    const std::uint32_t now = m_clock();
    // Unsigned difference: right across the counter's wrap.
    const double seconds = static_cast<std::uint32_t>(now - m_lastFrameMs) / 1000.0;
    m_lastFrameMs = now;
    m_player->Play(m_analyser->TakeFrame(seconds > 0.0 ? seconds : 0.001));
}

void MusicListening::Stop()
{
    if (!IsListening())
        return;
    m_source.reset(); // no more samples
    m_player->Stop();
    m_player.reset();
    m_analyser.reset();
    if (m_showListening)
        m_showListening(false);
}

} // namespace lumeno
