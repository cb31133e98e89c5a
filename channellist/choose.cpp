#include "choose.h"

#include "base/basic.h"
#include "base/modini.h"

#include <QCoreApplication>

namespace channellist {

using radio::Column;

ChannelChooser::ChannelChooser(QString iniFile, const radio::ChannelTable& table, radio::TunedChannel& tuned,
                               ListWindow& list, Hooks hooks)
    : m_iniFile(std::move(iniFile))
    , m_table(table)
    , m_tuned(tuned)
    , m_list(list)
    , m_state(list.state())
    , m_hooks(std::move(hooks))
{
}

void ChannelChooser::ChooseListItem(qint32 position)
{
    // The channel to remember is the one chosen: a report of another channel that arrives while
    // the artist-title line waits for a held preset, or while pending events run, must not go
    // into the settings.
    const QString chosen = tuneAndShow(position);
    emit rowChosen();
    QCoreApplication::processEvents();
    modIni::WriteSetting(m_iniFile, QStringLiteral("XMRadio"), QStringLiteral("LastChannel"), chosen);
    if (m_hooks.setMute)
        m_hooks.setMute(false);
}

QString ChannelChooser::tuneAndShow(qint32 position)
{
    // Outside the table there is no row to read: the radio and the labels stay as they are.
    if (position < 0 || position >= m_table.count())
        return m_tuned.numberText();
    const radio::ChannelTexts texts{m_table.text(position, Column::Station), m_table.text(position, Column::Artist),
                                    m_table.text(position, Column::Title), m_table.text(position, Column::Genre)};
    std::optional<qint32> number = basic::CLng(m_table.text(position, Column::Num));
    if (!number) {
        const QString tuned = m_tuned.numberText();
        m_tuned.setTexts(texts);
        return tuned;
    }
    if (m_hooks.Channel)
        m_hooks.Channel(*number);
    m_tuned.choose(*number, texts);
    return QString::number(*number);
}

void ChannelChooser::ChooseSelected()
{
    if (m_state.ChannelListReady)
        ChooseListItem(m_state.SelectedListItem);
}

void ChannelChooser::lblListItem_DblClick(qint16 index)
{
    if (const std::optional<qint32> previous = m_list.UnlightSelectedRow(); previous && *previous != index)
        m_list.setRowLeft(*previous, 0);
    m_list.setRowOpaque(index, true);
    const qint32 selected = m_state.TopListItem + index;
    // A 16-bit sum: a row past 32767 cannot be selected, and the old selection is chosen again.
    if (selected <= 32767) {
        m_state.SelectedListItem = selected;
        m_state.HighlightedItem = selected + 1;
    }
    ChooseListItem(m_state.SelectedListItem);
}

void ChannelChooser::lv_ItemClick(qint32 position)
{
    tuneAndShow(position);
    QCoreApplication::processEvents();
    if (m_hooks.setMute)
        m_hooks.setMute(false);
}

} // namespace channellist
