#include "listwindow.h"

#include <QCoreApplication>
#include <algorithm>

namespace channellist {

using skin::BackStyle;

ListControls ListControls::of(skin::RadioXMControls& window)
{
    ListControls c{{},
                   {},
                   window.lblListItem,
                   window.lblListItem0,
                   window.pctSkinnableList.get(),
                   window.pctScrollBar.get(),
                   window.pctScroll.get(),
                   window.tmrUpdateListing,
                   window.tmrHighlightListItem};
    for (int group = 0; group < 6; ++group)
        c.rows[size_t(group)] = &window.rowGroup(group);
    for (int column = 0; column < 5; ++column)
        c.columns[size_t(column)] = &window.listColumn(column);
    return c;
}

ListWindow::ListWindow(ListControls controls, const skin::SkinState& skin, const radio::ChannelTable& table)
    : m_c(controls)
    , m_skin(skin)
    , m_table(table)
{
}

void ListWindow::PopulateList(qint32& start)
{
    m_c.tmrUpdateListing.setEnabled(false);
    if (start < 0) {
        for (int row = 0; row <= m_skin.VisibleItems; ++row)
            hideRow(row);
        return;
    }
    const int n = m_table.count();
    if (start >= n)
        start = m_state.TopListItem;
    for (int row = 0; row <= m_skin.VisibleItems; ++row) {
        if (qint64(start) + row < n)
            showRow(row, start + row);
        else
            hideRow(row);
    }
    if (start <= 32767)
        m_state.TopListItem = qint16(start);
}

void ListWindow::showRow(int row, int position)
{
    if (!m_c.lblListItem.exists(row))
        return;
    m_c.lblListItem(row).setCaption(QString());
    m_c.lblListItem(row).setVisible(true);
    for (int column = 0; column < 5; ++column)
        m_c.rowGroup(column + 1)(row).setVisible(true);
    fillRowTexts(row, position);
    setRowOpaque(row, position == m_state.SelectedListItem);
    m_c.tmrUpdateListing.setEnabled(true);
}

void ListWindow::fillRowTexts(int row, int position)
{
    m_c.lblListItem(row).setCaption(QString());
    // The background label spans the list; a column label at least spans its column, so a
    // highlighted row is one solid band, and a longer text is cut at the column's edge. Each
    // label gets its text and its width in one change, so a scroll moves every label once.
    m_c.lblListItem(row).setWidth(m_c.pctSkinnableList->Width());
    for (int column = 0; column < 5; ++column)
        m_c.rowGroup(column + 1)(row).setCaption(m_table.text(position, column), m_c.listColumn(column).Width());
}

void ListWindow::hideRow(int row)
{
    for (int group = 0; group < 6; ++group) {
        if (!m_c.rowGroup(group).exists(row))
            continue;
        m_c.rowGroup(group)(row).setVisible(false);
        m_c.rowGroup(group)(row).setBackStyle(BackStyle::Transparent);
    }
}

bool ListWindow::rowExists(int row) const
{
    return m_c.lblListItem.exists(row);
}

void ListWindow::setRowOpaque(int row, bool opaque)
{
    for (int group = 0; group < 6; ++group)
        if (m_c.rowGroup(group).exists(row))
            m_c.rowGroup(group)(row).setBackStyle(opaque ? BackStyle::Opaque : BackStyle::Transparent);
}

std::optional<qint32> ListWindow::UnlightSelectedRow()
{
    const qint32 row = m_state.SelectedListItem - m_state.TopListItem;
    if (row < 0 || row > m_skin.VisibleItems)
        return std::nullopt;
    setRowOpaque(row, false);
    return row;
}

void ListWindow::setRowLeft(int row, float left)
{
    for (int group = 0; group < 6; ++group)
        if (m_c.rowGroup(group).exists(row))
            m_c.rowGroup(group)(row).setLeft(left);
}

float ThumbTop(float trackHeight, float thumbHeight, qint32 n, qint16 v, qint16 top)
{
    const double travel = double(trackHeight) - double(thumbHeight);
    const qint64 d = qint64(n) - v - 2;
    if (d > 0)
        return float(travel / double(d) * top);
    // A table that fits in the window has no travel to spread over: the thumb stays on its
    // track instead of running off below it.
    const float unclamped = d == 0 ? float(travel * top) : float(travel / double(d) * top);
    return std::clamp(unclamped, 0.0f, std::max(float(travel), 0.0f));
}

void ListWindow::PlaceThumb()
{
    m_c.pctScroll->setTop(ThumbTop(m_c.pctScrollBar->Height(), m_c.pctScroll->Height(), m_table.count(),
                                   m_skin.VisibleItems, m_state.TopListItem));
    m_c.pctScroll->widget()->update();
}

void lv_ColumnClick(radio::ChannelTable& table, int headerIndex)
{
    table.SortKey = qint16(headerIndex - 1);
    table.SortOrder = table.SortOrder == 0 ? 1 : 0;
    QCoreApplication::processEvents();
}

void ListWindow::tmrUpdateListing_Timer()
{
    for (int row = 0; row <= m_skin.VisibleItems; ++row) {
        const qint64 position = qint64(m_state.TopListItem) + row;
        if (position >= m_table.count() || !m_c.lblListItem.exists(row))
            continue;
        // A row laid out before the table reached it (a first start fills the table from the
        // listing) shows up as soon as its channel is heard.
        if (m_c.lblListItem0(row).Visible())
            fillRowTexts(row, int(position));
        else
            showRow(row, int(position));
    }
}

} // namespace channellist
