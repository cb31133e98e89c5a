// The skinned list window: a few rows laid out by the skin, looking onto a stretch of the
// channel table. PopulateList paints it; the listing timer keeps the row texts current; the
// thumb shows where the window stands in the table.
#pragma once

#include "channellist/liststate.h"
#include "radio/channeltable.h"
#include "skin/radioxmcontrols.h"
#include "skin/skinstate.h"

#include <array>
#include <optional>

namespace channellist {

// The thumb's Top (twips from the top of the track) for a window whose row 0 shows table
// position top, with n channels and rows 0..v: the thumb travels the free height of the track
// (track minus thumb) while the top runs from 0 to n - v - 2, so the very last page is one step
// past the bottom. A table that fits in the window (n - v - 2 at most 0) keeps the thumb inside
// its track.
float ThumbTop(float trackHeight, float thumbHeight, qint32 n, qint16 v, qint16 top);

// A click on a header of the table control: sorts on that column (1-based header index) and
// flips the direction at every click, whichever column was clicked before.
void lv_ColumnClick(radio::ChannelTable& table, int headerIndex);

// The list's controls: its rows (six label groups: the row background, then columns 0 to 4), the
// column containers, the list's area, the thumb on its track, and the list's timers.
struct ListControls {
    std::array<skin::ControlArray<skin::Label>*, 6> rows;
    std::array<skin::PictureArea*, 5> columns;
    skin::ControlArray<skin::Label>& lblListItem;
    skin::ControlArray<skin::Label>& lblListItem0;
    skin::PictureArea* pctSkinnableList;
    skin::PictureArea* pctScrollBar;
    skin::ImageControl* pctScroll;
    skin::Timer& tmrUpdateListing;
    skin::Timer& tmrHighlightListItem;

    skin::ControlArray<skin::Label>& rowGroup(int group) const { return *rows[size_t(group)]; }
    skin::PictureArea& listColumn(int column) const { return *columns[size_t(column)]; }

    static ListControls of(skin::RadioXMControls& window);
};

class ListWindow {
public:
    ListWindow(ListControls controls, const skin::SkinState& skin, const radio::ChannelTable& table);

    const ListControls& controls() const { return m_c; }

    // Where the list stands. The list's parts write it through here; the rest of the window reads.
    ListState& state() { return m_state; }
    const ListState& state() const { return m_state; }
    // The skin laid out rows 0..VisibleItems.
    qint16 VisibleItems() const { return m_skin.VisibleItems; }

    // Paints the window so that row 0 shows the channel at start (0-based). A start past the
    // end of the table keeps the window where it is (start receives that top); a start below 0
    // empties the window.
    void PopulateList(qint32& start);

    // Copies the latest texts of the table into the rows on screen, without moving the window
    // or the highlight; rows that were hidden because the table did not reach them show now.
    void tmrUpdateListing_Timer();

    // Moves the thumb to where the window stands now, and shows it there.
    void PlaceThumb();

    // A row is highlighted by making its six labels opaque: their back colour is the skin's
    // selected-row colour. Rows that the skin did not lay out are left alone.
    void setRowOpaque(int row, bool opaque);
    // Draws the selection's row, when it is on screen, as a row not selected; returns that row.
    std::optional<qint32> UnlightSelectedRow();
    // Moves a row's six labels to a left edge inside their containers.
    void setRowLeft(int row, float left);
    bool rowExists(int row) const;

private:
    void showRow(int row, int position);
    void hideRow(int row);
    void fillRowTexts(int row, int position);

    ListControls m_c;
    const skin::SkinState& m_skin;
    ListState m_state;
    const radio::ChannelTable& m_table;
};

} // namespace channellist
