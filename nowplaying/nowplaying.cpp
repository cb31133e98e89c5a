#include "nowplaying.h"

#include "base/basic.h"

#include <QCoreApplication>

namespace nowplaying {

using radio::ChannelTable;
using radio::ChannelTexts;
using radio::Column;
using radio::TunedChannel;

QString FormatTrackTime(qint32 seconds)
{
    if (seconds == -1)
        return QStringLiteral("--:--");
    const qint64 minutes = seconds >= 0 ? seconds / 60 : -((-qint64(seconds) + 59) / 60);
    const qint64 rest = seconds % 60;
    return basic::Format(minutes, QStringLiteral("#00")) + QLatin1Char(':') + basic::Format(rest, QStringLiteral("00"));
}

std::optional<qint32> TimeThumbLeft(qint32 position, qint32 duration, float barWidth, float thumbWidth)
{
    if (duration == 0)
        return std::nullopt;
    // A channel without track times (talk, traffic) is not at the end of anything.
    if (duration == -1)
        return 0;
    const double left = (double(position) / double(duration)) * (double(barWidth) - double(thumbWidth));
    std::optional<qint32> rounded = basic::CLng(left);
    if (rounded && *rounded < 0)
        rounded = 0;
    return rounded;
}

NowPlaying::NowPlaying(NowPlayingControls controls, modFunctions::SharedWaitTimer& waits, const ChannelTable& table,
                       TunedChannel& tuned, Hooks hooks)
    : m_c(controls)
    , m_waits(waits)
    , m_table(table)
    , m_tuned(tuned)
    , m_hooks(std::move(hooks))
{
    m_following = QObject::connect(&m_tuned, &TunedChannel::changed, &m_tuned,
                                   [this](TunedChannel::Parts parts) { showTuned(parts); });
}

NowPlaying::~NowPlaying()
{
    QObject::disconnect(m_following);
}

void NowPlaying::ArtistTitleUpdate(const QString& line)
{
    if (line == m_artistTrackTitle)
        return;
    while (m_hooks.presetHeld && m_hooks.presetHeld()) {
        m_waits.Wait(50);
        QCoreApplication::processEvents();
    }
    m_artistTrackTitle = line;
    if (!m_hooks.lineLent || !m_hooks.lineLent())
        m_c.lblArtistTrackTitle->setCaption(line);
}

void NowPlaying::ChannelChange(qint32 number)
{
    const int position = m_table.FindItem(ChannelTable::RowKey(number));
    // A change to a channel chosen before the latest choice moves neither highlight nor presets.
    if (position < 0 || m_tuned.isStale(number))
        return;
    emit channelRowChanged(position + 1);
    // The radio names the channel it now plays: number and texts change together.
    m_tuned.report(number, {m_table.text(position, Column::Station), m_table.text(position, Column::Artist),
                            m_table.text(position, Column::Title), m_table.text(position, Column::Genre)});
    emit tunedChannelChanged();
}

void NowPlaying::CurrentChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                                    const QString& genre)
{
    m_tuned.report(number, {station, artist, title, genre});
}

void NowPlaying::showTuned(TunedChannel::Parts parts)
{
    if (parts & TunedChannel::Number)
        m_c.lblCC->setCaption(m_tuned.numberText());
    if (!(parts & TunedChannel::Texts))
        return;
    // A copy: the line below may wait, and another change may come meanwhile.
    const ChannelTexts texts = m_tuned.texts();
    m_c.lblStation->setCaption(texts.station);
    m_c.lblArtist->setCaption(texts.artist);
    m_c.lblTrackTitle->setCaption(texts.title);
    ArtistTitleUpdate(texts.artist + QLatin1String(" - ") + texts.title);
    m_c.lblGenre->setCaption(texts.genre);
}

void NowPlaying::CurrentTime(qint32 position, qint32 duration)
{
    m_trackDuration = duration;
    m_trackPosition = position;
    m_c.lblCurrentPos->setCaption(FormatTrackTime(position));
    m_c.lblTotalTrackTime->setCaption(FormatTrackTime(duration));
    m_tuned.setTime({position, duration});
    PlaceTimeThumb();
}

void NowPlaying::PlaceTimeThumb()
{
    const std::optional<qint32> left = nowplaying::TimeThumbLeft(
        m_trackPosition, m_trackDuration, m_c.pctTimeScrollBar->Width(), m_c.pctTimeScroll->Width());
    if (!left)
        return;
    m_timeThumbLeft = *left;
    if (m_c.pctTimeScroll->Left() == float(*left))
        return;
    m_c.pctTimeScroll->setLeft(float(*left));
    m_c.pctTimeScrollBar->Refresh();
}

} // namespace nowplaying
