// The list window over a table made in the test: painting, the thumb, the highlight with its
// margins, a press on a row, choosing a channel and the header click.
#include "channellist/channeldata.h"
#include "channellist/choose.h"
#include "channellist/highlight.h"
#include "channellist/listwindow.h"
#include "nowplaying/nowplaying.h"
#include "partsrig.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using channellist::ThumbTop;
using radio::ChannelTable;
using skin::BackStyle;

TEST(PopulateList, PaintsTheStretchOfTheTableFromStart)
{
    struct Case {
        const char* name;
        int n;
        qint32 start;
        qint16 topBefore;
        qint32 startAfter;
        qint16 top;
        int shown;
        QString firstStation;
        bool refreshRuns;
    };
    const Case cases[] = {
        {"a full window", 20, 3, 0, 3, 3, 5, "S4", true},
        {"near the end: the rows past it are hidden", 20, 17, 0, 17, 17, 3, "S18", true},
        {"past the end: the window stays", 20, 25, 6, 6, 6, 5, "S7", true},
        {"the last channel alone", 20, 19, 0, 19, 19, 1, "S20", true},
        {"below 0: everything hidden, the top kept", 20, -1, 6, -1, 6, 0, "", false},
        {"an empty table", 0, 0, 0, 0, 0, 0, "", false},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        PartsRig l(t.n);
        l.state.TopListItem = t.topBefore;
        qint32 start = t.start;
        l.list.PopulateList(start);
        EXPECT_EQ(start, t.startAfter);
        EXPECT_EQ(l.state.TopListItem, t.top);
        EXPECT_EQ(l.shownRows(), t.shown);
        EXPECT_EQ(l.c.lblListItem0(0).Visible() ? l.c.lblListItem1(0).Caption() : QString(), t.firstStation);
        EXPECT_EQ(l.c.tmrUpdateListing.Enabled(), t.refreshRuns);
    }
}

TEST(PopulateList, OnlyTheSelectedRowIsOpaque)
{
    PartsRig l(20);
    l.state.SelectedListItem = 5;
    l.paint(3);
    EXPECT_EQ(l.opaqueRows(), Rows({2}));
    l.paint(10);
    EXPECT_EQ(l.opaqueRows(), Rows({})) << "the selection is above the window";
}

TEST(PopulateList, TheRefreshShowsNewTextsWithoutTouchingTheHighlight)
{
    PartsRig l(20);
    l.state.SelectedListItem = 4;
    l.paint(2);
    l.table.setText(4, radio::Artist, "New Artist");
    l.table.setText(19, radio::Artist, "Off screen");
    EXPECT_EQ(l.c.lblListItem2(2).Caption(), "");
    l.list.tmrUpdateListing_Timer();
    EXPECT_EQ(l.c.lblListItem2(2).Caption(), "New Artist");
    EXPECT_EQ(l.opaqueRows(), Rows({2}));
    EXPECT_EQ(l.state.TopListItem, 2);
}

TEST(ThumbTop, SpreadsTheTopOverTheTravelAndStaysOnAShortTrack)
{
    struct Case {
        const char* name;
        qint32 n;
        qint16 v, top;
        float expected;
    };
    const Case cases[] = {
        {"first page", 150, 4, 0, 0.0f},
        {"top n - v - 2 is the bottom", 150, 4, 144, 2700.0f},
        {"the very last page is one step further", 150, 4, 145, 2700.0f / 144 * 145},
        {"half way", 150, 4, 72, 1350.0f},
        {"n - v - 2 = 0 at the top", 6, 4, 0, 0.0f},
        {"n - v - 2 = 0 further down stays on the track", 6, 4, 5, 2700.0f},
        {"n - v - 2 < 0 stays on the track", 3, 4, 2, 0.0f},
    };
    for (const Case& t : cases)
        EXPECT_FLOAT_EQ(ThumbTop(3000, 300, t.n, t.v, t.top), t.expected) << t.name;
}

