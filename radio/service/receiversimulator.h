// The simulated receiver behind the radio service: it lists every channel in turn, reports the
// tuned channel and the signal levels once a second, and answers tune and mute requests. Its Qt
// signals carry exactly the radio service's events, so it runs and tests without a bus.
#pragma once

#include "lineup.h"
#include "schedule.h"
#include "signalmodel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace xmservice {

class ReceiverSimulator : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultListingIntervalMs = 40;
    static constexpr int ReportIntervalMs = 1000;

    // Tuned to the lineup's first channel and not muted; nothing is sent before start().
    ReceiverSimulator(Lineup lineup, quint32 seed, int listingIntervalMs = DefaultListingIntervalMs,
                      QObject* parent = nullptr);

    void start();

    const Lineup& lineup() const { return m_lineup; }
    int tunedChannel() const { return m_lineup.at(m_tunedIndex).number; }
    bool isMuted() const { return m_muted; }

public slots:
    // The radio service's methods. A channel outside the lineup is ignored.
    void Channel(int number);
    void SetMute(bool muted);

signals:
    void ChannelChange(int number);
    void CurrentTime(int position, int duration);
    void ChannelData(int number, const QString& station, const QString& artist, const QString& title,
                     const QString& genre);
    void CurrentChannelData(int number, const QString& station, const QString& artist, const QString& title,
                            const QString& genre);
    void SignalStrength(double rock, double roll, double ground);
    void MuteChanged(bool muted);

private:
    void sendNextListing();
    void sendSecondlyReports();
    void sendTunedChannel();
    qint64 secondsRunning() const { return m_clock.elapsed() / 1000; }

    Lineup m_lineup;
    Schedule m_schedule;
    SignalModel m_signals;
    QElapsedTimer m_clock;
    QTimer m_listingTimer;
    QTimer m_reportTimer;
    int m_listingIndex = 0;
    int m_tunedIndex = 0;
    bool m_muted = false;
};

} // namespace xmservice
