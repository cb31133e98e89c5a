#include "nowplaying.h"

#include "base/basic.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

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

QString FormatBehindLive(double seconds)
{
    const qint64 total = std::isfinite(seconds) ? std::max<qint64>(0, std::llround(seconds)) : 0;
    const QLatin1Char zero('0');
    const QString rest = QStringLiteral("%1").arg(total % 60, 2, 10, zero);
    if (total < 3600)
        return QStringLiteral("-%1:%2").arg(total / 60).arg(rest);
    return QStringLiteral("-%1:%2:%3").arg(total / 3600).arg(total / 60 % 60, 2, 10, zero).arg(rest);
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
                       TunedChannel& tuned, const radio::TimeShift& timeShift, Hooks hooks)
    : m_c(controls)
    , m_waits(waits)
    , m_table(table)
    , m_tuned(tuned)
    , m_timeShift(timeShift)
    , m_hooks(std::move(hooks))
{
    m_following = QObject::connect(&m_tuned, &TunedChannel::changed, &m_tuned,
                                   [this](TunedChannel::Parts parts) { showTuned(parts); });
    m_followingShift =
        QObject::connect(&m_timeShift, &radio::TimeShift::changed, &m_timeShift, [this] { showTimeShift(); });
}

NowPlaying::~NowPlaying()
{
    QObject::disconnect(m_following);
    QObject::disconnect(m_followingShift);
}

void NowPlaying::connectHandlers()
{
    m_c.pctTimeScrollBar->handlers().mouseDown = [this](const skin::MouseArgs& a) { TimeBarTapped(a.x); };
    // The thumb lies on the bar: a tap on it is a tap on the bar where it lies.
    m_c.pctTimeScroll->handlers().mouseDown = [this](const skin::MouseArgs& a) {
        TimeBarTapped(m_c.pctTimeScroll->Left() + a.x);
    };
    m_c.lblTotalTrackTime->handlers().mouseDown = [this](const skin::MouseArgs&) { TotalTimeTapped(); };
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
    if (m_showingHeard) {
        // Behind live the labels show the song heard; the live channel waits for the return.
        if (!(parts & TunedChannel::Number))
            return;
        // Another channel tuned: what was kept of the one before is not what comes next. The
        // choice shows at once, as at live; reports of the sound behind live still on their
        // way are not shown until the service is live.
        m_showingHeard = false;
        m_leftBehind = true;
        parts |= TunedChannel::Texts;
        showLiveTime();
    }
    if (parts & TunedChannel::Number)
        m_c.lblCC->setCaption(m_tuned.numberText());
    if (parts & TunedChannel::Texts)
        // A copy: the line may wait, and another change may come meanwhile.
        showTexts(QString(), ChannelTexts(m_tuned.texts()));
}

void NowPlaying::showTexts(const QString& number, const ChannelTexts& texts)
{
    if (!number.isEmpty())
        m_c.lblCC->setCaption(number);
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
    m_tuned.setTime({position, duration});
    if (!m_showingHeard)
        showLiveTime();
}

void NowPlaying::showLiveTime()
{
    m_c.lblCurrentPos->setCaption(FormatTrackTime(m_trackPosition));
    m_c.lblTotalTrackTime->setCaption(FormatTrackTime(m_trackDuration));
    PlaceTimeThumb();
}

void NowPlaying::showTimeShift()
{
    if (!m_timeShift.behind()) {
        m_leftBehind = false;
        if (!std::exchange(m_showingHeard, false))
            return;
        // Back at live: the live channel and its time at once, not at the radio's next report.
        showTexts(m_tuned.numberText(), ChannelTexts(m_tuned.texts()));
        showLiveTime();
        return;
    }
    if (m_leftBehind)
        return;
    m_showingHeard = true;
    const std::optional<radio::HeardSong>& song = m_timeShift.song();
    // Until the service names the song heard, the labels keep what they show.
    if (song)
        showTexts(QString::number(song->number), {song->station, song->artist, song->title, song->genre});
    m_c.lblCurrentPos->setCaption(FormatTrackTime(shownTime().position));
    m_c.lblTotalTrackTime->setCaption(FormatBehindLive(m_timeShift.behindLive()));
    PlaceTimeThumb();
}

std::pair<QString, QString> NowPlaying::ShownArtistTitle() const
{
    const std::optional<radio::HeardSong>& song = m_timeShift.song();
    if (m_showingHeard && song)
        return {song->artist, song->title};
    return {m_tuned.texts().artist, m_tuned.texts().title};
}

radio::TrackTime NowPlaying::shownTime() const
{
    if (!m_showingHeard)
        return {m_trackPosition, m_trackDuration};
    const std::optional<radio::HeardSong>& song = m_timeShift.song();
    return {qint32(std::floor(m_timeShift.position())), song ? song->duration : -1};
}

void NowPlaying::TimeBarTapped(float x)
{
    if (!m_timeShift.on() || !m_hooks.timeShift)
        return;
    // At live the song heard is the live track.
    const qint32 duration = shownTime().duration;
    const float width = m_c.pctTimeScrollBar->Width();
    if (duration <= 0 || width <= 0)
        return;
    const double share = std::clamp(double(x) / double(width), 0.0, 1.0);
    m_hooks.timeShift(TimeShiftCommand::Seek, share * duration);
}

void NowPlaying::TotalTimeTapped()
{
    if (m_timeShift.behind() && m_hooks.timeShift)
        m_hooks.timeShift(TimeShiftCommand::Live, 0);
}

void NowPlaying::PlaceTimeThumb()
{
    const radio::TrackTime time = shownTime();
    const std::optional<qint32> left = nowplaying::TimeThumbLeft(
        time.position, time.duration, m_c.pctTimeScrollBar->Width(), m_c.pctTimeScroll->Width());
    if (!left)
        return;
    m_timeThumbLeft = *left;
    if (m_c.pctTimeScroll->Left() == float(*left))
        return;
    m_c.pctTimeScroll->setLeft(float(*left));
    m_c.pctTimeScrollBar->Refresh();
}

} // namespace nowplaying