TEST(HighlightItem, SteppingDownKeepsTwoRowsBelowTheSelectionUntilTheEnd)
{
    const int n = 150;
    const qint16 v = 4;
    PartsRig l(n, v);
    l.paint(0);
    for (int k = 1; k <= n; ++k) {
        l.highlight.HighlightItem(k);
        const int top = std::min(std::max(k - 1 - (v - 2), 0), n - v - 1);
        ASSERT_EQ(l.state.TopListItem, top) << "k " << k;
        ASSERT_EQ(l.opaqueRows(), Rows({k - 1 - top})) << "k " << k;
        ASSERT_EQ(l.state.SelectedListItem, k - 1);
        ASSERT_EQ(l.state.HighlightedItem, k);
        ASSERT_FLOAT_EQ(l.c.pctScroll->Top(), ThumbTop(3000, 300, n, v, qint16(top)));
    }
    int top = l.state.TopListItem;
    for (int k = n - 1; k >= 1; --k) {
        l.highlight.HighlightItem(k);
        top = std::min(top, std::max(k - 2, 0));
        ASSERT_EQ(l.state.TopListItem, top) << "up, k " << k;
        ASSERT_EQ(l.opaqueRows(), Rows({k - 1 - top})) << "up, k " << k;
    }
    EXPECT_EQ(l.opaqueRows(), Rows({0}));
}

TEST(HighlightItem, JumpsLandTheChannelInView)
{
    struct Case {
        const char* name;
        int n;
        qint16 v;
        qint32 topBefore, k;
        qint16 top;
        Rows rows;
    };
    const Case cases[] = {
        {"to 98 from the top of 150", 150, 4, 0, 98, 96, {1}},
        {"to the last channel from the top", 150, 4, 0, 150, 145, {4}},
        {"back to 10 from the end", 150, 4, 145, 10, 8, {1}},
        {"a short table stays at the top", 3, 4, 0, 3, 0, {2}},
        {"the first channel of a short table", 3, 4, 0, 1, 0, {0}},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        PartsRig l(t.n, t.v);
        l.paint(t.topBefore);
        l.highlight.HighlightItem(t.k);
        EXPECT_EQ(l.state.TopListItem, t.top);
        EXPECT_EQ(l.opaqueRows(), t.rows);
        EXPECT_EQ(l.shownRows(), std::min<int>(t.n - t.top, t.v + 1));
    }
}

TEST(HighlightItem, RequestsThatChangeNothing)
{
    struct Case {
        const char* name;
        int n;
        qint16 v;
        qint32 k;
        qint32 highlightedAfter;
    };
    const Case cases[] = {
        {"k = 0", 150, 4, 0, 7},
        {"k negative", 150, 4, -3, 7},
        {"past the end on the edge rows", 3, 4, 10, 7},
        {"past the end on an inner row steps back", 3, 6, 4, 6},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        PartsRig l(t.n, t.v);
        l.state.SelectedListItem = 1;
        l.paint(0);
        l.state.HighlightedItem = 7;
        l.highlight.HighlightItem(t.k);
        EXPECT_EQ(l.state.SelectedListItem, 1);
        EXPECT_EQ(l.state.TopListItem, 0);
        EXPECT_EQ(l.opaqueRows(), Rows({1}));
        EXPECT_EQ(l.state.HighlightedItem, t.highlightedAfter);
    }
}

TEST(HighlightItem, AnInnerRowWithTheOldSelectionOutOfViewOnlyLightsTheNewRow)
{
    PartsRig l(150);
    l.state.SelectedListItem = 60;
    l.paint(10);
    l.highlight.HighlightItem(13);
    EXPECT_EQ(l.state.TopListItem, 10);
    EXPECT_EQ(l.opaqueRows(), Rows({2}));
    EXPECT_EQ(l.state.SelectedListItem, 12);
}

TEST(RowPress, ALeftPressSelectsTheRowWhereItStands)
{
    PartsRig l(150);
    l.state.SelectedListItem = 11;
    l.paint(10);
    l.highlight.lblListItem_MouseDown(3, {2, 0, 0});
    EXPECT_EQ(l.opaqueRows(), Rows({1})) << "the right button does nothing";
    l.highlight.lblListItem_MouseDown(3, {1, 0, 0});
    EXPECT_EQ(l.opaqueRows(), Rows({3}));
    EXPECT_EQ(l.state.SelectedListItem, 13);
    EXPECT_EQ(l.state.HighlightedItem, 14);
    EXPECT_EQ(l.state.TopListItem, 10);
}

TEST(StartupHighlight, FillsTheRowsTheTableGotAfterTheyWereLaidOut)
{
    PartsRig l(0);
    l.paint(0); // the skin's load, before the table has any channel
    for (int k = 1; k <= 20; ++k)
        l.table.Add(radio::ChannelTable::RowKey(k));
    l.tuned.setNumber(3); // an inner row of the first page
    l.highlight.tmrHighlightListItem_Timer();
    EXPECT_EQ(l.shownRows(), 5);
    EXPECT_EQ(l.c.lblListItem0(0).Caption(), "001");
    EXPECT_EQ(l.opaqueRows(), Rows({2}));
}

