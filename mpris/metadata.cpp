#include "metadata.h"

#include <QStringList>

namespace mpris {

QDBusObjectPath TrackId(std::optional<qint32> number)
{
    if (!number || *number < 0)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/vanto/XMRadio/channel/%1").arg(*number));
}

qint64 Microseconds(qint32 seconds)
{
    return seconds < 0 ? 0 : qint64(seconds) * 1000000;
}

QVariantMap Metadata(const Track& track)
{
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId(track.number)));
    if (!track.number || *track.number < 0)
        return map;
    const auto text = [&map](const char* key, const QString& value) {
        if (!value.isEmpty())
            map.insert(QLatin1String(key), value);
    };
    text("xesam:title", track.title);
    if (!track.artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    text("xesam:album", track.station);
    if (!track.genre.isEmpty())
        map.insert(QStringLiteral("xesam:genre"), QStringList{track.genre});
    // A length of 0 would tell an applet the track is over before it began.
    if (track.duration > 0)
        map.insert(QStringLiteral("mpris:length"), Microseconds(track.duration));
    return map;
}

} // namespace mpris
