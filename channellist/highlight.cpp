#include "highlight.h"

#include "base/basic.h"

namespace channellist {
namespace {

// The window keeps its top and its last row as 16-bit numbers, and sums of the two are 16-bit
// too: a sum that does not fit is an error, which ends a highlight quietly.
std::optional<qint16> sum16(qint32 a, qint32 b)
{
    const qint32 sum = a + b;
    if (sum < -32768 || sum > 32767)
        return std::nullopt;
    return qint16(sum);
}

// k - v / 2, rounded half to even, and never above the table's start.
qint32 halfWindowAbove(qint32 k, qint16 v)
{
    return std::max<qint32>(basic::CLng(double(k) - double(v) / 2.0).value_or(0), 0);
}

} // namespace

std::optional<bool> IsInnerRow(qint32 i, qint16 top, qint16 v)
{
    const std::optional<qint16> bottomEdge = sum16(top, v);
    const std::optional<qint16> lastInner = bottomEdge ? sum16(*bottomEdge, -1) : std::nullopt;
    const std::optional<qint16> afterTop = sum16(top, 1);
    if (!lastInner || !afterTop)
        return std::nullopt;
    return i < *lastInner && *afterTop < i;
}

std::optional<qint32> HighlightTop(qint32 k, qint32 n, qint16 top, qint16 v)
{
    const qint32 i = k - 1;
    const std::optional<qint16> last = sum16(top, v);
    const std::optional<qint16> secondLast = last ? sum16(*last, -1) : std::nullopt;
    if (!secondLast)
        return std::nullopt;
    if (qint64(k) - top > qint64(n) - v)
        return std::max<qint32>(i - v, 0);
    if (k > *last && i == *last)
        return top;
    if (k > *last)
        return halfWindowAbove(k, v);
    if (i == *secondLast && k >= n - 1)
        return top;
    if (i == *secondLast)
        return k - v + 1;
    if (i >= top)
        return std::max<qint32>(k - 2, 0);
    return halfWindowAbove(k, v);
}

qint32 KeptTop(qint32 selected, qint32 n, qint16 top, qint16 before, qint16 v)
{
    const auto onRows = [&](qint16 last) { return selected >= top && selected <= qint32(top) + last; };
    if (selected >= n || !onRows(before) || onRows(v))
        return top;
    return HighlightTop(selected + 1, n, top, v).value_or(top);
}

Highlighter::Highlighter(const radio::ChannelTable& table, ListWindow& list, modFunctions::SharedWaitTimer& waits,
                         const radio::TunedChannel& tuned)
    : m_table(table)
    , m_list(list)
    , m_c(list.controls())
    , m_state(list.state())
    , m_waits(waits)
    , m_tuned(tuned)
{
}

void Highlighter::HighlightItem(qint32 item)
{
    if (m_state.SelectedListItem < 0)
        m_state.SelectedListItem = 0;
    if (item < 1)
        return;
    const std::optional<bool> inner = IsInnerRow(item - 1, m_state.TopListItem, m_list.VisibleItems());
    if (!inner)
        return;
    if (!(*inner ? highlightInner(item) : highlightMoving(item)))
        return;
    m_list.PlaceThumb();
    m_state.HighlightedItem = item;
}

bool Highlighter::highlightInner(qint32 k)
{
    if (k > m_table.count()) {
        m_state.HighlightedItem -= 1;
        return false;
    }
    m_list.UnlightSelectedRow();
    m_list.setRowOpaque(k - 1 - m_state.TopListItem, true);
    m_state.SelectedListItem = k - 1;
    return true;
}

bool Highlighter::highlightMoving(qint32 k)
{
    if (k > m_table.count())
        return false;
    m_state.SelectedListItem = k - 1;
    std::optional<qint32> top = HighlightTop(k, m_table.count(), m_state.TopListItem, m_list.VisibleItems());
    if (!top)
        return false;
    m_list.PopulateList(*top);
    // A skin with too few rows for the margins leaves the channel below the last row: nothing
    // more to highlight, and the thumb stays where it was.
    const qint32 row = k - 1 - m_state.TopListItem;
    if (row < 0 || row > m_list.VisibleItems() || !m_list.rowExists(row))
        return false;
    m_list.setRowOpaque(row, true);
    return true;
}

void Highlighter::lblListItem_MouseDown(qint16 index, const skin::MouseArgs& args)
{
    if (args.button != 1)
        return;
    m_list.UnlightSelectedRow();
    m_list.setRowOpaque(index, true);
    m_state.SelectedListItem = m_state.TopListItem + index;
    m_state.HighlightedItem = m_state.SelectedListItem + 1;
}

void Highlighter::tmrHighlightListItem_Timer()
{
    const std::optional<qint32> tuned = m_tuned.number();
    if (!tuned)
        return;
    const QString key = radio::ChannelTable::RowKey(*tuned);
    if (m_table.FindItem(key) < 0)
        return;
    // Pending reports and paints run first; the channel must still be in the table after them.
    m_waits.Wait(100);
    const int position = m_table.FindItem(key);
    if (position < 0)
        return;
    // The rows were laid out before the table had channels, and a highlight on an inner row does
    // not paint the window: paint it where it stands first, or the list stays blank.
    qint32 top = m_state.TopListItem;
    m_list.PopulateList(top);
    HighlightItem(position + 1);
    m_state.StartupHighlightDone = true;
    m_c.tmrHighlightListItem.setEnabled(false);
}

void Highlighter::ShowListAgain(qint16 before)
{
    qint32 top = KeptTop(m_state.SelectedListItem, m_table.count(), m_state.TopListItem, before, m_list.VisibleItems());
    m_list.PopulateList(top);
    m_list.PlaceThumb();
}

} // namespace channellist
