// The selection of the list: one channel of the table, drawn highlighted when its row is on
// screen. HighlightItem moves it and keeps it in view with a margin of rows around it; a press
// on a row selects that row where it stands; a timer highlights the tuned channel once after
// start, as soon as the table has it.
#pragma once

#include "base/modfunctions.h"
#include "channellist/listwindow.h"
#include "radio/channeltable.h"
#include "radio/tunedchannel.h"
#include "skin/radioxmcontrols.h"

#include <optional>

namespace channellist {

// Whether table position i lies on an inner row of the window (rows 2 to v - 2), where a
// highlight does not move the window. The window's bounds are 16-bit sums, as the window keeps
// them: no value when one overflows.
std::optional<bool> IsInnerRow(qint32 i, qint16 top, qint16 v);

// The new top of the window when item k (1-based) of n channels is highlighted outside the
// inner rows: near the end the channel lands on the last row; on the last two rows the window
// keeps two rows below the selection; on the first two rows one row above it; a jump lands it
// half a window down. No value when a 16-bit sum of the window's bounds overflows.
std::optional<qint32> HighlightTop(qint32 k, qint32 n, qint16 top, qint16 v);

// The top of the list window once the skin has laid out rows 0..v again, where it had rows
// 0..before: the same top, unless the selection was on screen and no longer fits, when the
// window moves as HighlightItem moves it to a channel below its last row.
qint32 KeptTop(qint32 selected, qint32 n, qint16 top, qint16 before, qint16 v);

class Highlighter {
public:
    Highlighter(const radio::ChannelTable& table, ListWindow& list, modFunctions::SharedWaitTimer& waits,
                const radio::TunedChannel& tuned);

    // Selects the channel at 1-based table position item and moves the window to show it.
    void HighlightItem(qint32 item);

    // A left press on a row selects that row without moving the window or tuning.
    void lblListItem_MouseDown(qint16 index, const skin::MouseArgs& args);

    // Finds the tuned channel in the table and highlights it, once per run.
    void tmrHighlightListItem_Timer();

    // After the skin laid out the rows again (rows 0..before until then): the rows show the
    // stretch of the table they showed, the selection highlighted, and the thumb its place.
    void ShowListAgain(qint16 before);

private:
    bool highlightInner(qint32 k);
    bool highlightMoving(qint32 k);

    const radio::ChannelTable& m_table;
    ListWindow& m_list;
    const ListControls& m_c;
    ListState& m_state;
    modFunctions::SharedWaitTimer& m_waits;
    const radio::TunedChannel& m_tuned;
};

} // namespace channellist
