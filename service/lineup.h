// The receiver's channel lineup: channel numbers, station names and genres, as a fixed table of
// invented stations that can be cut down or extended to any size.
#pragma once

#include <QList>
#include <QString>

namespace xmservice {

struct ChannelInfo {
    int number = 0;
    QString station;
    QString genre;
    // News, talk, sports and traffic channels have no track clock: they report -1 as time.
    bool hasTrackTime = true;
};

class Lineup {
public:
    // The full built-in lineup, in channel order.
    static Lineup builtIn();
    // The first count channels of the built-in lineup, or the built-in lineup followed by
    // generated channels when count is larger. A count below 1 gives one channel.
    static Lineup withSize(int count);

    const QList<ChannelInfo>& channels() const { return m_channels; }
    int size() const { return int(m_channels.size()); }
    const ChannelInfo& at(int index) const { return m_channels.at(index); }
    // The position of the channel with that number, or -1 when the lineup has no such channel.
    int indexOf(int number) const;
    bool contains(int number) const { return indexOf(number) >= 0; }

private:
    void appendGenerated(int count);

    QList<ChannelInfo> m_channels;
};

} // namespace xmservice
