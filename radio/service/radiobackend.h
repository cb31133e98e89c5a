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
    virtual void SetMute(bool muted) = 0;

signals:
    void ChannelChange(int number);
    void CurrentTime(int position, int duration);
    void ChannelData(int number, const QString& station, const QString& artist, const QString& title,
                     const QString& genre);
    void CurrentChannelData(int number, const QString& station, const QString& artist, const QString& title,
                            const QString& genre);
    void SignalStrength(double rock, double roll, double ground);
    void MuteChanged(bool muted);
};

} // namespace xmservice
