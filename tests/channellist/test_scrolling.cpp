// Scrolling the list: the step buttons, paging on the track, dragging the thumb, and the repeat
// they start, against a table made in the test.
#include "channellist/scrolling.h"
#include "partsrig.h"
#include "testsupport.h"

#include <QTest>

using channellist::DraggedTop;

namespace {

struct Scrolling : PartsRig {
    explicit Scrolling(int n = 150)
        : PartsRig(n)
    {
        state.ChannelListReady = true;
        paint(0);
        list.PlaceThumb();
    }
    skin::MouseArgs left(float y = 0) { return {1, 0, y}; }
};

} // namespace

TEST(Scrolling, StepsMoveTheSelectionOneChannel)
{
    Scrolling s;
    s.highlight.HighlightItem(1);
    s.scroller.ScrollUp();
    EXPECT_EQ(s.state.HighlightedItem, 0);
    EXPECT_EQ(s.state.SelectedListItem, 0) << "the first channel stays selected";
    s.scroller.ScrollDown();
    EXPECT_EQ(s.state.SelectedListItem, 1) << "from 0 the next one down is the second";
    EXPECT_EQ(s.opaqueRows(), Rows({1}));

    s.highlight.HighlightItem(150);
    s.scroller.pctScrollDown_MouseDown(s.left());
    EXPECT_EQ(s.repeat.held(), skin::HeldButton::ScrollDown);
    s.scroller.ScrollDown(); // a tick of the held button
    EXPECT_EQ(s.state.SelectedListItem, 149) << "nothing below the last channel";
    EXPECT_EQ(s.state.HighlightedItem, 150);
    s.scroller.pctScrollDown_MouseUp(s.left());
    EXPECT_EQ(s.repeat.held(), skin::HeldButton::None);
    EXPECT_FALSE(s.c.tmrButtonPressed.Enabled());

    Scrolling notReady;
    notReady.state.ChannelListReady = false;
    notReady.scroller.ScrollDown();
    notReady.scroller.ScrollPageDown();
    EXPECT_EQ(notReady.state.HighlightedItem, 0);
    EXPECT_EQ(notReady.state.TopListItem, 0);
}

TEST(Scrolling, PagesMoveOnlyTheWindow)
{
    struct Case {
        const char* name;
        qint32 top;
        bool down;
        qint16 after;
    };
    const Case cases[] = {
        {"down one page", 10, true, 15},
        {"down near the end shows the rest", 140, true, 145},
        {"down at the end stays", 146, true, 146},
        {"up one page", 20, false, 15},
        {"up near the top shows the first page", 3, false, 0},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        Scrolling s;
        s.state.SelectedListItem = 12;
        s.paint(t.top);
        t.down ? s.scroller.ScrollPageDown() : s.scroller.ScrollPageUp();
        EXPECT_EQ(s.state.TopListItem, t.after);
        EXPECT_EQ(s.state.SelectedListItem, 12);
        EXPECT_FLOAT_EQ(s.c.pctScroll->Top(), channellist::ThumbTop(3000, 300, 150, 4, t.after));
    }
}

TEST(Scrolling, APressOnTheTrackPagesTowardsItAndRepeatsUntilReleaseOrFocusLoss)
{
    Scrolling s;
    s.paint(50);
    s.list.PlaceThumb();
    const float thumb = s.c.pctScroll->Top();
    s.scroller.pctScrollBar_MouseDown({2, 0, thumb + 400}); // the right button pages too
    EXPECT_EQ(s.state.TopListItem, 55);
    EXPECT_EQ(s.repeat.held(), skin::HeldButton::PageDown);
    EXPECT_TRUE(s.c.tmrButtonPressed.Enabled());
    s.scroller.pctScrollBar_LostFocus();
    EXPECT_EQ(s.repeat.held(), skin::HeldButton::None);
    EXPECT_FALSE(s.c.tmrButtonPressed.Enabled());
    EXPECT_EQ(s.scroller.pageCommand(), channellist::PageDirection::None);

    s.scroller.pctScrollBar_MouseDown(s.left(s.c.pctScroll->Top()));
    EXPECT_EQ(s.state.TopListItem, 50);
    EXPECT_EQ(s.scroller.pageCommand(), channellist::PageDirection::PageUp);
    s.scroller.pctScrollBar_MouseUp(s.left());
    EXPECT_EQ(s.scroller.pageCommand(), channellist::PageDirection::PageUp)
        << "a release keeps the direction for a double click";
    s.scroller.pctScrollBar_DblClick();
    EXPECT_EQ(s.state.TopListItem, 45);
    EXPECT_EQ(s.repeat.held(), skin::HeldButton::PageUp);
    EXPECT_EQ(s.scroller.pageCommand(), channellist::PageDirection::None);
}