TEST(FirstStart, RowsShowAsTheirChannelsAreHeard)
{
    // No services.dat: the skin lays the rows out over an empty table, which the listing fills.
    PartsRig l(0);
    l.paint(0);
    radio::ChannelDataHandler& listing = l.listing;
    QObject::connect(&l.c.tmrUpdateListing, &skin::Timer::tick, &l.form, [&l] { l.list.tmrUpdateListing_Timer(); });
    const auto hear = [&listing](int number) {
        listing.ChannelData(number, QStringLiteral("S%1").arg(number), "Artist", "Title", "Rock");
    };
    hear(110);
    hear(111);
    ASSERT_TRUE(testsupport::waitUntil([&] { return l.shownRows() == 2; }, 2500)) << l.shownRows();
    EXPECT_EQ(l.c.lblListItem0(1).Caption(), "111");
    EXPECT_EQ(l.c.lblListItem1(1).Caption(), "S111");
    for (int number = 112; number < 130; ++number)
        hear(number);
    ASSERT_TRUE(testsupport::waitUntil([&] { return l.shownRows() == 5; }, 2500)) << l.shownRows();
    EXPECT_EQ(l.c.lblListItem1(4).Caption(), "S114");
    EXPECT_EQ(l.state.TopListItem, 0) << "the window stays on the first page";
    EXPECT_FALSE(l.state.ChannelListReady);
}

TEST(StartupHighlight, FindsTheTunedChannelOnceAndStops)
{
    PartsRig l(150);
    l.paint(0);
    l.tuned.setNumber(97);
    l.highlight.tmrHighlightListItem_Timer();
    EXPECT_TRUE(l.state.StartupHighlightDone);
    EXPECT_EQ(l.state.SelectedListItem, 96);
    EXPECT_EQ(l.state.TopListItem, 95);

    PartsRig missing(10);
    missing.c.tmrHighlightListItem.setEnabled(true);
    missing.tuned.setNumber(42);
    testsupport::pump(600);
    EXPECT_FALSE(missing.state.StartupHighlightDone);
    EXPECT_TRUE(missing.c.tmrHighlightListItem.Enabled()) << "it keeps searching";
    missing.table.Add("042");
    EXPECT_TRUE(testsupport::waitUntil([&] { return missing.state.StartupHighlightDone; }, 2000));
    EXPECT_EQ(missing.state.SelectedListItem, 10);
    EXPECT_FALSE(missing.c.tmrHighlightListItem.Enabled());
}

namespace {

// 150 channels, the seventh with a song, and LastChannel=1 in the settings.
struct Choosing : PartsRig {
    int presetRefreshes = 0;

    Choosing()
        : PartsRig(150)
    {
        QObject::connect(&chooser, &channellist::ChannelChooser::rowChosen, [this] { ++presetRefreshes; });
        testsupport::writeFile(settingsFile(), "[XMRadio]\r\nLastChannel=1\r\n");
        table.setText(6, radio::Artist, "Artist 7");
        table.setText(6, radio::Title, "Title 7");
        table.setText(6, radio::Genre, "Rock");
    }
    QByteArray settings() const { return testsupport::readFile(settingsFile()); }
};

} // namespace

TEST(ChooseListItem, TunesShowsRemembersAndUnmutes)
{
    Choosing t;
    t.chooser.ChooseListItem(6);
    EXPECT_EQ(t.calls, QStringList({"Channel 7", "SetMute false"}));
    EXPECT_EQ(t.c.lblCC->Caption(), "7");
    EXPECT_EQ(t.c.lblStation->Caption(), "S7");
    EXPECT_EQ(t.c.lblArtistTrackTitle->Caption(), "Artist 7 - Title 7");
    EXPECT_EQ(t.c.lblGenre->Caption(), "Rock");
    EXPECT_EQ(t.presetRefreshes, 1);
    EXPECT_EQ(t.settings(), "[XMRadio]\r\nLastChannel=7\r\n") << "without leading zeros";
}

TEST(ChooseListItem, RemembersTheChosenChannelEvenWhenAnOldReportArrivesMeanwhile)
{
    Choosing t;
    t.tuned.report(3, {});
    // A report of the channel still playing, handled while the choice lets pending events run.
    QTimer::singleShot(0, [&] { t.tuned.report(3, {}); });
    t.chooser.ChooseListItem(6);
    EXPECT_EQ(t.settings(), "[XMRadio]\r\nLastChannel=7\r\n");
}

