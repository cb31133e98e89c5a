#include "mediaplayer.h"
#include "mpris/logging.h"

#include "mpris/adaptors.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace mpris {
namespace {

// RequestName's flag and answers, as the bus daemon defines them.
constexpr uint DoNotQueue = 4;
constexpr uint PrimaryOwner = 1;
constexpr uint AlreadyOwner = 4;

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
    auto* root = new RootAdaptor(this);
    auto* player = new PlayerAdaptor(this);
    new PropertiesAdaptor(this, m_bus, {root, player});
    if (!m_bus.registerObject(QLatin1String(ObjectPath), this, QDBusConnection::ExportAdaptors)) {
        qCWarning(lcMpris) << ObjectPath << "is taken on this connection: the radio is not offered as a media player";
        return;
    }
    m_registered = true;
    requestName();
    // Queued: the labels may wait for a held preset before they show a change, and a step may
    // change the channel more than once before it ends; the player then announces what stands.
    connect(&m_parts.tuned, &radio::TunedChannel::changed, this, &MediaPlayer::Refresh, Qt::QueuedConnection);
    connect(&m_parts.timeShift, &radio::TimeShift::changed, this, &MediaPlayer::onTimeShift);
    m_clock.start();
    if (m_radio) {
        connect(m_radio, &AXXMRadioClient::MuteChanged, this, &MediaPlayer::onMuteReported);
        connect(m_radio, &AXXMRadioClient::ServiceLost, this, &MediaPlayer::onServiceLost);
        connect(m_radio, &AXXMRadioClient::ServiceFound, this, &MediaPlayer::Refresh);
    }
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
    disconnect(&m_parts.tuned, nullptr, this, nullptr);
    disconnect(&m_parts.timeShift, nullptr, this, nullptr);
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
    // Behind live a track is a song heard, and the next one is in what the service keeps.
    if (behindLive())
        m_radio->timeShift(TimeShiftCommand::NextSong);
    else
        step(+1);
}

void MediaPlayer::Previous()
{
    if (behindLive())
        m_radio->timeShift(TimeShiftCommand::PreviousSong);
    else
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
        const std::optional<qint32> from = tunedPosition();
        if (!from || !canChoose(*from + one))
            continue;
        // As a double tap on the row: the choice tunes, shows, lights the presets, writes
        // LastChannel and ends the mute; the list's selection then moves onto the channel.
        const qint32 position = *from + one;
        m_parts.tuner.TuneRow(position);
    }
    m_pendingSteps = 0;
    m_stepping = false;
    Refresh();
}

void MediaPlayer::setMute(bool mute)
{
    if (muted() != mute) {
        m_askedMute = mute;
        ++m_muteRequests;
        m_radio->setMute(mute);
    }
    Refresh();
}

void MediaPlayer::onMuteReported()
{
    if (m_muteRequests > 0)
        --m_muteRequests;
    Refresh();
}

void MediaPlayer::onServiceLost()
{
    // What was on its way is lost with the service; the radio client tells a returning service
    // the mute last asked for.
    m_muteRequests = 0;
    Refresh();
}

void MediaPlayer::onTimeShift()
{
    const double position = m_parts.timeShift.position();
    const qint64 now = m_clock.elapsed();
    // Reports come every second; a position more than this far from where the sound went on
    // playing (or stood paused) was moved.
    constexpr double Slack = 2.0;
    if (m_registered && shifting() && m_lastPosition && track() == m_announced.track) {
        const double expected =
            m_lastPosition->first + (m_parts.timeShift.paused() ? 0.0 : double(now - m_lastPosition->second) / 1000.0);
        if (std::abs(position - expected) > Slack) {
            QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(ObjectPath), QLatin1String(PlayerInterface),
                                                             QStringLiteral("Seeked"));
            signal << qlonglong(Position());
            m_bus.send(signal);
        }
    }
    m_lastPosition = shifting() ? std::optional(std::pair(position, now)) : std::nullopt;
    Refresh();
}

