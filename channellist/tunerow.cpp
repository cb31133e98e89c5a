#include "tunerow.h"

namespace channellist {

RowTuner::RowTuner(const radio::ChannelTable& table, ChannelChooser& chooser, Highlighter& highlight)
    : m_table(table)
    , m_chooser(chooser)
    , m_highlight(highlight)
{
}

void RowTuner::TuneRow(qint32 position)
{
    m_chooser.ChooseListItem(position);
    if (!m_unloaded)
        m_highlight.HighlightItem(position + 1);
}

bool RowTuner::TuneChannel(qint32 number)
{
    const int position = m_table.FindItem(radio::ChannelTable::RowKey(number));
    if (position < 0)
        return false;
    TuneRow(position);
    return true;
}

} // namespace channellist
