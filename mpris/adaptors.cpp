#include "adaptors.h"

#include "mpris/mediaplayer.h"

namespace mpris {

RootAdaptor::RootAdaptor(MediaPlayer* player)
    : QDBusAbstractAdaptor(player)
    , m_player(*player)
{
}

void RootAdaptor::Raise()
{
    m_player.Raise();
}
void RootAdaptor::Quit()
{
    m_player.Quit();
}

PlayerAdaptor::PlayerAdaptor(MediaPlayer* player)
    : QDBusAbstractAdaptor(player)
    , m_player(*player)
{
}

QString PlayerAdaptor::PlaybackStatus() const
{
    return m_player.PlaybackStatus();
}
QVariantMap PlayerAdaptor::Metadata() const
{
    return m_player.Metadata();
}
double PlayerAdaptor::Volume() const
{
    return m_player.Volume();
}
void PlayerAdaptor::setVolume(double volume)
{
    m_player.setVolume(volume);
}
qlonglong PlayerAdaptor::Position() const
{
    return m_player.Position();
}
bool PlayerAdaptor::CanGoNext() const
{
    return m_player.CanGoNext();
}
bool PlayerAdaptor::CanGoPrevious() const
{
    return m_player.CanGoPrevious();
}
bool PlayerAdaptor::CanPlay() const
{
    return m_player.CanPlay();
}

void PlayerAdaptor::Next()
{
    m_player.Next();
}
void PlayerAdaptor::Previous()
{
    m_player.Previous();
}
void PlayerAdaptor::Pause()
{
    m_player.Pause();
}
void PlayerAdaptor::PlayPause()
{
    m_player.PlayPause();
}
void PlayerAdaptor::Stop()
{
    m_player.Stop();
}
void PlayerAdaptor::Play()
{
    m_player.Play();
}
void PlayerAdaptor::Seek(qlonglong) {}
void PlayerAdaptor::SetPosition(const QDBusObjectPath&, qlonglong) {}
void PlayerAdaptor::OpenUri(const QString&) {}

} // namespace mpris