void MediaPlayer::PlayPause()
{
    if (!CanPlay())
        return;
    if (shifting() ? m_parts.timeShift.paused() : muted())
        Play();
    else
        Pause();
}

void MediaPlayer::Play()
{
    if (!CanPlay())
        return;
    m_stopped = false;
    if (shifting() && m_parts.timeShift.paused())
        m_radio->timeShift(TimeShiftCommand::Resume);
    setMute(false);
}

void MediaPlayer::Pause()
{
    // With time shift, the sound waits where it is instead of going on unheard.
    if (shifting()) {
        if (!m_parts.timeShift.paused())
            m_radio->timeShift(TimeShiftCommand::Pause);
        return;
    }
    // A stopped radio is muted already, and stays stopped.
    if (!CanPlay() || (m_stopped && muted()))
        return;
    setMute(true);
}

void MediaPlayer::Stop()
{
    // A radio cannot be stopped but by muting it; it says Stopped until it plays again.
    if (!CanPlay())
        return;
    if (shifting()) {
        Pause();
        return;
    }
    m_stopped = true;
    setMute(true);
}

void MediaPlayer::Seek(qint64 offset)
{
    if (CanSeek())
        seekTo(std::max(0.0, m_parts.timeShift.position() + double(offset) / 1e6));
}

void MediaPlayer::SetPosition(const QDBusObjectPath& trackId, qint64 position)
{
    // A position for a track that is no longer the one heard is out of date.
    if (!CanSeek() || position < 0 || trackId != TrackId(track().number))
        return;
    const qint32 duration = track().duration;
    if (duration > 0 && position > Microseconds(duration))
        return;
    seekTo(double(position) / 1e6);
}

void MediaPlayer::seekTo(double seconds)
{
    const qint32 duration = track().duration;
    if (behindLive() && duration > 0 && seconds > duration)
        Next();
    else
        m_radio->timeShift(TimeShiftCommand::Seek, seconds);
}

void MediaPlayer::setRate(double rate)
{
    if (rate == 0.0)
        Pause();
}

// --- the properties ----------------------------------------------------------------------------

bool MediaPlayer::serviceHere() const
{
    return !m_unloaded && m_radio && !m_radio->currentOwner().isEmpty();
}

bool MediaPlayer::shifting() const
{
    return serviceHere() && m_parts.timeShift.on();
}

bool MediaPlayer::behindLive() const
{
    return shifting() && m_parts.timeShift.behind();
}

bool MediaPlayer::muted() const
{
    if (m_muteRequests > 0)
        return m_askedMute;
    return m_radio && m_radio->Mute();
}

Track MediaPlayer::track() const
{
    if (const std::optional<radio::HeardSong>& song = m_parts.timeShift.song(); song && behindLive())
        return Track{song->number, song->station, song->artist, song->title, song->genre, song->duration};
    const radio::TunedChannel& tuned = m_parts.tuned;
    const radio::ChannelTexts& texts = tuned.texts();
    const std::optional<radio::TrackTime> time = tuned.time();
    return Track{tuned.number(), texts.station, texts.artist, texts.title, texts.genre, time ? time->duration : -1};
}

QString MediaPlayer::PlaybackStatus() const
{
    if (!serviceHere())
        return QStringLiteral("Stopped");
    if (shifting() && m_parts.timeShift.paused())
        return QStringLiteral("Paused");
    if (!muted())
        return QStringLiteral("Playing");
    return m_stopped ? QStringLiteral("Stopped") : QStringLiteral("Paused");
}

QVariantMap MediaPlayer::Metadata() const
{
    return mpris::Metadata(track());
}

qint64 MediaPlayer::Position() const
{
    if (shifting())
        return std::llround(std::max(0.0, m_parts.timeShift.position()) * 1e6);
    const std::optional<radio::TrackTime> time = m_parts.tuned.time();
    return time ? Microseconds(time->position) : 0;
}

