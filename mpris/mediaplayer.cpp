#include "mediaplayer.h"

#include "app/basic.h"
#include "mpris/adaptors.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>
#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcMpris, "vanto.mpris")

namespace mpris {
namespace {

// RequestName's flag and answers, as the bus daemon defines them.
constexpr uint DoNotQueue = 4;
constexpr uint PrimaryOwner = 1;
constexpr uint AlreadyOwner = 4;

// What changes without a report of the radio is looked for this often.
constexpr int PollIntervalMs = 1000;

QDBusMessage busCall(const char* method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                          QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), QLatin1String(method));
}

} // namespace

double VolumeOf(qint32 level)
{
    return double(level) / double(volume::FullScale);
}

std::optional<qint32> LevelOf(double volume)
{
    if (std::isnan(volume))
        return std::nullopt;
    return qint32(std::lround(std::clamp(volume, 0.0, 1.0) * volume::FullScale));
}

MediaPlayer::MediaPlayer(WindowParts parts, const QDBusConnection& bus)
    : m_parts(parts)
    , m_radio(parts.radio)
    , m_bus(bus)
{
    m_announced = snapshot();
    if (!m_bus.isConnected()) {
        qCWarning(lcMpris) << "no session bus: the radio is not offered as a media player";
        return;
    }
    new RootAdaptor(this);
    new PlayerAdaptor(this);
    if (!m_bus.registerObject(QLatin1String(ObjectPath), this, QDBusConnection::ExportAdaptors)) {
        qCWarning(lcMpris) << ObjectPath << "is taken on this connection: the radio is not offered as a media player";
        return;
    }
    m_registered = true;
    requestName();
    if (m_radio) {
        connect(m_radio, &AXXMRadioClient::ChannelChange, this, &MediaPlayer::Refresh);
        connect(m_radio, &AXXMRadioClient::CurrentChannelData, this, &MediaPlayer::Refresh);
        connect(m_radio, &AXXMRadioClient::CurrentTime, this, &MediaPlayer::Refresh);
        connect(m_radio, &AXXMRadioClient::MuteChanged, this, &MediaPlayer::Refresh);
    }
    m_poll.setInterval(PollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &MediaPlayer::Refresh);
    m_poll.start();
}

MediaPlayer::~MediaPlayer()
{
    withdraw();
}

void MediaPlayer::requestName()
{
    // Asked without waiting: the window must not hang on the bus at start-up.
    QDBusMessage request = busCall("RequestName");
    request << QLatin1String(ServiceName) << DoNotQueue;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(request), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        QDBusPendingReply<uint> reply = *w;
        if (reply.isValid() && (reply.value() == PrimaryOwner || reply.value() == AlreadyOwner)) {
            qCInfo(lcMpris) << "offered as a media player:" << ServiceName;
            return;
        }
        // Another instance of the window is the media player; this one goes on without.
        qCWarning(lcMpris).noquote() << ServiceName << "is owned by another instance"
                                     << (reply.isError() ? reply.error().message() : QString())
                                     << "- this window goes on without MPRIS";
        withdraw();
    });
}

void MediaPlayer::withdraw()
{
    m_poll.stop();
    if (m_radio)
        disconnect(m_radio, nullptr, this, nullptr);
    if (!m_registered)
        return;
    m_registered = false;
    m_bus.unregisterObject(QLatin1String(ObjectPath));
    // Sent without waiting; releasing a name we never got is harmless.
    QDBusMessage release = busCall("ReleaseName");
    release << QLatin1String(ServiceName);
    m_bus.send(release);
}

void MediaPlayer::Unload()
{
    m_unloaded = true;
    withdraw();
}

// --- the window's operations ------------------------------------------------------------------

void MediaPlayer::Raise()
{
    if (m_unloaded)
        return;
    QWidget& w = m_parts.window;
    w.setWindowState(w.windowState() & ~Qt::WindowMinimized);
    w.show();
    w.raise();
    w.activateWindow();
}

void MediaPlayer::Quit()
{
    if (m_unloaded)
        return;
    // As the Exit button: the window closes and unloads. Queued, so that the caller has its
    // answer before the window goes.
    QTimer::singleShot(0, &m_parts.window, &QWidget::close);
}

void MediaPlayer::Next()
{
    step(+1);
}

void MediaPlayer::Previous()
{
    step(-1);
}

