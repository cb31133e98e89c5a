// What stands behind the radio service on the bus: the simulator or a real receiver. Both speak
// in the service's own events, so the bus side is written once for every back-end.
#pragma once

#include <QObject>
#include <QString>

namespace xmservice {

class RadioBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Begins listing channels and reporting; nothing is sent before.
    virtual void start() = 0;

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

protected:
    virtual void muteReceiver(bool muted) = 0;
};

} // namespace xmservice
