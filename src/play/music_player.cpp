#include "play/music_player.h"

#include "settings/particle_settings.h"

namespace lumeno {

MusicPlayer::MusicPlayer(std::vector<MusicFrame> frames, int framesPerSecond, Deliver deliver)
    : m_frames(std::move(frames)),
      m_mapping(framesPerSecond, g_particleSettings.colorIndex),
      m_deliver(std::move(deliver)),
      m_userSpeed(g_particleSettings.speed),
      m_userIntensity(g_particleSettings.alphaIntensity),
      m_writtenSpeed(m_userSpeed),
      m_writtenIntensity(m_userIntensity)
{
}

void MusicPlayer::BeforeFrame(int frame)
{
    if (!m_playing)
        return;
    if (frame < 1 || frame > static_cast<int>(m_frames.size())) {
        RestoreSettings();
        return;
    }
    Play(m_frames[static_cast<std::size_t>(frame - 1)]);
}

void MusicPlayer::Play(const MusicFrame& frame)
{
    if (!m_playing)
        return;
    const MusicInputs inputs = m_mapping.Next(frame);
    TakeUsersChanges();
    m_writtenSpeed = g_particleSettings.speed = m_userSpeed * inputs.speedFactor;
    m_writtenIntensity = g_particleSettings.alphaIntensity = m_userIntensity * inputs.intensityFactor;
    if (inputs.colorSlot >= 0) {
        WindowMessage key;
        key.message = WM_KEYDOWN;
        key.virtualKey = static_cast<std::uint32_t>('1' + inputs.colorSlot);
        m_deliver(key);
    }
    if (inputs.reEmit) {
        WindowMessage click; // the engine emits where the pointer last moved to
        click.message = WM_LBUTTONDOWN;
        m_deliver(click);
    }
    if (inputs.beat && onBeat)
        onBeat();
}

void MusicPlayer::Stop()
{
    if (!m_playing)
        return;
    RestoreSettings();
    m_playing = false;
}

ParticleSettings MusicPlayer::UsersSettings() const
{
    // A value other than the one the player wrote is the user's own already.
    ParticleSettings settings = g_particleSettings;
    if (settings.speed == m_writtenSpeed)
        settings.speed = m_userSpeed;
    if (settings.alphaIntensity == m_writtenIntensity)
        settings.alphaIntensity = m_userIntensity;
    return settings;
}

void MusicPlayer::TakeUsersChanges()
{
    if (g_particleSettings.speed != m_writtenSpeed)
        m_userSpeed = g_particleSettings.speed;
    if (g_particleSettings.alphaIntensity != m_writtenIntensity)
        m_userIntensity = g_particleSettings.alphaIntensity;
}

void MusicPlayer::RestoreSettings()
{
    TakeUsersChanges();
    m_writtenSpeed = g_particleSettings.speed = m_userSpeed;
    m_writtenIntensity = g_particleSettings.alphaIntensity = m_userIntensity;
}

} // namespace lumeno
