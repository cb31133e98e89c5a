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

TEST_F(Watcher, AnnouncesAnAlertStartingOnAnotherChannel)
{
    EXPECT_FALSE(watcher.Report(5, "Tuned", "Madonna", "Vogue"));
    EXPECT_FALSE(watcher.Report(8, "Classic Vinyl", "Eagles", "Hotel California"));
    EXPECT_TRUE(watcher.Report(7, "Hits 1", "MADONNA", "Frozen "));
    EXPECT_TRUE(watcher.Report(12, "Deep Tracks", "Queen", "Bohemian Rhapsod"));
    const auto first = watcher.takeNews();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->BannerText(), "MADONNA - Frozen on 007 Hits 1");
    EXPECT_FALSE(first->songAlert);
    const auto second = watcher.takeNews();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->BannerText(), "Queen - Bohemian Rhapsod on 012 Deep Tracks");
    EXPECT_TRUE(second->songAlert);
    EXPECT_FALSE(watcher.hasNews());
}

TEST_F(Watcher, OnceASongAgainAfterTheTitleChanged)
{
    EXPECT_TRUE(watcher.Report(40, "Mix", "Electric Light O", "Mr. Blue Sky"));
    // The same song again, as the line-up and as the tuned channel's longer report give it.
    EXPECT_FALSE(watcher.Report(40, "Mix", "Electric Light O", "Mr. Blue Sky"));
    EXPECT_FALSE(watcher.Report(40, "Mix", "Electric Light Orchestra", "Mr.  Blue Sky"));
    EXPECT_FALSE(watcher.Report(40, "Mix", "electric light o", "MR. BLUE SKY"));
    // Between songs the receiver may send nothing; the same song after that is not new.
    EXPECT_FALSE(watcher.Report(40, "Mix", "", ""));
    EXPECT_FALSE(watcher.Report(40, "Mix", "Electric Light O", "Mr. Blue Sky"));
    EXPECT_EQ(takeAll(), std::vector<qint32>{40});
    // The next song of the same artist is news again, and so is the first one once more.
    EXPECT_TRUE(watcher.Report(40, "Mix", "Electric Light Orchestra", "Telephone Line"));
    EXPECT_FALSE(watcher.Report(40, "Mix", "Eagles", "Hotel California"));
    EXPECT_TRUE(watcher.Report(40, "Mix", "Electric Light O", "Mr. Blue Sky"));
    EXPECT_EQ(takeAll(), (std::vector<qint32>{40}));
}

TEST_F(Watcher, SeveralAtOnceWaitInOrder)
{
    watcher.Report(30, "A", "Madonna", "Vogue");
    watcher.Report(3, "B", "Queen", "Bohemian Rhapsody");
    watcher.Report(99, "C", "Electric Light Orchestra", "Evil Woman");
    EXPECT_EQ(takeAll(), (std::vector<qint32>{30, 3, 99}));
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

TEST_F(Watcher, ASongHeardOnTheTunedChannelIsNotAnnouncedLater)
{
    EXPECT_FALSE(watcher.Report(5, "Tuned", "Madonna", "Vogue"));
    watcher.setTunedChannel(6);
    EXPECT_FALSE(watcher.Report(5, "Tuned", "Madonna", "Vogue"));
    EXPECT_TRUE(watcher.Report(5, "Tuned", "Madonna", "Frozen"));
}

TEST_F(Watcher, AnAlertSetWhileItsSongPlaysWaitsForTheNextSong)
{
    AlertIndex later;
    AlertWatcher watching(later);
    EXPECT_FALSE(watching.Report(20, "Pop", "Madonna", "Vogue"));
    later.rebuild({QStringLiteral("Madonna")}, {});
    EXPECT_FALSE(watching.Report(20, "Pop", "Madonna", "Vogue"));
    EXPECT_TRUE(watching.Report(20, "Pop", "Madonna", "Frozen"));
}

TEST(Announcement, DesktopTextsAndChannelDigits)
{
    const Announcement news{7, " Hits 1 ", "Madonna", "", false};
    EXPECT_EQ(news.Summary(), "Madonna");
    EXPECT_EQ(news.Body(), "on 007 Hits 1");
    EXPECT_EQ(news.BannerText(), "Madonna on 007 Hits 1");
}

} // namespace
