// Alerts in the real window with the real simulator service on a private session bus: holds on
// the now-playing labels, and the news of another channel as a banner and a desktop notification.
#include "alerts/alertwatcher.h"
#include "app/frmradioxm.h"
#include "base/modini.h"
#include "fakeradioservice.h"
#include "notificationserver.h"
#include "testsupport.h"
#include "windowfixture.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::waitUntil;

namespace {

class AlertsWindow : public WindowFixture {
protected:
    QString ini;

    void SetUp() override
    {
        useRadioService({"--seed", "7", "--interval", "10", "--channels", "150"});
        writeProgramFolder("LastChannel=20\r\n");
        ini = folder.filePath("vantoxm.ini");
    }

    void start()
    {
        startWindow();
        window->alerts().setHoldTime(300);
        window->alerts().line().setTimes({.messageMs = 1500, .bannerMs = 15000});
    }

    skin::RadioXMControls& c() { return window->controls(); }
    QString line() { return c().lblArtistTrackTitle->Caption(); }
    QString setting(const QString& key)
    {
        return modIni::ReadSetting(ini, key == "LastChannel" ? "XMRadio" : "Alerts", key, modIni::AsString).toString();
    }

    // A finger on the label for ms milliseconds, where the driver sees it: the widget that lies
    // there in the window must be the label's own.
    void hold(skin::Label& label, int ms)
    {
        const QPoint centre = label.widget()->mapTo(window.get(), label.widget()->rect().center());
        QWidget* under = window->childAt(centre);
        EXPECT_EQ(under, label.widget()) << label.name().toStdString() << " is covered by "
                                         << (under ? under->objectName().toStdString() : "nothing");
        if (!under)
            return;
        const QPoint at = under->mapFrom(window.get(), centre);
        QTest::mousePress(under, Qt::LeftButton, {}, at);
        testsupport::pump(ms);
        QTest::mouseRelease(under, Qt::LeftButton, {}, at);
    }
    void tap(skin::Label& label) { hold(label, 0); }

    // True while the line shows the banner of a channel's news, from what the list says it plays
    // (cut with an ellipsis where it is longer than the frame).
    bool showsBanner(qint32 channel)
    {
        const radio::ChannelTable& t = window->table();
        const int row = t.FindItem(radio::ChannelTable::RowKey(channel));
        const QString banner = alerts::Announcement{channel, t.text(row, radio::Station), t.text(row, radio::Artist),
                                                    t.text(row, radio::Title)}
                                   .BannerText();
        return lineShows(banner);
    }
    // The line shows this text, or as much of it as its frame holds, with an ellipsis.
    bool lineShows(const QString& text)
    {
        return line() == text || (line().endsWith(u'…') && text.startsWith(line().chopped(1)));
    }

