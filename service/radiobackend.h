// What stands behind the radio service on the bus: the simulator or a real receiver. Both speak
// in the service's own events, so the bus side is written once for every back-end.
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <functional>

namespace xmservice {

// What the bus's time-shift methods reach: the service's sound, when it keeps sound.
class TimeShiftControl {
public:
    struct State {
        bool on = false; // sound is kept
        bool paused = false;
        double behindLive = 0;
        double buffered = 0;
        double position = 0; // seconds into the song heard
    };
    virtual ~TimeShiftControl() = default;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void goLive() = 0;
    virtual void nextSong() = 0;
    virtual void previousSong() = 0;
    virtual void seek(double position) = 0;
    virtual State state() const = 0;
    // Writes the song heard away from the caller's thread; done gets the file's path, or empty
    // and the reason.
    virtual void saveSong(std::function<void(const QString& path, const QString& failure)> done) = 0;
};

class RadioBackend : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    using QObject::QObject;

    // Begins listing channels and reporting; nothing is sent before.
    virtual void start() = 0;

    // Who carries out time shift's methods; none: they do nothing, and a save fails.
    void setTimeShift(TimeShiftControl* control) { m_timeShift = control; }

public slots:
    // The radio service's methods.
    virtual void Channel(int number) = 0;
    // The sound goes silent at once (muteRequested); the receiver confirms its own mute with
    // MuteChanged when it has carried it out.
    void SetMute(bool muted)
    {
        emit muteRequested(muted);
        muteReceiver(muted);
    }
    void Pause();
    void Resume();
    void Live();
    void NextSong();
    void PreviousSong();
    void Seek(double position);
    // Answers on the bus once the file is written; the text returned here is not sent.
    QString SaveSong();
    bool TimeShift(bool& paused, double& behindLive, double& buffered, double& position);

signals:
    void muteRequested(bool muted);

    void ChannelChange(int number);
    void CurrentTime(int position, int duration);
    void ChannelData(int number, const QString& station, const QString& artist, const QString& title,
                     const QString& genre);
    void CurrentChannelData(int number, const QString& station, const QString& artist, const QString& title,
                            const QString& genre);
    void SignalStrength(double rock, double roll, double ground);
    void MuteChanged(bool muted);
    void TimeShiftChanged(bool paused, double behindLive, double buffered, double position);
    void SongHeard(int number, const QString& station, const QString& artist, const QString& title,
                   const QString& genre, int duration);

protected:
    virtual void muteReceiver(bool muted) = 0;

private:
    TimeShiftControl* m_timeShift = nullptr;
};

} // namespace xmservice
