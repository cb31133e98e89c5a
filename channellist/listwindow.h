// The skinned list window: a few rows laid out by the skin, looking onto a stretch of the
// channel table. PopulateList paints it; the listing timer keeps the row texts current.
#pragma once

#include "radio/channeltable.h"
#include "skin/radioxmcontrols.h"
#include "skin/windowstate.h"

namespace channellist {

class ListWindow {
public:
    ListWindow(skin::RadioXMControls& controls, skin::WindowState& state, const radio::ChannelTable& table);

    // Paints the window so that row 0 shows the channel at start (0-based). A start past the
    // end of the table keeps the window where it is (start receives that top); a start below 0
    // empties the window.
    void PopulateList(qint32& start);

    // Copies the latest texts of the table into the rows on screen, without moving the window
    // or the highlight.
    void tmrUpdateListing_Timer();

private:
    void showRow(int row, int position);
    void hideRow(int row);
    void fillRowTexts(int row, int position);
    void setRowOpaque(int row, bool opaque);

    skin::RadioXMControls& m_c;
    skin::WindowState& m_state;
    const radio::ChannelTable& m_table;
};

} // namespace channellist
