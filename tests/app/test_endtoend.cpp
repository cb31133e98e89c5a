// The real window with the real simulator service on a private session bus: the window starts
// the service itself, the table fills from the listing, services.dat gets one line a channel,
// the labels follow the tuned channel, and a double tap on a row tunes that channel; a service
// that dies is noticed; and the real program, ended by a signal, mutes the radio as its exit
// button does.
#include "fakeradioservice.h"
#include "testskin.h"
#include "testsupport.h"
#include "windowfixture.h"

#include <QPointingDevice>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>

using testsupport::waitUntil;

namespace {

class EndToEnd : public WindowFixture {
protected:
    void SetUp() override
    {
        // A fast listing.
        useRadioService({"--seed", "7", "--interval", "10", "--channels", "150"});
        writeProgramFolder("LastChannel=20\r\n");
        startWindow();
    }

    skin::RadioXMControls& c() { return window->controls(); }

    // The row (0-based, in the window) whose labels are drawn highlighted, or -1.
    int highlightedRow()
    {
        for (int row = 0; row <= window->skinState().VisibleItems; ++row)
            if (c().lblListItem1(row).BackStyle() == skin::BackStyle::Opaque)
                return row;
        return -1;
    }

    // The centre of row's station label, in the window's pixels.
    QPoint rowCentre(int row)
    {
        QWidget* label = c().lblListItem1(row).widget();
        return label->mapTo(window.get(), label->rect().center());
    }
};

} // namespace

TEST_F(EndToEnd, TheWindowFollowsTheSimulatedReceiver)
{
    QSignalSpy changes(window->radioClient(), &AXXMRadioClient::ChannelChange);
    ASSERT_TRUE(waitUntil([&] { return window->list().state().ChannelListReady; }, 15000)) << window->table().count();
    EXPECT_EQ(window->table().count(), 150);
    QList<QByteArray> lines = testsupport::readFile(folder.filePath("services.dat")).split('\n');
    ASSERT_EQ(lines.size(), 151) << "one line a channel, each ended by CR LF";
    EXPECT_TRUE(lines.takeLast().isEmpty());
    QSet<QByteArray> keys;
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(line.startsWith('"') && line.endsWith("\"\r")) << line.toStdString();
        keys.insert(line.mid(1, line.indexOf(',') - 1));
    }
    EXPECT_EQ(keys.size(), 150) << "each channel once";
    EXPECT_TRUE(keys.contains("020"));

    ASSERT_TRUE(waitUntil([&] { return !changes.isEmpty(); }));
    EXPECT_EQ(changes.front().front().toInt(), 20) << "the service was asked for the last channel";
    const int row = window->table().FindItem("020");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(waitUntil([&] { return !c().lblStation->Caption().isEmpty(); }));
    EXPECT_EQ(c().lblCC->Caption(), "20");
    EXPECT_EQ(c().lblStation->Caption(), window->table().text(row, radio::Station));
    EXPECT_TRUE(waitUntil([&] { return c().lblCurrentPos->Caption().contains(':'); }));
    EXPECT_FALSE(c().tmrLoad.Enabled());

    // Once the listing is known the tuned channel is found and highlighted in the list.
    ASSERT_TRUE(waitUntil([&] { return window->list().state().StartupHighlightDone; }));
    EXPECT_EQ(window->list().state().SelectedListItem, row);
    EXPECT_EQ(c().lblListItem0(highlightedRow()).Caption(), "020");
    EXPECT_TRUE(shown.empty());
}

