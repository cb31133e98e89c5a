// The window as an MPRIS2 media player on the session bus: steering-wheel buttons, media keys,
// a desktop's media applet and playerctl drive the radio through the window's own operations,
// and see the tuned channel as the track.
//
// Next and Previous choose the neighbouring row of the tuned channel's row, just as a double tap
// on that row does; Play, Pause, Stop and PlayPause act on the radio's mute, as the mute button
// does. While the radio service is gone the player is stopped and offers nothing to do.
//
// While the radio keeps time shift, Pause, Stop and PlayPause pause what is heard and Play
// resumes it, the position is the one in the song heard and can be sought; behind live, the
// track is the song heard, and Next and Previous skip songs instead of channels. A position that
// jumps within a track (a seek, from here or from the window) is announced with Seeked.
//
// The properties are read when asked; a PropertiesChanged signal goes out only for a property
// whose value differs from the one last announced, all of a step's changes in one signal. The
// player follows the tuned channel (radio/tunedchannel.h), the radio's mute and its service
// coming and going, and is told by the window when the list has come round and after each look
// at the mixer. It has no timer of its own, and the listing reports of other channels do not
// reach it.
#pragma once

#include "channellist/liststate.h"
#include "channellist/tunerow.h"
#include "mpris/metadata.h"
#include "radio/axxmradioclient.h"
#include "radio/channeltable.h"
#include "radio/timeshift.h"
#include "radio/tunedchannel.h"
#include "volume/cvolume.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

namespace mpris {

inline constexpr char ServiceName[] = "org.mpris.MediaPlayer2.vantoxm";
inline constexpr char ObjectPath[] = "/org/mpris/MediaPlayer2";
inline constexpr char RootInterface[] = "org.mpris.MediaPlayer2";
inline constexpr char PlayerInterface[] = "org.mpris.MediaPlayer2.Player";

// The window's parts the media player works on; all outlive it, except the radio client,
// which the window drops at unload.
struct WindowParts {
    QWidget& window;
    const radio::TunedChannel& tuned;
    const radio::TimeShift& timeShift;
    const channellist::ListState& list;
    const radio::ChannelTable& table;
    channellist::RowTuner& tuner;
    AXXMRadioClient* radio = nullptr;
    // The mixer; nothing while there is none (before start-up has made it, after unload).
    std::function<volume::cVolume*()> mixer;
};

// The mixer's master level (0..65535) as an MPRIS volume (0.0..1.0), and back: a volume below
// 0 is 0 and one above 1 is full scale; a volume that is not a number changes nothing.
double VolumeOf(qint32 level);
std::optional<qint32> LevelOf(double volume);

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    // Offers the window on the bus. Owning the name is asked for without waiting; when another
    // instance owns it, this one logs that once and goes on without MPRIS.
    MediaPlayer(WindowParts parts, const QDBusConnection& bus = QDBusConnection::sessionBus());
    ~MediaPlayer() override;

    // The window unloads: leave the bus and do nothing more. Safe to call from inside one of
    // our own calls (the window may close while a choice lets pending events run).
    void Unload();

    // org.mpris.MediaPlayer2
    void Raise();
    void Quit();

    // org.mpris.MediaPlayer2.Player
    void Next();
    void Previous();
    void PlayPause();
    void Play();
    void Pause();
    void Stop();
    // Offset and position in microseconds, within the song heard.
    void Seek(qint64 offset);
    void SetPosition(const QDBusObjectPath& trackId, qint64 position);
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    qint64 Position() const;
    bool CanGoNext() const;
    bool CanGoPrevious() const;
    bool CanPlay() const;
    bool CanSeek() const;
    double Volume() const;
    void setVolume(double volume);
    // A rate of 0 asks to pause; live radio has no other rate than 1.
    void setRate(double rate);

    // Announces every Player property that differs from its last announced value.
    void Refresh();
    // The window has looked at the mixer: a level changed elsewhere (a desktop applet, a volume
    // key) is announced.
    void FollowVolume();

private:
    struct Snapshot {
        QString status;
        Track track;
        bool canGoNext = false;
        bool canGoPrevious = false;
        bool canPlay = false;
        bool canSeek = false;
        qint32 volumeLevel = 0;
    };
    Snapshot snapshot() const;
    Track track() const;
    // The radio service is on the bus and can be told what to do.
    bool serviceHere() const;
    // The service is here and keeps time shift; behind live as well.
    bool shifting() const;
    bool behindLive() const;
    // Asks for a seek to this many seconds into the song heard; behind live, past its end is the
    // next song.
    void seekTo(double seconds);
    // The mute the radio will have: the last one asked for while requests are on their way (the
    // service confirms each in turn, and a confirmation of an earlier one is no news), else the
    // radio's own.
    bool muted() const;
    // The tuned channel's place in the list, when it has one.
    std::optional<qint32> tunedPosition() const;
    // Whether a step may choose the row at this table position: only with the service there,
    // once the listing has come round, and only a row of the table (a choice outside it would
    // still write LastChannel).
    bool canChoose(qint32 position) const;
    // Chooses the row delta rows from the tuned channel's. Steps asked for while one runs (a
    // choice lets pending calls run) are taken after it, each from the channel the last one tuned.
    void step(int delta);
    void setMute(bool muted);
    void onMuteReported();
    void onServiceLost();
    // A report of time shift: a jump of the position within the same track is announced.
    void onTimeShift();
    qint32 mixerLevel() const;
    void announce(const QVariantMap& changed);
    void requestName();
    void withdraw();

    WindowParts m_parts;
    QPointer<AXXMRadioClient> m_radio;
    QDBusConnection m_bus;
    Snapshot m_announced;
    bool m_registered = false;
    bool m_unloaded = false;
    int m_pendingSteps = 0;
    bool m_stepping = false;
    // Stop was asked for, and the radio has stayed muted since.
    bool m_stopped = false;
    bool m_askedMute = false;
    int m_muteRequests = 0;
    bool m_noMixerLogged = false;
    // The position in the song heard at the last report of time shift, and when it came (ms).
    std::optional<std::pair<double, qint64>> m_lastPosition;
    QElapsedTimer m_clock;
};

} // namespace mpris
