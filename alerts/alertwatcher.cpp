// The alert watcher: what each channel plays, in compared form, and the queue of news.
#include "alertwatcher.h"

#include <algorithm>
#include <cstring>

namespace alerts {
namespace {

// Channels kept by number without hashing; a receiver's channels are 0 to 255.
constexpr qint32 DirectChannels = 1024;

// A quick hash of a text as the report brought it, four characters a step: a repeat of the last
// report of a channel, the usual report, is passed over with it.
quint64 sentHash(const QString& text)
{
    const char* bytes = reinterpret_cast<const char*>(text.constData());
    size_t left = size_t(text.size()) * sizeof(QChar);
    quint64 hash = 0x9e3779b97f4a7c15ull ^ left;
    for (; left >= 8; left -= 8, bytes += 8) {
        quint64 word;
        std::memcpy(&word, bytes, 8);
        hash = (hash ^ word) * 0xff51afd7ed558ccdull;
        hash ^= hash >> 32;
    }
    quint64 word = 0;
    std::memcpy(&word, bytes, left);
    hash = (hash ^ word) * 0xc4ceb9fe1a85ec53ull;
    return hash ^ (hash >> 29);
}

// The tuned channel's report gives 36 characters and the line-up 16 of the same song; what was
// heard longest is kept, so that a later cut still compares with the whole text.
void keepLonger(ComparedText& kept, const ComparedText& heard)
{
    if (heard.longer && !kept.longer)
        kept = heard;
}

} // namespace

QString Announcement::Summary() const
{
    return QStringLiteral("%1 %2").arg(channel, 3, 10, QLatin1Char('0')).arg(CleanText(station));
}

QString Announcement::Body() const
{
    const QString a = CleanText(artist), t = CleanText(title);
    return t.isEmpty() ? a : a + QStringLiteral(" - ") + t;
}

QString Announcement::BannerText() const
{
    return Summary() + QStringLiteral(": ") + Body();
}

AlertWatcher::AlertWatcher(const AlertIndex& index)
    : m_index(index)
    , m_channels(DirectChannels)
{
}

void AlertWatcher::setTunedChannel(qint32 number)
{
    m_tuned = number;
    if (stateOf(number).queued)
        dropNews(number);
}

bool AlertWatcher::Report(qint32 number, const QString& station, const QString& artist, const QString& title)
{
    ChannelState& channel = stateOf(number);
    const quint64 heardArtist = sentHash(artist), heardTitle = sentHash(title);
    if (channel.known && heardArtist == channel.heardArtist && heardTitle == channel.heardTitle)
        return false;
    const ComparedText artistForm = CompareForm(artist);
    const ComparedText titleForm = CompareForm(title);
    // A report without artist and title says nothing about the song: the receiver sends such
    // reports between songs, and the song after one is not new when it is the same.
    if (artistForm.full.isEmpty() && titleForm.full.isEmpty())
        return false;
    const bool newTitle = !channel.known || !SameForms(channel.title, titleForm);
    const bool newArtist = !channel.known || !SameForms(channel.artist, artistForm);
    // A song is its artist and its title: another artist's "Intro" is another song.
    const bool newSong = newTitle || newArtist;
    channel.known = true;
    channel.heardArtist = heardArtist;
    channel.heardTitle = heardTitle;
    if (newSong) {
        channel.announced = false;
        if (channel.queued)
            dropNews(number); // the song it told of has ended
    }
    if (newTitle)
        channel.title = titleForm;
    else
        keepLonger(channel.title, titleForm);
    if (newArtist)
        channel.artist = artistForm;
    else
        keepLonger(channel.artist, artistForm);
    if (!newSong || channel.announced)
        return false;

    const bool songAlert = m_index.matchesSong(artistForm, titleForm);
    if (!songAlert && !m_index.matchesArtist(artistForm))
        return false;
    // A song that begins on the tuned channel is heard already: it is not announced later either,
    // when the driver tunes away.
    channel.announced = true;
    if (number == m_tuned)
        return false;
    m_news.push_back({number, station, artist, title, songAlert});
    channel.queued = true;
    return true;
}

std::optional<Announcement> AlertWatcher::takeNews()
{
    if (m_news.empty())
        return std::nullopt;
    Announcement news = std::move(m_news.front());
    m_news.pop_front();
    stateOf(news.channel).queued = false;
    return news;
}

AlertWatcher::ChannelState& AlertWatcher::stateOf(qint32 number)
{
    if (number >= 0 && number < DirectChannels)
        return m_channels[size_t(number)];
    return m_otherChannels[number];
}

void AlertWatcher::dropNews(qint32 number)
{
    std::erase_if(m_news, [number](const Announcement& news) { return news.channel == number; });
    stateOf(number).queued = false;
}

} // namespace alerts
