// The simulated receiver behind the radio service: it lists every channel in turn, reports the
// tuned channel and the signal levels once a second, and answers tune and mute requests. Its Qt
// signals carry exactly the radio service's events, so it runs and tests without a bus. The
// listing starts at the lowest channel, and starts there again at the first call of a client:
// a client hears its first pass in channel order, as a receiver's line-up walk gives it.
#pragma once

#include "lineup.h"
#include "radiobackend.h"
#include "schedule.h"
#include "signalmodel.h"

#include <QElapsedTimer>
#include <QTimer>

namespace xmservice {

class ReceiverSimulator : public RadioBackend {
    Q_OBJECT
public:
    static constexpr int DefaultListingIntervalMs = 40;
    static constexpr int ReportIntervalMs = 1000;

    // Tuned to the lineup's first channel and not muted; nothing is sent before start().
    ReceiverSimulator(Lineup lineup, quint32 seed, int listingIntervalMs = DefaultListingIntervalMs,
                      QObject* parent = nullptr);

    void start() override;

    const Lineup& lineup() const { return m_lineup; }
    int tunedChannel() const { return m_lineup.at(m_tunedIndex).number; }
    bool isMuted() const { return m_muted; }

    // A channel outside the lineup is ignored.
    void Channel(int number) override;

protected:
    void muteReceiver(bool muted) override;

private:
    void noteClient();
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
    bool m_clientHeard = false;
};

} // namespace xmservice
