// Timers and state of the simulated receiver.
#include "receiversimulator.h"

#include "logging.h"

#include <algorithm>
#include <utility>

namespace xmservice {

ReceiverSimulator::ReceiverSimulator(Lineup lineup, quint32 seed, int listingIntervalMs, QObject* parent)
    : RadioBackend(parent)
    , m_lineup(std::move(lineup))
    , m_schedule(m_lineup, seed)
    , m_signals(seed ^ 0x9e3779b9u)
{
    // The listing rate is what a client's channel list is tested against: keep it exact.
    m_listingTimer.setTimerType(Qt::PreciseTimer);
    m_listingTimer.setInterval(std::max(listingIntervalMs, 1));
    m_reportTimer.setInterval(ReportIntervalMs);
    connect(&m_listingTimer, &QTimer::timeout, this, &ReceiverSimulator::sendNextListing);
    connect(&m_reportTimer, &QTimer::timeout, this, &ReceiverSimulator::sendSecondlyReports);
    m_clock.start();
}

void ReceiverSimulator::start()
{
    m_listingTimer.start();
    m_reportTimer.start();
}

void ReceiverSimulator::Channel(int number)
{
    noteClient();
    const int index = m_lineup.indexOf(number);
    if (index < 0) {
        qCInfo(lcService) << "ignoring a tune to channel" << number << "outside the lineup";
        return;
    }
    m_tunedIndex = index;
    emit ChannelChange(number);
    sendTunedChannel();
    // The next secondly report comes a full second after the tune, not at once again.
    if (m_reportTimer.isActive())
        m_reportTimer.start();
}

void ReceiverSimulator::muteReceiver(bool muted)
{
    noteClient();
    m_muted = muted;
    emit MuteChanged(muted);
}

// The window starts the service and listens only once it has started itself: the channels listed
// before would begin its first services.dat wherever the listing stood. Its first call (the last
// channel, sent as soon as it sees the service) is the sign that it listens.
void ReceiverSimulator::noteClient()
{
    if (std::exchange(m_clientHeard, true))
        return;
    m_listingIndex = 0;
}

void ReceiverSimulator::sendNextListing()
{
    const ChannelInfo& channel = m_lineup.at(m_listingIndex);
    const NowPlaying playing = m_schedule.at(m_listingIndex, secondsRunning());
    emit ChannelData(channel.number, channel.station, playing.track.artist, playing.track.title, channel.genre);
    m_listingIndex = (m_listingIndex + 1) % m_lineup.size();
}

void ReceiverSimulator::sendSecondlyReports()
{
    sendTunedChannel();
    const SignalLevels levels = m_signals.next();
    emit SignalStrength(levels.rock, levels.roll, levels.ground);
}

void ReceiverSimulator::sendTunedChannel()
{
    const ChannelInfo& channel = m_lineup.at(m_tunedIndex);
    const NowPlaying playing = m_schedule.at(m_tunedIndex, secondsRunning());
    emit CurrentChannelData(channel.number, channel.station, playing.track.artist, playing.track.title, channel.genre);
    if (channel.hasTrackTime)
        emit CurrentTime(playing.position, playing.track.seconds);
    else
        emit CurrentTime(-1, -1);
}

} // namespace xmservice
