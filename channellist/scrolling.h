// Scrolling the list: the step buttons move the selection one channel (and the window with it,
// by the highlight's rules), a press on the track pages the window, dragging the thumb moves the
// window in proportion. Holding a step button or the track repeats through the window's repeat
// timer. Paging and dragging leave the selection where it is.
#pragma once

#include "channellist/highlight.h"
#include "channellist/listwindow.h"
#include "radio/channeltable.h"
#include "skin/radioxmcontrols.h"
#include "skin/windowstate.h"

namespace channellist {

// The new top of the window for a thumb dragged to Top thumbTop on a track with travel
// trackHeight - thumbHeight: the share of the travel of n - v - 2, rounded half to even. A
// short table (no rows to travel) and a thumb as tall as its track give the first page.
qint32 DraggedTop(float thumbTop, float trackHeight, float thumbHeight, qint32 n, qint16 v);

class Scroller {
public:
    Scroller(skin::RadioXMControls& controls, skin::WindowState& state, const radio::ChannelTable& table,
             ListWindow& list, Highlighter& highlight, const skin::TwipsScale& scale);

    // Hands the mouse events of the step buttons, the track and the thumb to the handlers below.
    void connectHandlers();

    void ScrollUp();
    void ScrollDown();
    void ScrollPageUp();
    void ScrollPageDown();

    void pctScrollUp_MouseDown(const skin::MouseArgs& args);
    void pctScrollUp_MouseUp(const skin::MouseArgs& args);
    void pctScrollUp_DblClick();
    void pctScrollDown_MouseDown(const skin::MouseArgs& args);
    void pctScrollDown_MouseUp(const skin::MouseArgs& args);
    void pctScrollDown_DblClick();

    void pctScrollBar_MouseDown(const skin::MouseArgs& args);
    void pctScrollBar_MouseUp(const skin::MouseArgs& args);
    void pctScrollBar_DblClick();
    void pctScrollBar_LostFocus();

    void pctScroll_MouseDown(const skin::MouseArgs& args);
    void pctScroll_MouseMove(const skin::MouseArgs& args);
    void pctScroll_MouseUp(const skin::MouseArgs& args);

private:
    void stepPress(skin::PictureArea& button, const skin::MouseArgs& args, void (Scroller::*step)(),
                   skin::HeldButton action);
    void stepRelease(skin::PictureArea& button);
    void stepDblClick(skin::PictureArea& button, void (Scroller::*step)());
    void repeat(skin::HeldButton action);
    void stopRepeat();
    void paint(skin::PictureArea& button, qint16 state);
    void showThumb(const QImage& picture);
    void moveThumbAndShow(float top, qint32 start);

    skin::RadioXMControls& m_c;
    skin::WindowState& m_state;
    const radio::ChannelTable& m_table;
    ListWindow& m_list;
    Highlighter& m_highlight;
    const skin::TwipsScale& m_scale;
};

} // namespace channellist