    // The channel of the row the list shows selected.
    qint32 selectedChannel()
    {
        return window->table().text(window->list().state().SelectedListItem, radio::Num).toInt();
    }
};

TEST_F(AlertsWindow, HoldsSetAndRemoveAlertsAndATapIsOnlyATap)
{
    start();
    ASSERT_TRUE(
        waitUntil([&] { return !c().lblArtist->Caption().isEmpty() && !c().lblTrackTitle->Caption().isEmpty(); }));
    const QString artist = c().lblArtist->Caption(), title = c().lblTrackTitle->Caption();

    // Held three times as long as a hold: one toggle, not set and removed again.
    hold(*c().lblArtist, 900);
    EXPECT_EQ(setting("Artist1"), artist);
    EXPECT_TRUE(lineShows("Alert set: " + artist)) << line().toStdString();
    ASSERT_TRUE(waitUntil([&] { return line() == window->nowPlaying().ArtistTrackTitle(); }));

    const QByteArray before = testsupport::readFile(ini);
    tap(*c().lblTrackTitle);
    tap(*c().lblArtistTrackTitle);
    testsupport::pump(500);
    EXPECT_EQ(testsupport::readFile(ini), before) << "a tap set an alert";

    hold(*c().lblArtistTrackTitle, 500);
    EXPECT_TRUE(lineShows("Alert removed: " + artist)) << line().toStdString();
    EXPECT_EQ(setting("Artist1"), "");
    hold(*c().lblTrackTitle, 500);
    EXPECT_EQ(setting("Song1"), artist + " - " + title);
    EXPECT_TRUE(lineShows("Alert set: " + artist + " - " + title)) << line().toStdString();
}

TEST_F(AlertsWindow, AHoldAtTheRightEndOfTheFramedLineBeyondItsTextSetsTheAlert)
{
    start();
    ASSERT_TRUE(waitUntil([&] { return !c().lblArtist->Caption().isEmpty(); }));
    const QString artist = c().lblArtist->Caption();
    c().lblArtistTrackTitle->setCaption("A - B"); // a short line: the label is as wide as its text
    QWidget* frame = c().pctArtistTrackTitle->widget();
    const QPoint rightEnd = frame->mapTo(window.get(), QPoint(frame->width() - 2, frame->height() / 2));
    QWidget* under = window->childAt(rightEnd);
    ASSERT_TRUE(under == frame || frame->isAncestorOf(under));
    EXPECT_LT(c().lblArtistTrackTitle->widget()->geometry().right(), frame->width() - 2) << "the text is short";
    const QPoint at = under->mapFrom(window.get(), rightEnd);
    QTest::mousePress(under, Qt::LeftButton, {}, at);
    testsupport::pump(500);
    QTest::mouseRelease(under, Qt::LeftButton, {}, at);
    EXPECT_EQ(setting("Artist1"), artist);
}

TEST_F(AlertsWindow, ABannerTapAndTheDesktopsTuneTuneTheirChannels)
{
    start();
    ASSERT_TRUE(waitUntil([&] { return window->list().state().ChannelListReady; }, 10000));
    // Channels other than the tuned one, each the only one that plays its artist now. Four: a song
    // that ends before the next start takes its alert's news with it.
    // Songs change as the simulator plays: a moment with fewer such channels is waited out.
    QStringList artists;
    const radio::ChannelTable& table = window->table();
    const auto findArtists = [&] {
        artists.clear();
        for (int row = 0; row < table.count() && artists.size() < 4; ++row) {
            const QString artist = table.text(row, radio::Artist);
            int playing = 0;
            for (int other = 0; other < table.count(); ++other)
                playing += table.text(other, radio::Artist).compare(artist, Qt::CaseInsensitive) == 0;
            if (table.text(row, radio::Num) != "20" && !artist.isEmpty() && playing == 1)
                artists << artist;
        }
        return artists.size() == 4;
    };
    ASSERT_TRUE(waitUntil(findArtists, 20000)) << artists.join(", ").toStdString();
    window.reset();

    // The alerts were set in an earlier run; the window that starts now hears the channels.
    QByteArray alerts = "[Alerts]\r\n";
    for (int i = 0; i < artists.size(); ++i)
        alerts += "Artist" + QByteArray::number(i + 1) + "=" + artists[i].toUtf8() + "\r\n";
    writeSettings("LastChannel=20\r\n", WindowSize, alerts);
    NotificationServer desktop(QStringLiteral("desktop"));
    start();
    // The desktop hears each news as its banner shows, the next after a tap on the first.
    ASSERT_TRUE(waitUntil([&] { return desktop.received.size() == 1; }, 10000));
    const auto channelOf = [](const NotificationServer::Received& shown) { return shown.summary.left(3).toInt(); };
    const qint32 tapped = channelOf(desktop.received[0]);
    const QString png = folder.filePath("vanto-xm.png");
    EXPECT_EQ(desktop.received[0].icon, QFile::exists(png) ? png : "vanto-xm") << "a picture there is, or the theme's";
    ASSERT_TRUE(waitUntil([&] { return showsBanner(tapped); }));
    window->radioClient()->setMute(true);
    ASSERT_TRUE(waitUntil([&] { return window->radioClient()->Mute(); }));

    tap(*c().lblArtistTrackTitle);
    EXPECT_EQ(window->tuned().number(), tapped);
    EXPECT_EQ(setting("LastChannel"), QString::number(tapped));
    EXPECT_EQ(selectedChannel(), tapped);
    EXPECT_TRUE(waitUntil([&] { return !window->radioClient()->Mute(); }));
    EXPECT_TRUE(waitUntil([&] { return desktop.closed == std::vector<uint>{desktop.received[0].id}; }))
        << "a tuned channel's notification is closed";

    // The next news follows on the line and the desktop; "Tune" on its notification tunes it.
    ASSERT_TRUE(waitUntil([&] { return desktop.received.size() == 2; }));
    const qint32 other = channelOf(desktop.received[1]);
    EXPECT_NE(other, tapped);
    EXPECT_TRUE(waitUntil([&] { return showsBanner(other); }));
    desktop.send(QStringLiteral("ActionInvoked"), {desktop.received[1].id, QStringLiteral("tune")});
    // The same tuning as the banner's tap, checked whole above.
    EXPECT_TRUE(waitUntil([&] { return window->tuned().number() == other; }));
    EXPECT_TRUE(waitUntil([&] { return desktop.closed.size() == 2 && desktop.closed[1] == desktop.received[1].id; }));

    // A car PC without a desktop: banners only. The window before may have sent the next news
    // before it ended; what reached the desktop by then is counted first.
    window.reset();
    testsupport::pump(200);
    const std::size_t told = desktop.received.size();
    writeSettings("LastChannel=20\r\n", WindowSize, alerts + "Desktop=False\r\n");
    start();
    ASSERT_TRUE(waitUntil([&] { return line().contains(": "); }, 10000));
    testsupport::pump(300);
    EXPECT_EQ(desktop.received.size(), told);
}

// Behind live the labels show the song heard: a hold sets the alert on what the driver sees.
class AlertsBehindLive : public AlertsWindow {
protected:
    void SetUp() override
    {
        writeProgramFolder("LastChannel=20\r\n");
        ini = folder.filePath("vantoxm.ini");
    }
};

TEST_F(AlertsBehindLive, AHoldSetsTheAlertOnTheSongHeard)
{
    FakeRadioService service("service");
    start();
    service.emitSignal("ChannelChange", {20});
    service.emitSignal("CurrentChannelData", {20, "Rock 20", "Live Artist", "Live Title", "Rock"});
    service.emitSignal("TimeShiftChanged", {false, 95.0, 600.0, 40.0});
    service.emitSignal("SongHeard", {20, "Rock 20", "Heard Artist", "Heard Title", "Rock", 200});
    ASSERT_TRUE(waitUntil([&] { return c().lblArtist->Caption() == "Heard Artist"; }));
    hold(*c().lblArtist, 500);
    EXPECT_EQ(setting("Artist1"), "Heard Artist");
    hold(*c().lblTrackTitle, 500);
    EXPECT_EQ(setting("Song1"), "Heard Artist - Heard Title");
}

} // namespace
