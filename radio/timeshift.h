// Time shift as the window knows it: whether the radio service keeps the tuned channel's last
// minutes, whether what is heard is paused, how far behind live it is, and the song heard there.
// It is on from the service's first report until the service is lost or falls silent; while it
// is off, the window is the live radio it always was. The now-playing display, the mute button
// and the media player follow its changed signal.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

namespace radio {

// The song heard behind live, as the service names it.
struct HeardSong {
    qint32 number = 0;
    QString station, artist, title, genre;
    qint32 duration = -1; // seconds; -1: no length given

    bool operator==(const HeardSong&) const = default;
};

class TimeShift : public QObject {
    Q_OBJECT
public:
    // The service reports every second while it keeps sound: a report missing this long means
    // it keeps none any more.
    static constexpr int SilenceMs = 3000;

    TimeShift();

    bool on() const { return m_on; }
    bool paused() const { return m_on && m_paused; }
    // Whether what is heard is behind live.
    bool behind() const { return m_on && m_behindLive > 0; }
    double behindLive() const { return m_on ? m_behindLive : 0; }
    // Seconds into the song heard.
    double position() const { return m_on ? m_position : 0; }
    // The song heard behind live, once the service has named it; nothing at live.
    const std::optional<HeardSong>& song() const { return m_song; }

    // A report of the service; turns time shift on.
    void report(bool paused, double behindLive, double buffered, double position);
    void songHeard(const HeardSong& song);
    // The service is gone: time shift is off until it reports again.
    void lost();

signals:
    void changed();

private:
    QTimer m_silence;
    bool m_on = false;
    bool m_paused = false;
    double m_behindLive = 0;
    double m_position = 0;
    std::optional<HeardSong> m_song;
};

} // namespace radio