TEST_F(EndToEnd, ADoubleTapOnARowTunesThatChannel)
{
    ASSERT_TRUE(waitUntil([&] { return window->list().state().StartupHighlightDone; }, 15000));
    QSignalSpy changes(window->radioClient(), &AXXMRadioClient::ChannelChange);
    const auto tuneRow = [&](int row, const std::function<void(QPoint)>& doubleTap) {
        const QString key = c().lblListItem0(row).Caption();
        changes.clear();
        doubleTap(rowCentre(row));
        EXPECT_TRUE(waitUntil([&] { return !changes.isEmpty() && changes.last().front().toInt() == key.toInt(); }))
            << "the service tuned " << key.toStdString();
        EXPECT_EQ(c().lblListItem0(highlightedRow()).Caption(), key);
        EXPECT_TRUE(settings().contains("LastChannel=" + QByteArray::number(key.toInt())));
    };

    const int mouseRow = highlightedRow() == 3 ? 2 : 3;
    // The mouse goes to the row's label as the pointer lands on it; touch finds its way in.
    tuneRow(mouseRow, [&](QPoint) {
        QWidget* label = c().lblListItem1(mouseRow).widget();
        QTest::mouseDClick(label, Qt::LeftButton, {}, label->rect().center());
    });

    QPointingDevice* finger = QTest::createTouchDevice();
    const int touchRow = highlightedRow() == 1 ? 0 : 1;
    tuneRow(touchRow, [&](QPoint p) {
        for (int tap = 0; tap < 2; ++tap) {
            QTest::touchEvent(window.get(), finger).press(0, p, window.get());
            QTest::touchEvent(window.get(), finger).release(0, p, window.get());
        }
    });
    // A single tap, well after the last, only selects.
    testsupport::pump(600);
    const QString tuned = c().lblCC->Caption();
    QTest::touchEvent(window.get(), finger).press(0, rowCentre(4), window.get());
    QTest::touchEvent(window.get(), finger).release(0, rowCentre(4), window.get());
    EXPECT_EQ(highlightedRow(), 4);
    EXPECT_EQ(c().lblCC->Caption(), tuned);
    EXPECT_TRUE(shown.empty());
}

TEST_F(EndToEnd, AHeldPresetStoresTheChannelAndATapTunesItAgain)
{
    ASSERT_TRUE(waitUntil([&] { return window->list().state().StartupHighlightDone; }, 15000));
    QSignalSpy changes(window->radioClient(), &AXXMRadioClient::ChannelChange);
    QPointingDevice* finger = QTest::createTouchDevice();
    const auto hold = [&](int preset, bool touch) {
        QWidget* button = c().cmdPreset(preset).widget();
        const QPoint p = button->mapTo(window.get(), button->rect().center());
        bool released = false;
        // The save waits five seconds with events running, so the release comes from inside.
        QTimer::singleShot(3500, [&] {
            if (touch)
                QTest::touchEvent(window.get(), finger).release(0, p, window.get());
            else
                QTest::mouseRelease(button, Qt::LeftButton);
            released = true;
        });
        if (touch)
            QTest::touchEvent(window.get(), finger).press(0, p, window.get());
        else
            QTest::mousePress(button, Qt::LeftButton);
        ASSERT_TRUE(waitUntil(
            [&] { return released && window->presets().PresetPressed() == presets::HeldPreset::None; }, 12000));
    };

    hold(0, false);
    EXPECT_TRUE(settings().contains("Preset1=20\r\n")) << settings().toStdString();
    window->chooser().ChooseListItem(window->table().FindItem("030"));
    hold(2, true);
    EXPECT_TRUE(settings().contains("Preset3=30\r\n")) << settings().toStdString();

    changes.clear();
    QTest::mouseClick(c().cmdPreset(0).widget(), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return !changes.isEmpty() && changes.last().front().toInt() == 20; }));
    EXPECT_EQ(c().lblListItem0(highlightedRow()).Caption(), "020");
}

TEST_F(EndToEnd, HoldingTheScrollDownButtonStepsEveryTick)
{
    QSignalSpy changes(window->radioClient(), &AXXMRadioClient::ChannelChange);
    ASSERT_TRUE(waitUntil([&] { return window->list().state().StartupHighlightDone && !changes.isEmpty(); }, 15000));
    QSignalSpy ticks(&c().tmrButtonPressed, &skin::Timer::tick);
    // A channel change the radio reports highlights the tuned channel again; hold once more if
    // one came in the middle (the service repeats the last channel when it appears).
    int moved = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        changes.clear();
        ticks.clear();
        const int before = window->list().state().SelectedListItem;
        QWidget* down = c().pctScrollDown->widget();
        QTest::mousePress(down, Qt::LeftButton);
        testsupport::pump(2000);
        QTest::mouseRelease(down, Qt::LeftButton);
        moved = window->list().state().SelectedListItem - before;
        if (changes.isEmpty())
            break;
    }
    // One step at the press, then one per 200 ms tick: eleven in two seconds on a quiet machine.
    EXPECT_GE(ticks.count(), 5);
    EXPECT_EQ(moved, ticks.count() + 1);
    EXPECT_EQ(c().lblListItem0(highlightedRow()).Caption(),
              window->table().text(window->list().state().SelectedListItem, 0));
}

