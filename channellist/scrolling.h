// Scrolling the list: the step buttons move the selection one channel (and the window with it,
// by the highlight's rules), a press on the track pages the window, dragging the thumb moves the
// window in proportion. Holding a step button or the track repeats through the window's repeat
// timer. Paging and dragging leave the selection where it is.
#pragma once

#include "channellist/highlight.h"
#include "channellist/listwindow.h"
#include "radio/channeltable.h"
#include "skin/buttonrepeat.h"
#include "skin/paintskinnedcontrol.h"
#include "skin/radioxmcontrols.h"

namespace channellist {

// The new top of the window for a thumb dragged to Top thumbTop on a track with travel
// trackHeight - thumbHeight: the share of the travel of n - v - 2, rounded half to even. A
// short table (no rows to travel) and a thumb as tall as its track give the first page.
qint32 DraggedTop(float thumbTop, float trackHeight, float thumbHeight, qint32 n, qint16 v);

// The direction of the last press on the track, which a double click on it repeats.
enum class PageDirection { None, PageUp, PageDown };

// The step buttons, the track and the thumb with its two pictures.
struct ScrollControls {
    skin::PictureArea* pctScrollUp;
    skin::PictureArea* pctScrollDown;
    skin::PictureArea* pctScrollBar;
    skin::ImageControl* pctScroll;
    skin::ImageControl* pctScrollImageUp;
    skin::ImageControl* pctScrollImageDown;

    static ScrollControls of(skin::RadioXMControls& window)
    {
        return {window.pctScrollUp.get(), window.pctScrollDown.get(),    window.pctScrollBar.get(),
                window.pctScroll.get(),   window.pctScrollImageUp.get(), window.pctScrollImageDown.get()};
    }
};

class Scroller {
public:
    Scroller(ScrollControls controls, skin::ButtonPainter painter, const radio::ChannelTable& table, ListWindow& list,
             Highlighter& highlight, skin::ButtonRepeat& repeat);

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

    // The direction a double click on the track repeats: none after a double click on it or when
    // it loses the focus.
    PageDirection pageCommand() const { return m_pageCommand; }
    // Whether the left button holds the thumb.
    bool thumbHeld() const { return m_buttonDown == 1; }

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

    ScrollControls m_c;
    skin::ButtonPainter m_painter;
    const radio::ChannelTable& m_table;
    ListWindow& m_list;
    ListState& m_state;
    Highlighter& m_highlight;
    skin::ButtonRepeat& m_repeat;
    PageDirection m_pageCommand = PageDirection::None;
    // The mouse button held on the thumb (1 left, 0 none) and where in the thumb it went down
    // (twips).
    qint16 m_buttonDown = 0;
    float m_thumbGrabX = 0.0f;
    float m_thumbGrabY = 0.0f;
};

} // namespace channellist
