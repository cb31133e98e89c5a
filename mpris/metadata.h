// The tuned channel as a media player shows it: the track metadata of the MPRIS interface
// (channel as track id, artist, title, station as album, genre, length).
#pragma once

#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>

namespace mpris {

// What the window shows of the tuned channel.
struct TunedChannel {
    qint32 number = 0; // 0: no channel known yet
    QString station, artist, title, genre;
    qint32 duration = -1; // seconds; a negative time means the channel reports none (talk, news)

    bool operator==(const TunedChannel&) const = default;
};

// The object path naming a channel, /org/vanto/XMRadio/channel/<n>. A number that is not a
// channel (0 or below) names no track: a path with a minus sign would not be a valid object
// path, and one invalid path makes the whole D-Bus message unsendable.
QDBusObjectPath TrackId(qint32 number);

// The metadata map: mpris:trackid always; xesam:title, xesam:artist (a list of one: a credit
// such as "Hale, Moreno & Quist" is one artist), xesam:album (the station) and xesam:genre
// when not empty; mpris:length in microseconds when the channel reports a time.
QVariantMap Metadata(const TunedChannel& channel);

// A track position or length in seconds as MPRIS counts it, in microseconds; a negative
// time (none reported) counts as 0.
qint64 Microseconds(qint32 seconds);

} // namespace mpris
