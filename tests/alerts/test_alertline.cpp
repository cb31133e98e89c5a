// The artist-title line lent to the alerts, on the real controls with the real now-playing
// display and presets.
#include "partsrig.h"
#include "testsupport.h"

#include <QFontMetrics>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using testsupport::pump;

namespace {

struct Line : ::testing::Test, PartsRig {
    void SetUp() override
    {
        alerts.rebuild({"Alert 7", "Alert 9", "Alert 11"}, {});
        watcher.setTunedChannel(20);
        line.setTimes({.messageMs = 300, .bannerMs = 600});
        presets.setMessageTime(400);
        tuned.report(20, {"Rock 20", "Artist A", "Title A", "Rock"});
    }
    QString shown() const { return c.lblArtistTrackTitle->Caption(); }
    void hear(qint32 channel)
    {
        ASSERT_TRUE(watcher.Report(channel, QStringLiteral("Hits %1").arg(channel),
                                   QStringLiteral("Alert %1").arg(channel), "Song"));
        line.NewsWaiting();
    }
};

TEST_F(Line, AHeldPresetGoesFirstAndTheTunedLineWaitsForTheBanner)
{
    hear(7);
    EXPECT_EQ(shown(), "007 Hits 7: Alert 7 - Song");
    EXPECT_EQ(line.BannerChannel(), 7);
    tuned.setTexts({"Rock 20", "Artist B", "Title B", "Rock"});
    EXPECT_EQ(shown(), "007 Hits 7: Alert 7 - Song") << "the tuned channel's new song took the banner's place";

    // A preset goes down: the line is given back at once, and the preset's message stays its time.
    presets.cmdPreset_MouseDown(0, {});
    pump(150);
    EXPECT_EQ(shown(), "Artist B - Title B");
    EXPECT_EQ(line.BannerChannel(), std::nullopt) << "a tap would tune a banner no longer shown";
    presets.tmrSavePreset_Timer();
    EXPECT_EQ(shown(), "Artist B - Title B");

    // Let go, the banner comes back for its whole time, then the tuned line.
    pump(150);
    EXPECT_EQ(shown(), "007 Hits 7: Alert 7 - Song");
    pump(450);
    EXPECT_EQ(shown(), "007 Hits 7: Alert 7 - Song");
    EXPECT_TRUE(testsupport::waitUntil([&] { return shown() == "Artist B - Title B"; }, 1000));
}

TEST_F(Line, MessagesBannersAndTunesTakeTheLineInTurn)
{
    hear(7);
    hear(9);
    hear(11);
    line.ShowMessage("Alert set: Artist A");
    EXPECT_EQ(shown(), "Alert set: Artist A");
    EXPECT_EQ(line.BannerChannel(), std::nullopt);
    // A second hold's message replaces the first; the banner it covered is shown whole after it.
    line.ShowMessage("Alert removed: Artist A");
    EXPECT_EQ(shown(), "Alert removed: Artist A");
    EXPECT_TRUE(testsupport::waitUntil([&] { return line.BannerChannel() == 7; }, 1000));
    // Channel 9 is tuned while 7 shows: its banner goes, 7 goes on, then 11.
    watcher.setTunedChannel(9);
    line.DropChannel(9);
    EXPECT_EQ(line.BannerChannel(), 7);
    watcher.setTunedChannel(7);
    line.DropChannel(7);
    EXPECT_EQ(line.BannerChannel(), 11);
    EXPECT_TRUE(testsupport::waitUntil([&] { return shown() == "Artist A - Title A"; }, 1500));
    EXPECT_FALSE(line.lent());
}

} // namespace

TEST_F(Line, ABannerTooLongForItsFrameIsCutWithAnEllipsisAndStillGivesTheLineBack)
{
    ASSERT_TRUE(watcher.Report(9, "Hits 9", "Alert 9", QString(80, u'x')));
    line.NewsWaiting();
    const QWidget* label = c.lblArtistTrackTitle->widget();
    EXPECT_TRUE(shown().startsWith("009 Hits 9: Alert 9 - xx")) << shown().toStdString();
    EXPECT_TRUE(shown().endsWith(u'…')) << shown().toStdString();
    EXPECT_LE(QFontMetrics(c.lblArtistTrackTitle->font(), label).horizontalAdvance(shown()),
              label->parentWidget()->width() - label->x());
    pump(900);
    EXPECT_EQ(shown(), "Artist A - Title A");
}