TEST_F(EndToEnd, AServiceThatDiesDropsTheBarsAndTheQuestionComesAsAtStartUp)
{
    answer = [](const auto&) { return Answer::Yes; };
    const auto barsShown = [this] {
        return c().lblSignalFront(0).Visible() || c().lblSignalFront(1).Visible() || c().lblSignalFront(2).Visible();
    };
    ASSERT_TRUE(waitUntil(barsShown, 10000));
    const qint64 first = serviceOwner();
    ASSERT_GT(first, 0);
    ASSERT_EQ(startedServices(), QList<qint64>{first}) << "the one the window started";
    QList<qint64> started;
    serviceStarted = [&started](qint64 pid) { started << pid; };
    c().tmrLoad.setInterval(500);

    ASSERT_EQ(::kill(pid_t(first), SIGKILL), 0);
    EXPECT_TRUE(waitUntil([&] { return c().tmrLoad.Enabled(); }));
    EXPECT_FALSE(barsShown());
    ASSERT_TRUE(waitUntil([&] { return !shown.empty(); }));
    EXPECT_EQ(shown.front().title, "V.A.N.T.O XM Error");

    // Yes started the service again; its first report stops the watchdog.
    EXPECT_TRUE(waitUntil([&] { return serviceOwner() > 0 && serviceOwner() != first; }));
    EXPECT_TRUE(waitUntil([&] { return started == QList<qint64>{serviceOwner()}; })) << "heard of once";
    EXPECT_TRUE(waitUntil([&] { return !c().tmrLoad.Enabled() && barsShown(); }));
}

namespace {

// The simulator with its sound: the service keeps time shift.
class EndToEndWithSound : public EndToEnd {
protected:
    void SetUp() override
    {
        useRadioService({"--seed", "7", "--source", "auto"});
        writeProgramFolder("LastChannel=20\r\n");
        startWindow();
    }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
};

} // namespace

TEST_F(EndToEndWithSound, TheMuteButtonPausesLiveRadioAndATapOnTheTotalTimeReturnsToLive)
{
    ASSERT_TRUE(waitUntil([&] { return window->timeShift().on(); }, 8000)) << "the service keeps sound";
    click(c().cmdVolumeMute->widget());
    ASSERT_TRUE(waitUntil([&] { return window->timeShift().paused(); }, 2000));
    EXPECT_FALSE(window->radioClient()->Mute()) << "a pause, not a mute";
    testsupport::pump(2200);
    click(c().cmdVolumeMute->widget());
    ASSERT_TRUE(waitUntil([&] { return !window->timeShift().paused() && window->timeShift().behind(); }, 2000));
    EXPECT_TRUE(waitUntil([&] { return c().lblTotalTrackTime->Caption().startsWith("-0:0"); }, 2000))
        << c().lblTotalTrackTime->Caption().toStdString();

    click(c().lblTotalTrackTime->widget());
    EXPECT_TRUE(waitUntil([&] { return !window->timeShift().behind(); }, 2000));
    EXPECT_TRUE(waitUntil([&] { return !c().lblTotalTrackTime->Caption().startsWith('-'); }, 2000));
}

TEST(ProgramEnd, SignalsThatEndTheProgramMuteTheRadioFirst)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(::strsignal(signalNumber));
        QTemporaryDir folder;
        testskin::writeSkin(folder.filePath("Skins"));
        testsupport::writeFile(folder.filePath("vantoxm.ini"), "[XMRadio]\r\nLastChannel=9\r\n");
        // The program finds everything in its own folder: a copy of it runs from the test's.
        ASSERT_TRUE(QFile::copy(VANTO_PROGRAM_DIR "/vanto-xm", folder.filePath("vanto-xm")));
        FakeRadioService service("service");
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(folder.filePath("vanto-xm"), {});
        ASSERT_TRUE(waitUntil([&] { return service.calls.contains("Channel 9"); }, 15000))
            << service.calls.join(", ").toStdString();

        ASSERT_EQ(::kill(pid_t(program.processId()), signalNumber), 0);
        EXPECT_TRUE(waitUntil([&] { return service.calls.contains("SetMute true"); }));
        EXPECT_TRUE(waitUntil([&] { return program.state() == QProcess::NotRunning; }));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }
}