TEST(Scrolling, ADoubleClickOnAStepButtonStepsOnceMoreAndEndsUp)
{
    Scrolling s;
    s.highlight.HighlightItem(10);
    // What Qt sends for a double click: press, release, double click, release.
    s.scroller.pctScrollDown_MouseDown(s.left());
    s.scroller.pctScrollDown_MouseUp(s.left());
    s.scroller.pctScrollDown_DblClick();
    s.scroller.pctScrollDown_MouseUp(s.left());
    EXPECT_EQ(s.state.SelectedListItem, 11);
    EXPECT_EQ(s.repeat.held(), skin::HeldButton::None);
    EXPECT_FALSE(s.c.tmrButtonPressed.Enabled());
}

TEST(Scrolling, TheThumbDragMovesTheWindowInProportion)
{
    struct Case {
        const char* name;
        int n;
        float grabY, moveY;
        float thumbTop;
        qint16 top;
    };
    const Case cases[] = {
        {"half way", 150, 100, 1450, 1350, 72},
        {"above the track: the first page", 150, 100, -500, 0, 0},
        {"below the track: the last page", 150, 100, 5000, 2700, 145},
        {"to the bottom of the travel", 150, 0, 2700, 2700, 144},
        {"a short table stays at the top", 3, 0, 1000, 1000, 0},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        Scrolling s(t.n);
        s.scroller.pctScroll_MouseDown({1, 0, t.grabY});
        EXPECT_TRUE(s.scroller.thumbHeld());
        s.scroller.pctScroll_MouseMove({1, 0, t.moveY});
        EXPECT_FLOAT_EQ(s.c.pctScroll->Top(), t.thumbTop);
        EXPECT_EQ(s.state.TopListItem, t.top);
        EXPECT_EQ(s.shownRows(), std::min(5, t.n));
        s.scroller.pctScroll_MouseUp({1, 0, 0});
        EXPECT_FALSE(s.scroller.thumbHeld());
    }
}

TEST(Scrolling, AThumbMoveWithoutAPressOrWithoutMovementChangesNothing)
{
    Scrolling s;
    s.scroller.pctScroll_MouseMove({0, 0, 1500});
    s.scroller.pctScroll_MouseDown({2, 0, 100});
    s.scroller.pctScroll_MouseMove({2, 0, 1500});
    s.scroller.pctScroll_MouseDown({1, 0, 100});
    s.scroller.pctScroll_MouseMove({1, 0, 100});
    EXPECT_EQ(s.c.pctScroll->Top(), 0.0f);
    EXPECT_EQ(s.state.TopListItem, 0);
}

TEST(DraggedTop, SharesTheTravelAndNeverGoesNegative)
{
    EXPECT_EQ(DraggedTop(1350, 3000, 300, 150, 4), 72);
    EXPECT_EQ(DraggedTop(1350, 3000, 300, 5, 4), 0) << "n - v - 2 below 0";
    EXPECT_EQ(DraggedTop(0, 300, 300, 150, 4), 0) << "a thumb as tall as its track";
    EXPECT_EQ(DraggedTop(2700, 3000, 300, 151, 4), 145);
}
