// The now-playing display: track times, the time thumb, the artist-title line and the
// channel-change and current-channel reports.
#include "nowplaying/nowplaying.h"
#include "nowplaying/signalbars.h"
#include "partsrig.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using nowplaying::FormatTrackTime;

TEST(FormatTrackTime, ShowsMinutesAndSeconds)
{
    const std::pair<qint32, const char*> cases[] = {
        {-1, "--:--"},    {0, "00:00"},  {75, "01:15"},    {3599, "59:59"},
        {6000, "100:00"}, {59, "00:59"}, {-30, "-01:-30"}, {-75, "-02:-15"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatTrackTime(seconds), text) << seconds;
}

TEST(TimeThumbLeft, IsTheShareOfTheFreeWidthOfTheBar)
{
    struct Case {
        const char* name;
        qint32 position, duration;
        std::optional<qint32> left;
    };
    // Bar 3495 twips, thumb 375: 3120 free.
    const Case cases[] = {{"half way", 90, 180, 1560},
                          {"no length is the start", -1, -1, 0},
                          {"no duration", 30, 0, std::nullopt},
                          {"past the end", 360, 180, 6240},
                          {"negative share", -10, 100, 0},
                          {"half rounds to even", 1, 6240, 0},
                          {"a position without a length", 30, -1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(nowplaying::TimeThumbLeft(c.position, c.duration, 3495, 375), c.left) << c.name;
}

TEST(FormatBehindLive, ShowsMinutesAndSecondsAndHoursFromAnHourOn)
{
    const std::pair<double, const char*> cases[] = {
        {205, "-3:25"}, {62.4, "-1:02"}, {59.6, "-1:00"}, {3725, "-1:02:05"}, {36000, "-10:00:00"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(nowplaying::FormatBehindLive(seconds), text) << seconds;
}

namespace {

struct Display : ::testing::Test, PartsRig {
    nowplaying::NowPlaying& np = nowPlaying;
    std::vector<qint32> highlighted;
    int presetRefreshes = 0;

    Display()
    {
        QObject::connect(&np, &nowplaying::NowPlaying::channelRowChanged,
                         [this](qint32 item) { highlighted.push_back(item); });
        QObject::connect(&np, &nowplaying::NowPlaying::tunedChannelChanged, [this] { ++presetRefreshes; });
    }
};

} // namespace

TEST_F(Display, CurrentTimeShowsBothTimesAndMovesTheThumb)
{
    np.CurrentTime(90, 180);
    EXPECT_EQ(c.lblCurrentPos->Caption(), "01:30");
    EXPECT_EQ(c.lblTotalTrackTime->Caption(), "03:00");
    EXPECT_EQ(c.pctTimeScroll->Left(), 1560.0f);

    np.CurrentTime(30, 0);
    EXPECT_EQ(c.lblCurrentPos->Caption(), "00:30");
    EXPECT_EQ(c.lblTotalTrackTime->Caption(), "00:00");
    EXPECT_EQ(c.pctTimeScroll->Left(), 1560.0f) << "no duration leaves the thumb";
    EXPECT_EQ(np.TrackDuration(), 0);

    np.CurrentTime(-1, -1);
    EXPECT_EQ(c.lblCurrentPos->Caption(), "--:--");
    EXPECT_EQ(c.lblTotalTrackTime->Caption(), "--:--");
    EXPECT_EQ(c.pctTimeScroll->Left(), 0.0f) << "no length: the start of the bar, not its end";
}

TEST_F(Display, TheSameArtistAndTitleDoNotTouchTheLineAgain)
{
    np.ArtistTitleUpdate("A - B");
    EXPECT_EQ(c.lblArtistTrackTitle->Caption(), "A - B");
    c.lblArtistTrackTitle->setCaption("Preset 1 - Channel 12");
    np.ArtistTitleUpdate("A - B");
    EXPECT_EQ(c.lblArtistTrackTitle->Caption(), "Preset 1 - Channel 12");
}

TEST_F(Display, TheArtistTitleLineWaitsWhileAPresetIsHeld)
{
    presets.cmdPreset_MouseDown(0, {1, 0, 0});
    const QString before = c.lblArtistTrackTitle->Caption();
    QString seenWhileHeld;
    QTimer::singleShot(60, [&] { seenWhileHeld = c.lblArtistTrackTitle->Caption(); });
    QTimer::singleShot(150, [&] { presets.cmdPreset_MouseUp(0, {1, 0, 0}); });
    QElapsedTimer clock;
    clock.start();
    np.ArtistTitleUpdate("New - Line");
    EXPECT_GE(clock.elapsed(), 150);
    EXPECT_EQ(seenWhileHeld, before);
    EXPECT_EQ(c.lblArtistTrackTitle->Caption(), "New - Line");
    EXPECT_EQ(np.ArtistTrackTitle(), "New - Line");
}

TEST_F(Display, ChannelChangeShowsAKnownChannelsRow)
{
    table.Add("001");
    const int row = table.Add("007");
    table.setText(row, radio::Station, "Station 7");
    table.setText(row, radio::Artist, "Artist 7");
    table.setText(row, radio::Title, "Title 7");
    table.setText(row, radio::Genre, "Genre 7");
    tuned.setNumber(5);
    np.ChannelChange(7);
    EXPECT_EQ(highlighted, std::vector<qint32>{2});
    EXPECT_EQ(c.lblStation->Caption(), "Station 7");
    EXPECT_EQ(c.lblArtist->Caption(), "Artist 7");
    EXPECT_EQ(c.lblTrackTitle->Caption(), "Title 7");
    EXPECT_EQ(c.lblGenre->Caption(), "Genre 7");
    EXPECT_EQ(c.lblArtistTrackTitle->Caption(), "Artist 7 - Title 7");
    EXPECT_EQ(presetRefreshes, 1);
    EXPECT_EQ(c.lblCC->Caption(), "7") << "the number shown is that of the channel whose texts are shown";
}

TEST_F(Display, ChannelChangeToAnUnknownChannelChangesNothing)
{
    table.Add("001");
    np.ChannelChange(8);
    EXPECT_TRUE(highlighted.empty());
    EXPECT_EQ(presetRefreshes, 0);
    EXPECT_EQ(c.lblStation->Caption(), "S");
}

TEST_F(Display, CurrentChannelDataShowsTheTunedChannel)
{
    np.CurrentChannelData(7, "St", "Ar", "Ti", "Ge");
    EXPECT_EQ(c.lblCC->Caption(), "7");
    EXPECT_EQ(c.lblStation->Caption(), "St");
    EXPECT_EQ(c.lblArtistTrackTitle->Caption(), "Ar - Ti");
    EXPECT_EQ(c.lblGenre->Caption(), "Ge");
    EXPECT_EQ(presetRefreshes, 0);
}

TEST_F(Display, SignalStrengthFillsEachBarByItsShareRoundedHalfToEven)
{
    for (int i = 0; i < 3; ++i) {
        c.lblSignalBack(i).setTag("H");
        c.lblSignalBack(i).Move(300, 1000 + 300 * i, 1500, 200);
    }
    nowplaying::SignalStrength(nowplaying::SignalBars::of(c), 0, 50, 100);
    EXPECT_FALSE(c.lblSignalFront(0).Visible());
    EXPECT_EQ(c.lblSignalFront(1).Width(), 750.0f);
    EXPECT_EQ(c.lblSignalFront(2).Width(), 1500.0f);
    EXPECT_EQ(c.lblSignalFront(2).Top(), 1600.0f);

    nowplaying::SignalStrength(nowplaying::SignalBars::of(c), 49.5f, 50.5f, 0.5f);
    EXPECT_EQ(c.lblSignalFront(0).Width(), 750.0f);
    EXPECT_EQ(c.lblSignalFront(1).Width(), 750.0f);
    EXPECT_FALSE(c.lblSignalFront(2).Visible());

    c.lblSignalBack(1).setTag("h");
    nowplaying::SignalStrength(nowplaying::SignalBars::of(c), 10, 10, 10);
    EXPECT_EQ(c.lblSignalFront(1).Width(), 750.0f) << "an unknown orientation leaves the bar";
}

TEST_F(Display, BehindLiveShowsTheSongHeardAndBackAtLiveTheLiveChannelAtOnce)
{
    np.CurrentChannelData(7, "Live St", "Live Ar", "Live Ti", "Live Ge");
    np.CurrentTime(100, 200);
    timeShift.report(false, 0, 60, 100);
    EXPECT_EQ(c.lblTotalTrackTime->Caption(), "03:20") << "at live, time shift changes nothing shown";
    timeShift.report(true, 205, 600, 90);
    timeShift.songHeard({8, "St", "Ar", "Ti", "Ge", 180});
    np.CurrentChannelData(7, "Live St", "Next Ar", "Next Ti", "Live Ge");
    np.CurrentTime(5, 240);
    EXPECT_EQ(c.lblCC->Caption(), "8");
    EXPECT_EQ(c.lblTrackTitle->Caption(), "Ti");
    EXPECT_EQ(c.lblArtistTrackTitle->Caption(), "Ar - Ti");
    EXPECT_EQ(c.lblCurrentPos->Caption(), "01:30");
    EXPECT_EQ(c.lblTotalTrackTime->Caption(), "-3:25");
    EXPECT_EQ(c.pctTimeScroll->Left(), 1560.0f) << "half way through the song heard";
    timeShift.report(false, 0, 600, 5);
    EXPECT_EQ(c.lblCC->Caption(), "7");
    EXPECT_EQ(c.lblArtistTrackTitle->Caption(), "Next Ar - Next Ti");
    EXPECT_EQ(c.lblTotalTrackTime->Caption(), "04:00");
    EXPECT_EQ(c.pctTimeScroll->Left(), 65.0f);
}

TEST_F(Display, TapsOnTheTimeBarSeekInTheSongHeardAndOnTheTotalTimeReturnToLive)
{
    const auto tap = [](skin::Control& control, float x) { control.handlers().mouseDown({1, x, 0}); };
    np.CurrentTime(10, 200);
    tap(*c.pctTimeScrollBar, 1747.5f);
    EXPECT_TRUE(calls.isEmpty()) << "without time shift the bar only shows the time";
    timeShift.report(false, 0, 60, 10);
    tap(*c.pctTimeScrollBar, 1747.5f); // half the bar's width: half the live track
    tap(*c.lblTotalTrackTime, 0);      // at live already
    timeShift.report(true, 30, 60, 10);
    timeShift.songHeard({7, "St", "Ar", "Ti", "Ge", 180});
    tap(*c.pctTimeScroll, 1747.5f - c.pctTimeScroll->Left());
    tap(*c.pctTimeScrollBar, 5000);
    tap(*c.lblTotalTrackTime, 0);
    EXPECT_EQ(calls, QStringList({"Seek 100", "Seek 90", "Seek 180", "Live"}));
}

TEST_F(Display, TimeShiftIsOffWhenTheServiceFallsSilentOrIsLost)
{
    timeShift.report(true, 30, 60, 10);
    EXPECT_TRUE(testsupport::waitUntil([&] { return !timeShift.on(); }, radio::TimeShift::SilenceMs + 1000));
    EXPECT_FALSE(c.lblTotalTrackTime->Caption().startsWith('-'));

    timeShift.report(false, 30, 60, 10);
    ASSERT_TRUE(c.lblTotalTrackTime->Caption().startsWith('-'));
    timeShift.lost();
    EXPECT_FALSE(timeShift.on()) << "at once, not after the silence";
    EXPECT_FALSE(c.lblTotalTrackTime->Caption().startsWith('-'));
}

TEST_F(Display, AChannelTunedBehindLiveShowsAtOnceAndTheOldSoundsReportsDoNot)
{
    np.CurrentChannelData(7, "St", "Ar", "Ti", "Ge");
    np.CurrentTime(100, 200);
    timeShift.report(true, 205, 600, 90);
    timeShift.songHeard({7, "St", "Old", "Song", "Ge", 180});
    tuned.choose(9, {"S9", "A9", "T9", "G9"});
    timeShift.report(true, 206, 600, 91); // sent before the service heard of the change
    EXPECT_EQ(c.lblCC->Caption(), "9");
    EXPECT_EQ(c.lblArtistTrackTitle->Caption(), "A9 - T9");
    EXPECT_EQ(c.lblTotalTrackTime->Caption(), "03:20");
    timeShift.report(false, 0, 0, 0);
    timeShift.report(true, 3, 3, 1);
    EXPECT_EQ(c.lblTotalTrackTime->Caption(), "-0:03") << "behind live on the new channel";
}
