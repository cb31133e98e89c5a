#include "metadata.h"

#include <QStringList>

namespace mpris {

QDBusObjectPath TrackId(qint32 number)
{
    if (number <= 0)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/vanto/XMRadio/channel/%1").arg(number));
}

qint64 Microseconds(qint32 seconds)
{
    return seconds < 0 ? 0 : qint64(seconds) * 1000000;
}

QVariantMap Metadata(const TunedChannel& channel)
{
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId(channel.number)));
    if (channel.number <= 0)
        return map;
    const auto text = [&map](const char* key, const QString& value) {
        if (!value.isEmpty())
            map.insert(QLatin1String(key), value);
    };
    text("xesam:title", channel.title);
    if (!channel.artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{channel.artist});
    text("xesam:album", channel.station);
    if (!channel.genre.isEmpty())
        map.insert(QStringLiteral("xesam:genre"), QStringList{channel.genre});
    if (channel.duration >= 0)
        map.insert(QStringLiteral("mpris:length"), Microseconds(channel.duration));
    return map;
}

} // namespace mpris
