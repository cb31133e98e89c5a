#include "channeldata.h"

#include <QCoreApplication>

namespace radio {

ChannelDataHandler::ChannelDataHandler(channellist::ListWindow& list, ChannelTable& table, TunedChannel& tuned,
                                       QString servicesPath)
    : m_list(list)
    , m_c(list.controls())
    , m_state(list.state())
    , m_table(table)
    , m_tuned(tuned)
    , m_servicesPath(std::move(servicesPath))
{
}

void ChannelDataHandler::ChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                                     const QString& genre)
{
    const QString key = ChannelTable::RowKey(number);
    int position = m_table.FindItem(key);
    if (position < 0) {
        position = m_table.Add(key);
        AppendService(m_servicesPath, key, station, genre);
        showWhileTheWindowFills(position);
    } else {
        // A channel heard twice means the listing has come round: the list can be used now.
        m_state.ChannelListReady = true;
        if (!m_state.StartupHighlightDone)
            m_c.tmrHighlightListItem.setEnabled(true);
        m_c.tmrUpdateListing.setInterval(5000);
    }
    m_table.setText(position, Station, station);
    m_table.setText(position, Artist, artist);
    m_table.setText(position, Title, title);
    m_table.setText(position, Genre, genre);
    showIfTuned(number, station, artist, title, genre);
    letPendingEventsRun();
}

void ChannelDataHandler::showIfTuned(qint32 number, const QString& station, const QString& artist, const QString& title,
                                     const QString& genre)
{
    if (m_tuned.number() != number)
        return;
    m_tuned.setTexts({station, artist, title, genre});
}

void ChannelDataHandler::showWhileTheWindowFills(int position)
{
    // The rows are laid out before the table has channels, and on a first start (no services.dat)
    // the table fills only from the listing. A channel new to a row of the window is shown by the
    // next listing refresh, not after the whole line-up has come round.
    const qint64 row = qint64(position) - m_state.TopListItem;
    if (row >= 0 && row <= m_list.VisibleItems())
        m_c.tmrUpdateListing.setEnabled(true);
}

void ChannelDataHandler::letPendingEventsRun()
{
    // Paints and input get their turn between reports. Only the outermost report does it: a
    // flood of reports handled inside each other's passes would otherwise nest without bound.
    if (m_pumping)
        return;
    m_pumping = true;
    QCoreApplication::processEvents();
    m_pumping = false;
}

} // namespace radio
