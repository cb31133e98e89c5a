// Running orders of the channels and the lookup of the track playing at a given second.
#include "schedule.h"

#include <algorithm>
#include <utility>

namespace xmservice {

ChannelPlayout::ChannelPlayout(QList<Track> order, qint64 startOffset)
    : m_order(std::move(order))
{
    for (const Track& track : std::as_const(m_order))
        m_cycleSeconds += std::max(track.seconds, 1);
    m_startOffset = m_cycleSeconds > 0 ? startOffset % m_cycleSeconds : 0;
}

ChannelPlayout ChannelPlayout::shuffled(QList<Track> tracks, QRandomGenerator& rng)
{
    // Fisher-Yates with Qt's generator: std::shuffle's draws differ between standard libraries,
    // and a seed must give the same running order everywhere.
    for (qsizetype i = tracks.size() - 1; i > 0; --i)
        tracks.swapItemsAt(i, rng.bounded(int(i) + 1));
    qint64 cycle = 0;
    for (const Track& track : std::as_const(tracks))
        cycle += track.seconds;
    const qint64 offset = cycle > 0 ? qint64(rng.bounded(quint32(cycle))) : 0;
    return ChannelPlayout(std::move(tracks), offset);
}

NowPlaying ChannelPlayout::at(qint64 seconds) const
{
    if (m_order.isEmpty())
        return {};
    qint64 intoCycle = (m_startOffset + std::max<qint64>(seconds, 0)) % m_cycleSeconds;
    int index = 0;
    while (intoCycle >= std::max(m_order.at(index).seconds, 1)) {
        intoCycle -= std::max(m_order.at(index).seconds, 1);
        ++index;
    }
    return {m_order.at(index), index, int(intoCycle)};
}

Schedule::Schedule(const Lineup& lineup, quint32 seed)
{
    QRandomGenerator rng(seed);
    m_playouts.reserve(lineup.size());
    for (const ChannelInfo& channel : lineup.channels())
        m_playouts.append(ChannelPlayout::shuffled(Catalogue::tracksFor(channel.genre), rng));
}

} // namespace xmservice
