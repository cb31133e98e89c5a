#include "scrolling.h"

#include "base/basic.h"
#include "skin/paintskinnedcontrol.h"

namespace channellist {

qint32 DraggedTop(float thumbTop, float trackHeight, float thumbHeight, qint32 n, qint16 v)
{
    const double travel = double(trackHeight) - double(thumbHeight);
    // A thumb as tall as its track has no travel to share out.
    const double share = travel != 0 ? double(thumbTop) / travel : 0.0;
    // On a table shorter than the window a negative top would empty the list under the finger.
    return std::max<qint32>(basic::CLng(share * double(qint64(n) - v - 2)).value_or(0), 0);
}

Scroller::Scroller(ScrollControls controls, skin::ButtonPainter painter, const radio::ChannelTable& table,
                   ListWindow& list, Highlighter& highlight, skin::ButtonRepeat& repeat)
    : m_c(controls)
    , m_painter(painter)
    , m_table(table)
    , m_list(list)
    , m_state(list.state())
    , m_highlight(highlight)
    , m_repeat(repeat)
{
}

void Scroller::connectHandlers()
{
    m_c.pctScrollUp->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { pctScrollUp_MouseDown(a); },
                                   .mouseUp = [this](const skin::MouseArgs& a) { pctScrollUp_MouseUp(a); },
                                   .dblClick = [this] { pctScrollUp_DblClick(); }};
    m_c.pctScrollDown->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { pctScrollDown_MouseDown(a); },
                                     .mouseUp = [this](const skin::MouseArgs& a) { pctScrollDown_MouseUp(a); },
                                     .dblClick = [this] { pctScrollDown_DblClick(); }};
    m_c.pctScrollBar->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { pctScrollBar_MouseDown(a); },
                                    .mouseUp = [this](const skin::MouseArgs& a) { pctScrollBar_MouseUp(a); },
                                    .dblClick = [this] { pctScrollBar_DblClick(); },
                                    .lostFocus = [this] { pctScrollBar_LostFocus(); }};
    // The track takes the focus when pressed, so that a held page repeat ends when it goes.
    m_c.pctScrollBar->widget()->setFocusPolicy(Qt::ClickFocus);
    m_c.pctScroll->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { pctScroll_MouseDown(a); },
                                 .mouseUp = [this](const skin::MouseArgs& a) { pctScroll_MouseUp(a); },
                                 .mouseMove = [this](const skin::MouseArgs& a) { pctScroll_MouseMove(a); }};
}

void Scroller::ScrollUp()
{
    if (!m_state.ChannelListReady)
        return;
    m_state.HighlightedItem = std::max(m_state.HighlightedItem - 1, 0);
    m_highlight.HighlightItem(m_state.HighlightedItem);
}

void Scroller::ScrollDown()
{
    if (!m_state.ChannelListReady || m_state.SelectedListItem == m_table.count() - 1)
        return;
    // At 0 the first channel is the selection, so the next one down is the second.
    m_state.HighlightedItem = m_state.HighlightedItem == 0 ? 2 : m_state.HighlightedItem + 1;
    m_highlight.HighlightItem(m_state.HighlightedItem);
}

void Scroller::ScrollPageUp()
{
    if (!m_state.ChannelListReady)
        return;
    qint32 start = std::max(m_state.TopListItem - m_list.VisibleItems() - 1, 0);
    m_list.PopulateList(start);
    m_list.PlaceThumb();
}

void Scroller::ScrollPageDown()
{
    if (!m_state.ChannelListReady)
        return;
    qint32 start = m_state.TopListItem + m_list.VisibleItems() + 1;
    m_list.PopulateList(start);
    m_list.PlaceThumb();
}

// --- the step buttons --------------------------------------------------------------------------

void Scroller::pctScrollUp_MouseDown(const skin::MouseArgs& args)
{
    stepPress(*m_c.pctScrollUp, args, &Scroller::ScrollUp, skin::HeldButton::ScrollUp);
}

void Scroller::pctScrollUp_MouseUp(const skin::MouseArgs&)
{
    stepRelease(*m_c.pctScrollUp);
}

void Scroller::pctScrollUp_DblClick()
{
    stepDblClick(*m_c.pctScrollUp, &Scroller::ScrollUp);
}

void Scroller::pctScrollDown_MouseDown(const skin::MouseArgs& args)
{
    stepPress(*m_c.pctScrollDown, args, &Scroller::ScrollDown, skin::HeldButton::ScrollDown);
}

