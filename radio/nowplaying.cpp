#include "nowplaying.h"

#include "app/basic.h"

#include <QCoreApplication>

namespace radio {

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
    const double left = (double(position) / double(duration)) * (double(barWidth) - double(thumbWidth));
    std::optional<qint32> rounded = basic::CLng(left);
    if (rounded && *rounded < 0)
        rounded = 0;
    return rounded;
}

NowPlaying::NowPlaying(skin::RadioXMControls& controls, skin::WindowState& state, modFunctions::SharedWaitTimer& waits,
                       const ChannelTable& table, Hooks hooks)
    : m_c(controls)
    , m_state(state)
    , m_waits(waits)
    , m_table(table)
    , m_hooks(std::move(hooks))
{
}

void NowPlaying::ArtistTitleUpdate(const QString& line)
{
    if (line == m_state.ArtistTrackTitle)
        return;
    while (!m_state.PresetPressed.isEmpty()) {
        m_waits.Wait(50);
        QCoreApplication::processEvents();
    }
    m_c.lblArtistTrackTitle->setCaption(line);
    m_state.ArtistTrackTitle = line;
}

void NowPlaying::ChannelChange(qint32 number)
{
    const int position = m_table.FindItem(ChannelTable::RowKey(number));
    if (position < 0)
        return;
    if (m_hooks.HighlightItem)
        m_hooks.HighlightItem(position + 1);
    ShowChannel(m_table.text(position, Station), m_table.text(position, Artist), m_table.text(position, Title),
                m_table.text(position, Genre));
    if (m_hooks.RefreshPresetButtons)
        m_hooks.RefreshPresetButtons();
}

void NowPlaying::CurrentChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                                    const QString& genre)
{
    m_c.lblCC->setCaption(QString::number(number));
    ShowChannel(station, artist, title, genre);
}

void NowPlaying::ShowChannel(const QString& station, const QString& artist, const QString& title, const QString& genre)
{
    m_c.lblStation->setCaption(station);
    m_c.lblArtist->setCaption(artist);
    m_c.lblTrackTitle->setCaption(title);
    ArtistTitleUpdate(artist + QLatin1String(" - ") + title);
    m_c.lblGenre->setCaption(genre);
}

void NowPlaying::CurrentTime(qint32 position, qint32 duration)
{
    m_state.TrackDuration = duration;
    m_state.TrackPosition = position;
    m_c.lblCurrentPos->setCaption(FormatTrackTime(position));
    m_c.lblTotalTrackTime->setCaption(FormatTrackTime(duration));
    PlaceTimeThumb();
}

void NowPlaying::PlaceTimeThumb()
{
    const std::optional<qint32> left = TimeThumbLeft(m_state.TrackPosition, m_state.TrackDuration,
                                                     m_c.pctTimeScrollBar->Width(), m_c.pctTimeScroll->Width());
    if (!left)
        return;
    m_state.TimeThumbLeft = *left;
    if (m_c.pctTimeScroll->Left() == float(*left))
        return;
    m_c.pctTimeScroll->setLeft(float(*left));
    m_c.pctTimeScrollBar->Refresh();
}

} // namespace radio
