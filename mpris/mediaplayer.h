// The window as an MPRIS2 media player on the session bus: steering-wheel buttons, media keys,
// a desktop's media applet and playerctl drive the radio through the window's own operations,
// and see the tuned channel as the track.
//
// Next and Previous choose the neighbouring row of the channel list just as a choice in the
// list does; Play, Pause, Stop and PlayPause act on the radio's mute, as the mute button does.
// The properties are read from the window when asked; a PropertiesChanged signal goes out only
// for a property whose value has changed since it was last announced. Changes are looked for
// when the radio reports the tuned channel, its time or its mute, after each of our own
// operations, and once a second for what changes without a report (the list becoming ready, a
// tap on a row, the mixer). The listing reports of other channels are not followed at all.
#pragma once

#include "channellist/choose.h"
#include "channellist/highlight.h"
#include "mpris/metadata.h"
#include "radio/axxmradioclient.h"
#include "radio/channeltable.h"
#include "skin/radioxmcontrols.h"
#include "skin/windowstate.h"
#include "volume/cvolume.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QTimer>
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
    skin::RadioXMControls& controls;
    const skin::WindowState& state;
    const radio::ChannelTable& table;
    channellist::Highlighter& highlight;
    channellist::ChannelChooser& chooser;
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
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    qint64 Position() const;
    bool CanGoNext() const;
    bool CanGoPrevious() const;
    bool CanPlay() const;
    double Volume() const;
    void setVolume(double volume);

    // Announces every Player property that differs from its last announced value.
    void Refresh();

private:
    struct Snapshot {
        QString status;
        TunedChannel channel;
        bool canGoNext = false;
        bool canGoPrevious = false;
        bool canPlay = false;
        qint32 volumeLevel = 0;
    };
    Snapshot snapshot() const;
    TunedChannel tunedChannel() const;
    // Whether a step may choose the row at this table position: only once the listing has come
    // round, and only a row of the table (a choice outside it would still write LastChannel).
    bool canChoose(qint32 position) const;
    // Chooses the row delta rows from the selection. Steps asked for while one runs (a choice
    // lets pending calls run) are taken after it, each from the selection the last one left.
    void step(int delta);
    void setMute(bool muted);
    void requestName();
    void withdraw();

    WindowParts m_parts;
    QPointer<AXXMRadioClient> m_radio;
    QDBusConnection m_bus;
    QTimer m_poll;
    Snapshot m_announced;
    bool m_registered = false;
    bool m_unloaded = false;
    int m_pendingSteps = 0;
    bool m_stepping = false;
};

} // namespace mpris
