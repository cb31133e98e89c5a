// What every channel is playing at any moment: each channel runs through its genre's tracks in
// its own shuffled order, over and over, whether or not anyone listens.
#pragma once

#include "catalogue.h"
#include "lineup.h"

#include <QList>
#include <QRandomGenerator>

namespace xmservice {

struct NowPlaying {
    Track track;
    int orderIndex = 0; // the track's place in the channel's running order
    int position = 0;   // seconds into the track
};

class ChannelPlayout {
public:
    // The tracks play in this order; startOffset seconds of the first cycle have passed at time 0.
    ChannelPlayout(QList<Track> order, qint64 startOffset);
    // The tracks in an order drawn from rng, entered at a point drawn from rng.
    static ChannelPlayout shuffled(QList<Track> tracks, QRandomGenerator& rng);

    NowPlaying at(qint64 seconds) const;
    const QList<Track>& order() const { return m_order; }

private:
    QList<Track> m_order;
    qint64 m_cycleSeconds = 0;
    qint64 m_startOffset = 0;
};

class Schedule {
public:
    // The same lineup and seed give the same running orders and starting points.
    Schedule(const Lineup& lineup, quint32 seed);

    // What the channel at that place in the lineup plays after seconds of running.
    NowPlaying at(int channelIndex, qint64 seconds) const { return m_playouts.at(channelIndex).at(seconds); }
    const ChannelPlayout& playout(int channelIndex) const { return m_playouts.at(channelIndex); }

private:
    QList<ChannelPlayout> m_playouts;
};

} // namespace xmservice
