// The tuned channel as a media player shows it: the track metadata of the MPRIS interface
// (channel as track id, artist, title, station as album, genre, length).
#pragma once

#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>
#include <optional>

namespace mpris {

// The tuned channel as a track.
struct Track {
    std::optional<qint32> number; // none while no channel is tuned; 0 is the preview channel
    QString station, artist, title, genre;
    // Seconds; 0 or below while no time of this channel is known, or when it reports none (talk,
    // news).
    qint32 duration = -1;

    bool operator==(const Track&) const = default;
};

// The object path naming a channel, /org/vanto/XMRadio/channel/<n>. No channel, or a number
// that is not a channel (below 0), names no track: a path with a minus sign would not be a valid
// object path, and one invalid path makes the whole D-Bus message unsendable.
QDBusObjectPath TrackId(std::optional<qint32> number);

// The metadata map: mpris:trackid always; xesam:title, xesam:artist (a list of one: a credit
// such as "Hale, Moreno & Quist" is one artist), xesam:album (the station) and xesam:genre
// when not empty; mpris:length in microseconds when the channel's time is known, never 0.
QVariantMap Metadata(const Track& track);

// A track position or length in seconds as MPRIS counts it, in microseconds; a negative
// time (none reported) counts as 0.
qint64 Microseconds(qint32 seconds);

} // namespace mpris