void MediaPlayer::step(int delta)
{
    if (m_unloaded)
        return;
    m_pendingSteps += delta;
    if (m_stepping)
        return;
    m_stepping = true;
    while (m_pendingSteps != 0 && !m_unloaded) {
        const int one = m_pendingSteps > 0 ? 1 : -1;
        m_pendingSteps -= one;
        if (!(one > 0 ? CanGoNext() : CanGoPrevious()))
            continue;
        // As a preset's tap: the choice tunes, shows, lights the presets, writes LastChannel and
        // ends the mute; the highlight then moves the list's selection onto the channel.
        const qint32 position = m_parts.state.SelectedListItem + one;
        m_parts.chooser.ChooseListItem(position);
        if (!m_unloaded)
            m_parts.highlight.HighlightItem(position + 1);
    }
    m_pendingSteps = 0;
    m_stepping = false;
    Refresh();
}

void MediaPlayer::setMute(bool muted)
{
    if (m_unloaded || !m_radio || m_radio->Mute() == muted)
        return;
    m_radio->setMute(muted);
    Refresh();
}

void MediaPlayer::PlayPause()
{
    if (m_radio)
        setMute(!m_radio->Mute());
}
void MediaPlayer::Play()
{
    setMute(false);
}
void MediaPlayer::Pause()
{
    setMute(true);
}
void MediaPlayer::Stop()
{
    setMute(true);
}

// --- the properties ----------------------------------------------------------------------------

TunedChannel MediaPlayer::tunedChannel() const
{
    const skin::RadioXMControls& c = m_parts.controls;
    TunedChannel channel;
    channel.number = basic::CLng(c.lblCC->Caption()).value_or(0);
    channel.station = c.lblStation->Caption();
    channel.artist = c.lblArtist->Caption();
    channel.title = c.lblTrackTitle->Caption();
    channel.genre = c.lblGenre->Caption();
    channel.duration = m_parts.state.TrackDuration;
    return channel;
}

QString MediaPlayer::PlaybackStatus() const
{
    if (!m_radio)
        return QStringLiteral("Stopped");
    return m_radio->Mute() ? QStringLiteral("Paused") : QStringLiteral("Playing");
}

QVariantMap MediaPlayer::Metadata() const
{
    return mpris::Metadata(tunedChannel());
}

qint64 MediaPlayer::Position() const
{
    return Microseconds(m_parts.state.TrackPosition);
}

bool MediaPlayer::canChoose(qint32 position) const
{
    return m_parts.state.ChannelListReady && position >= 0 && position < m_parts.table.count();
}

bool MediaPlayer::CanGoNext() const
{
    return canChoose(m_parts.state.SelectedListItem + 1);
}

bool MediaPlayer::CanGoPrevious() const
{
    return canChoose(m_parts.state.SelectedListItem - 1);
}

double MediaPlayer::Volume() const
{
    volume::cVolume* mixer = m_parts.mixer ? m_parts.mixer() : nullptr;
    return mixer ? VolumeOf(mixer->VolumeLevel()) : 0.0;
}

void MediaPlayer::setVolume(double value)
{
    volume::cVolume* mixer = m_parts.mixer ? m_parts.mixer() : nullptr;
    const std::optional<qint32> level = LevelOf(value);
    if (m_unloaded || !mixer || !level)
        return;
    mixer->setVolumeLevel(*level);
    Refresh();
}

bool MediaPlayer::CanPlay() const
{
    return !m_unloaded && !m_radio.isNull();
}

MediaPlayer::Snapshot MediaPlayer::snapshot() const
{
    volume::cVolume* mixer = m_parts.mixer ? m_parts.mixer() : nullptr;
    return Snapshot{PlaybackStatus(), tunedChannel(), CanGoNext(),
                    CanGoPrevious(),  CanPlay(),      mixer ? mixer->VolumeLevel() : 0};
}

void MediaPlayer::Refresh()
{
    if (!m_registered)
        return;
    const Snapshot now = snapshot();
    QVariantMap changed;
    if (now.status != m_announced.status)
        changed.insert(QStringLiteral("PlaybackStatus"), now.status);
    if (!(now.channel == m_announced.channel))
        changed.insert(QStringLiteral("Metadata"), mpris::Metadata(now.channel));
    if (now.canGoNext != m_announced.canGoNext)
        changed.insert(QStringLiteral("CanGoNext"), now.canGoNext);
    if (now.canGoPrevious != m_announced.canGoPrevious)
        changed.insert(QStringLiteral("CanGoPrevious"), now.canGoPrevious);
    if (now.canPlay != m_announced.canPlay) {
        changed.insert(QStringLiteral("CanPlay"), now.canPlay);
        changed.insert(QStringLiteral("CanPause"), now.canPlay);
    }
    if (now.volumeLevel != m_announced.volumeLevel)
        changed.insert(QStringLiteral("Volume"), VolumeOf(now.volumeLevel));
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(QLatin1String(ObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(PlayerInterface) << changed << QStringList();
    m_bus.send(signal);
}

} // namespace mpris
