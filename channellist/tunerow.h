// Tuning a row from outside the list: the choice a double tap on the row makes, then the list's
// highlight moved onto it. The window, the presets, the alerts and the media player all tune
// this one way.
#pragma once

#include "channellist/choose.h"
#include "channellist/highlight.h"
#include "radio/channeltable.h"

namespace channellist {

class RowTuner {
public:
    RowTuner(const radio::ChannelTable& table, ChannelChooser& chooser, Highlighter& highlight);

    // Chooses the row at 0-based table position and highlights it.
    void TuneRow(qint32 position);
    // Tunes the row of channel number; false for a channel not in the table.
    bool TuneChannel(qint32 number);

    // The window has unloaded. A choice lets pending events run, and the window may unload
    // meanwhile: the highlight then stays as it is.
    void Unload() { m_unloaded = true; }

private:
    const radio::ChannelTable& m_table;
    ChannelChooser& m_chooser;
    Highlighter& m_highlight;
    bool m_unloaded = false;
};

} // namespace channellist