std::optional<qint32> MediaPlayer::tunedPosition() const
{
    const std::optional<qint32> number = m_parts.tuned.number();
    if (!number)
        return std::nullopt;
    const int position = m_parts.table.FindItem(radio::ChannelTable::RowKey(*number));
    return position < 0 ? std::nullopt : std::optional<qint32>(position);
}

bool MediaPlayer::canChoose(qint32 position) const
{
    return serviceHere() && m_parts.list.ChannelListReady && position >= 0 && position < m_parts.table.count();
}

bool MediaPlayer::CanGoNext() const
{
    if (behindLive())
        return true;
    const std::optional<qint32> from = tunedPosition();
    return from && canChoose(*from + 1);
}

bool MediaPlayer::CanGoPrevious() const
{
    if (behindLive())
        return true;
    const std::optional<qint32> from = tunedPosition();
    return from && canChoose(*from - 1);
}

bool MediaPlayer::CanPlay() const
{
    return serviceHere();
}

bool MediaPlayer::CanSeek() const
{
    return shifting();
}

qint32 MediaPlayer::mixerLevel() const
{
    volume::cVolume* mixer = m_parts.mixer ? m_parts.mixer() : nullptr;
    return mixer ? mixer->VolumeLevel() : 0;
}

double MediaPlayer::Volume() const
{
    return VolumeOf(mixerLevel());
}

void MediaPlayer::setVolume(double value)
{
    const std::optional<qint32> level = LevelOf(value);
    if (m_unloaded || !level)
        return;
    volume::cVolume* mixer = m_parts.mixer ? m_parts.mixer() : nullptr;
    // Without a mixer the write is dropped: the caller cannot be told, and nothing else is wrong.
    if (!mixer || mixer->VolumeMax() == 0) {
        if (!m_noMixerLogged)
            qCWarning(lcMpris) << "no mixer: a volume asked for over MPRIS is dropped until there is one";
        m_noMixerLogged = true;
        return;
    }
    m_noMixerLogged = false;
    mixer->setVolumeLevel(*level);
    FollowVolume();
}

MediaPlayer::Snapshot MediaPlayer::snapshot() const
{
    return Snapshot{PlaybackStatus(), track(), CanGoNext(), CanGoPrevious(), CanPlay(), CanSeek(), mixerLevel()};
}

void MediaPlayer::Refresh()
{
    if (!m_registered)
        return;
    if (serviceHere() && !muted())
        m_stopped = false;
    const Snapshot now = snapshot();
    QVariantMap changed;
    if (now.status != m_announced.status)
        changed.insert(QStringLiteral("PlaybackStatus"), now.status);
    if (!(now.track == m_announced.track))
        changed.insert(QStringLiteral("Metadata"), mpris::Metadata(now.track));
    if (now.canGoNext != m_announced.canGoNext)
        changed.insert(QStringLiteral("CanGoNext"), now.canGoNext);
    if (now.canGoPrevious != m_announced.canGoPrevious)
        changed.insert(QStringLiteral("CanGoPrevious"), now.canGoPrevious);
    if (now.canPlay != m_announced.canPlay) {
        changed.insert(QStringLiteral("CanPlay"), now.canPlay);
        changed.insert(QStringLiteral("CanPause"), now.canPlay);
    }
    if (now.canSeek != m_announced.canSeek)
        changed.insert(QStringLiteral("CanSeek"), now.canSeek);
    if (now.volumeLevel != m_announced.volumeLevel)
        changed.insert(QStringLiteral("Volume"), VolumeOf(now.volumeLevel));
    m_announced = now;
    announce(changed);
}

void MediaPlayer::FollowVolume()
{
    if (!m_registered)
        return;
    const qint32 level = mixerLevel();
    if (level == m_announced.volumeLevel)
        return;
    m_announced.volumeLevel = level;
    announce({{QStringLiteral("Volume"), VolumeOf(level)}});
}

void MediaPlayer::announce(const QVariantMap& changed)
{
    if (changed.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(QLatin1String(ObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(PlayerInterface) << changed << QStringList();
    m_bus.send(signal);
}

} // namespace mpris
