// The news the watcher gives from the radio's reports: alerts starting on other channels than the
// tuned one, once per song, in order, and never news that is no longer true.
#include "alerts/alertwatcher.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace alerts;

namespace {

class Watcher : public ::testing::Test {
protected:
    Watcher()
    {
        index.rebuild({QStringLiteral("Madonna"), QStringLiteral("Electric Light Orchestra")},
                      {QStringLiteral("Queen - Bohemian Rhapsody")});
        watcher.setTunedChannel(5);
    }
    // The channels whose news is waiting, in the order it comes.
    std::vector<qint32> takeAll()
    {
        std::vector<qint32> channels;
        while (const auto news = watcher.takeNews())
            channels.push_back(news->channel);
        return channels;
    }
    AlertIndex index;
    AlertWatcher watcher{index};
};

TEST_F(Watcher, AnnouncesAlertsOnOtherChannelsInTheOrderHeard)
{
    EXPECT_TRUE(watcher.Report(12, "Deep Tracks", "Queen", "Bohemian Rhapsod"));
    EXPECT_TRUE(watcher.Report(7, "Hits 1", "MADONNA", "Frozen "));
    EXPECT_TRUE(watcher.Report(3, "Mix", "Electric Light O", "Evil Woman"));
    const auto first = watcher.takeNews();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->BannerText(), "012 Deep Tracks: Queen - Bohemian Rhapsod");
    const auto second = watcher.takeNews();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->BannerText(), "007 Hits 1: MADONNA - Frozen");
    EXPECT_EQ(takeAll(), std::vector<qint32>{3});

    // Between songs the title may be empty: no dangling dash, and the station without its padding.
    const Announcement untitled{7, " Hits 1 ", "Madonna", "", false};
    EXPECT_EQ(untitled.Body(), "Madonna");
    EXPECT_EQ(untitled.BannerText(), "007 Hits 1: Madonna");
}

TEST_F(Watcher, OnceASongAgainAfterItsArtistOrTitleChanged)
{
    struct Row {
        const char* name;
        QString artist, title;
        bool news;
    };
    // Channel 40's reports in turn.
    const Row reports[] = {
        {"first heard", "Electric Light O", "Mr. Blue Sky", true},
        {"the line-up again", "Electric Light O", "Mr. Blue Sky", false},
        {"the tuned channel's longer texts", "Electric Light Orchestra", "Mr.  Blue Sky", false},
        {"in other letter case", "electric light o", "MR. BLUE SKY", false},
        {"nothing between songs", "", "", false},
        {"the same song after nothing", "Electric Light O", "Mr. Blue Sky", false},
        {"the artist's next song", "Electric Light Orchestra", "Telephone Line", true},
        {"another artist's song", "Eagles", "Hotel California", false},
        {"the first song once more", "Electric Light O", "Mr. Blue Sky", true},
        {"the same title by another alert's artist", "Madonna", "Mr. Blue Sky", true},
    };
    for (const Row& row : reports)
        EXPECT_EQ(watcher.Report(40, "Mix", row.artist, row.title), row.news) << row.name;
    // Only the news of the song that still plays is left.
    const auto news = watcher.takeNews();
    ASSERT_TRUE(news);
    EXPECT_EQ(news->Body(), "Madonna - Mr. Blue Sky");
    EXPECT_FALSE(watcher.hasNews());
}

TEST_F(Watcher, NewsThatIsNoLongerTrueGoes)
{
    watcher.Report(30, "A", "Madonna", "Vogue");
    watcher.Report(31, "B", "Madonna", "Frozen");
    watcher.Report(32, "C", "Madonna", "Music");
    watcher.Report(30, "A", "Eagles", "Hotel California"); // the song ended before it was shown
    watcher.setTunedChannel(32);                           // the driver tuned it meanwhile
    EXPECT_EQ(takeAll(), std::vector<qint32>{31});
}

TEST_F(Watcher, ASongAlreadyPlayingIsNoNews)
{
    // Heard while its channel was tuned, then the driver tuned away.
    EXPECT_FALSE(watcher.Report(5, "Tuned", "Madonna", "Vogue"));
    watcher.setTunedChannel(6);
    EXPECT_FALSE(watcher.Report(5, "Tuned", "Madonna", "Vogue"));
    EXPECT_TRUE(watcher.Report(5, "Tuned", "Madonna", "Frozen"));
    // Playing when its alert was set.
    EXPECT_FALSE(watcher.Report(20, "Pop", "Eagles", "Hotel California"));
    index.rebuild({QStringLiteral("Eagles")}, {});
    EXPECT_FALSE(watcher.Report(20, "Pop", "Eagles", "Hotel California"));
    EXPECT_TRUE(watcher.Report(20, "Pop", "Eagles", "Take It Easy"));
}

} // namespace