TEST(ChooseListItem, APositionOutsideTheTableSkipsOnlyTheStepsThatReadTheRow)
{
    Choosing t;
    t.tuned.setNumber(12);
    t.c.lblStation->setCaption("Before");
    t.chooser.ChooseListItem(150);
    EXPECT_EQ(t.calls, QStringList({"SetMute false"}));
    EXPECT_EQ(t.c.lblStation->Caption(), "Before");
    EXPECT_EQ(t.presetRefreshes, 1);
    EXPECT_EQ(t.settings(), "[XMRadio]\r\nLastChannel=12\r\n");
}

TEST(ChooseListItem, TheArtistTitleLineWaitsForAHeldPreset)
{
    Choosing t;
    t.presets.cmdPreset_MouseDown(1, {1, 0, 0});
    QTimer::singleShot(300, [&] {
        EXPECT_EQ(t.c.lblStation->Caption(), "S7") << "the other labels do not wait";
        EXPECT_NE(t.c.lblArtistTrackTitle->Caption(), "Artist 7 - Title 7");
        t.presets.cmdPreset_MouseUp(1, {1, 0, 0});
    });
    t.chooser.ChooseListItem(6);
    EXPECT_EQ(t.c.lblArtistTrackTitle->Caption(), "Artist 7 - Title 7");
    EXPECT_EQ(t.presets.PresetPressed(), presets::HeldPreset::None) << "the line waited for the preset";
}

TEST(ChooseListItem, ADoubleTapSelectsAndChoosesTheRow)
{
    struct Case {
        const char* name;
        qint32 selected;
        Rows rows;
    };
    const Case cases[] = {
        {"on the selected row", 12, {2}},
        {"on another row", 11, {2}},
        {"with the selection scrolled away", 90, {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Choosing t;
        t.state.SelectedListItem = c.selected;
        t.paint(10);
        t.c.lblListItem2(1).setLeft(50);
        t.chooser.lblListItem_DblClick(2);
        EXPECT_EQ(t.opaqueRows(), c.rows);
        EXPECT_EQ(t.state.SelectedListItem, 12);
        EXPECT_EQ(t.state.HighlightedItem, 13);
        EXPECT_EQ(t.calls, QStringList({"Channel 13", "SetMute false"}));
        EXPECT_EQ(t.c.lblListItem2(1).Left(), c.selected == 11 ? 0.0f : 50.0f)
            << "the old selection's row goes back to the left edge";
    }
}

TEST(ChooseListItem, AnItemClickTunesButKeepsPresetsSettingsAndSelection)
{
    Choosing t;
    t.state.SelectedListItem = 3;
    t.chooser.lv_ItemClick(6);
    EXPECT_EQ(t.calls, QStringList({"Channel 7", "SetMute false"}));
    EXPECT_EQ(t.c.lblStation->Caption(), "S7");
    EXPECT_EQ(t.presetRefreshes, 0);
    EXPECT_EQ(t.settings(), "[XMRadio]\r\nLastChannel=1\r\n");
    EXPECT_EQ(t.state.SelectedListItem, 3);
}

TEST(ColumnClick, SortsOnTheClickedColumnAndFlipsTheDirection)
{
    ChannelTable table;
    const std::tuple<int, qint16, qint16> clicks[] = {{2, 1, 1}, {2, 1, 0}, {4, 3, 1}, {1, 0, 0}};
    for (const auto& [header, key, order] : clicks) {
        channellist::lv_ColumnClick(table, header);
        EXPECT_EQ(table.SortKey, key);
        EXPECT_EQ(table.SortOrder, order);
    }
}

TEST(KeptTop, TheListKeepsItsTopUnlessTheSelectionNoLongerFits)
{
    struct Case {
        const char* name;
        qint32 selected;
        qint16 top, before, v;
        qint32 expected;
    } cases[] = {
        {"the same rows", 25, 18, 10, 10, 18},
        {"more rows", 25, 18, 10, 14, 18},
        {"fewer rows, the selection still on them", 25, 18, 10, 8, 18},
        {"fewer rows, the selection below them: half a window down, as a jump", 29, 18, 12, 8, 26},
        {"a selection paged out of view stays out of view", 5, 18, 10, 4, 18},
        {"no selection in the table", 40, 18, 10, 4, 18},
    };
    for (const Case& c : cases)
        EXPECT_EQ(channellist::KeptTop(c.selected, 40, c.top, c.before, c.v), c.expected) << c.name;
}