void Scroller::pctScrollDown_MouseUp(const skin::MouseArgs&)
{
    stepRelease(*m_c.pctScrollDown);
}

void Scroller::pctScrollDown_DblClick()
{
    stepDblClick(*m_c.pctScrollDown, &Scroller::ScrollDown);
}

// A left press steps at once and then repeats; a release ends the repeat; a double click steps
// once more and leaves the button up.
void Scroller::stepPress(skin::PictureArea& button, const skin::MouseArgs& args, void (Scroller::*step)(),
                         skin::HeldButton action)
{
    if (args.button != 1)
        return;
    paint(button, skin::StateDown);
    (this->*step)();
    repeat(action);
}

void Scroller::stepRelease(skin::PictureArea& button)
{
    paint(button, skin::StateUp);
    stopRepeat();
}

void Scroller::stepDblClick(skin::PictureArea& button, void (Scroller::*step)())
{
    paint(button, skin::StateDown);
    (this->*step)();
    stopRepeat();
    paint(button, skin::StateUp);
}

// --- the track ---------------------------------------------------------------------------------

void Scroller::pctScrollBar_MouseDown(const skin::MouseArgs& args)
{
    if (args.y > m_c.pctScroll->Top()) {
        m_pageCommand = PageDirection::PageDown;
        ScrollPageDown();
        repeat(skin::HeldButton::PageDown);
    } else {
        ScrollPageUp();
        m_pageCommand = PageDirection::PageUp;
        repeat(skin::HeldButton::PageUp);
    }
}

void Scroller::pctScrollBar_MouseUp(const skin::MouseArgs&)
{
    stopRepeat();
}

void Scroller::pctScrollBar_DblClick()
{
    if (m_pageCommand == PageDirection::PageDown) {
        ScrollPageDown();
        repeat(skin::HeldButton::PageDown);
    } else if (m_pageCommand == PageDirection::PageUp) {
        ScrollPageUp();
        repeat(skin::HeldButton::PageUp);
    }
    m_pageCommand = PageDirection::None;
}

void Scroller::pctScrollBar_LostFocus()
{
    m_pageCommand = PageDirection::None;
    stopRepeat();
}

// --- the thumb ---------------------------------------------------------------------------------

void Scroller::pctScroll_MouseDown(const skin::MouseArgs& args)
{
    if (args.button != 1)
        return;
    showThumb(m_c.pctScrollImageDown->Picture());
    m_thumbGrabX = args.x;
    m_thumbGrabY = args.y;
    m_buttonDown = 1;
}

void Scroller::pctScroll_MouseMove(const skin::MouseArgs& args)
{
    if (!m_state.ChannelListReady)
        return;
    const float dx = args.x - m_thumbGrabX;
    const float dy = args.y - m_thumbGrabY;
    if ((dx == 0 && dy == 0) || m_buttonDown != 1)
        return;
    const std::optional<qint32> p = basic::CLng(double(m_c.pctScroll->Top()) + double(dy));
    if (!p)
        return;
    const float travel = m_c.pctScrollBar->Height() - m_c.pctScroll->Height();
    const qint32 n = m_table.count();
    if (*p < 0)
        moveThumbAndShow(0, 0);
    else if (*p > travel)
        moveThumbAndShow(travel, std::max(n - m_list.VisibleItems() - 1, 0));
    else
        moveThumbAndShow(float(*p), DraggedTop(float(*p), m_c.pctScrollBar->Height(), m_c.pctScroll->Height(), n,
                                               m_list.VisibleItems()));
}

void Scroller::pctScroll_MouseUp(const skin::MouseArgs&)
{
    showThumb(m_c.pctScrollImageUp->Picture());
    m_buttonDown = 0;
}

// --- helpers -----------------------------------------------------------------------------------

void Scroller::repeat(skin::HeldButton action)
{
    m_repeat.hold(action);
}

void Scroller::stopRepeat()
{
    m_repeat.release();
}

void Scroller::paint(skin::PictureArea& button, qint16 state)
{
    m_painter.paint(button, state);
}

void Scroller::showThumb(const QImage& picture)
{
    m_c.pctScroll->setPicture(picture);
    m_c.pctScroll->widget()->repaint();
}

void Scroller::moveThumbAndShow(float top, qint32 start)
{
    m_c.pctScroll->setLeft(0);
    m_c.pctScroll->setTop(top);
    m_list.PopulateList(start);
}

} // namespace channellist
