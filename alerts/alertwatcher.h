// The alert watcher: follows what every channel plays, from every ChannelData and
// CurrentChannelData report, and queues the news to announce: an alert's artist or song starting
// on a channel that is not the tuned one. A song is announced once on its channel, and again only
// after that channel's artist or title has changed. The window shows the news one after the other.
//
// A report that repeats what its channel plays costs a look-up of the channel and a quick hash
// of its texts, and allocates nothing; one with other texts costs their compared forms, and when
// the song changed, a look-up or two of those forms among the alerts.
#pragma once

#include "alerts/alertmatch.h"

#include <QHash>
#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace alerts {

// One piece of news: what the channel plays now, and which kind of alert matched.
struct Announcement {
    qint32 channel = 0;
    QString station;
    QString artist;
    QString title;
    bool songAlert = false; // a song alert matched (otherwise an artist alert)

    // "<channel, 3 digits> <station>: <artist> - <title>", for the artist-title line. The channel
    // leads: it is what the driver decides by, and a line too long for a small panel loses its end.
    QString BannerText() const;
    // The same news for the desktop: "<channel> <station>" and "<artist> - <title>".
    QString Summary() const;
    QString Body() const;
};

class AlertWatcher {
public:
    // index: the alerts, kept up to date by their owner (the alert book).
    explicit AlertWatcher(const AlertIndex& index);

    // The tuned channel is never announced; news already queued for it goes.
    void setTunedChannel(qint32 number);
    qint32 tunedChannel() const { return m_tuned; }

    // A ChannelData or CurrentChannelData report. Returns true when it queued news.
    bool Report(qint32 number, const QString& station, const QString& artist, const QString& title);

    bool hasNews() const { return !m_news.empty(); }
    // The oldest news not yet taken.
    std::optional<Announcement> takeNews();

private:
    struct ChannelState {
        quint64 heardArtist = 0; // hashes of the last report's texts, to pass over repeats at once
        quint64 heardTitle = 0;
        ComparedText artist;
        ComparedText title;
        bool known = false;
        bool announced = false; // the current song was announced, or began while tuned
        bool queued = false;    // news of this channel waits in the queue
    };
    ChannelState& stateOf(qint32 number);
    void dropNews(qint32 number);

    const AlertIndex& m_index;
    qint32 m_tuned = -1;
    // The receiver's channels (0 to 255, and more room) by number; others, which no receiver
    // sends, in a hash.
    std::vector<ChannelState> m_channels;
    QHash<qint32, ChannelState> m_otherChannels;
    std::deque<Announcement> m_news;
};

} // namespace alerts
