#include "listwindow.h"

namespace channellist {

using skin::BackStyle;

ListWindow::ListWindow(skin::RadioXMControls& controls, skin::WindowState& state, const radio::ChannelTable& table)
    : m_c(controls)
    , m_state(state)
    , m_table(table)
{
}

void ListWindow::PopulateList(qint32& start)
{
    m_c.tmrUpdateListing.setEnabled(false);
    if (start < 0) {
        for (int row = 0; row <= m_state.VisibleItems; ++row)
            hideRow(row);
        return;
    }
    const int n = m_table.count();
    if (start >= n)
        start = m_state.TopListItem;
    for (int row = 0; row <= m_state.VisibleItems; ++row) {
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
    for (int column = 0; column < 5; ++column)
        m_c.rowGroup(column + 1)(row).setCaption(m_table.text(position, column));
    // The background label spans the list; a column label at least spans its column, so a
    // highlighted row is one solid band, and a longer text is cut at the column's edge.
    m_c.lblListItem(row).setWidth(m_c.pctSkinnableList->Width());
    for (int column = 0; column < 5; ++column) {
        skin::Label& label = m_c.rowGroup(column + 1)(row);
        const float columnWidth = m_c.listColumn(column).Width();
        if (label.Width() < columnWidth)
            label.setWidth(columnWidth);
    }
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

void ListWindow::setRowOpaque(int row, bool opaque)
{
    for (int group = 0; group < 6; ++group)
        m_c.rowGroup(group)(row).setBackStyle(opaque ? BackStyle::Opaque : BackStyle::Transparent);
}

void ListWindow::tmrUpdateListing_Timer()
{
    for (int row = 0; row <= m_state.VisibleItems; ++row) {
        const qint64 position = qint64(m_state.TopListItem) + row;
        if (position >= m_table.count() || !m_c.lblListItem.exists(row))
            continue;
        fillRowTexts(row, int(position));
    }
}

} // namespace channellist
