// Where the list stands: the table position its row 0 shows, the channel selected and the one
// highlighted, and how far start-up has come with it. The list window owns it; the list's parts
// (the highlight, the choice, the scrolling, the listing) write it, everyone else reads it.
#pragma once

#include <QtGlobal>

namespace channellist {

struct ListState {
    // The table position (0-based) that row 0 shows.
    qint16 TopListItem = 0;
    // The selected channel's table position (0-based), and the 1-based position the step
    // buttons move from.
    qint32 SelectedListItem = 0;
    qint32 HighlightedItem = 0;
    // The listing has come round once: the list can be used.
    bool ChannelListReady = false;
    // The tuned channel has been highlighted once after start.
    bool StartupHighlightDone = false;
};

} // namespace channellist
