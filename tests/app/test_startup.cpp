// Start-up, the no-data watchdog and shutdown of the real window, against a fake radio service
// on a private session bus and a program folder on disk.
#include "fakeradioservice.h"
#include "testskin.h"
#include "testsupport.h"
#include "windowfixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::waitUntil;

namespace {

class Startup : public WindowFixture {
protected:
    QTime now{12, 0, 0};

    Startup()
    {
        seams.clock = [this] { return now; };
    }

    std::vector<ScriptedMessageBox::Shown> questions() const
    {
        std::vector<ScriptedMessageBox::Shown> q;
        for (const auto& s : shown)
            if (s.title == "V.A.N.T.O XM Error")
                q.push_back(s);
        return q;
    }
};

// [Appearance] for a day skin and a night skin that switch at 07:00 and 19:00.
QByteArray dayAndNight(const QByteArray& day = "Day", const QByteArray& night = "Night")
{
    return WindowFixture::WindowSize + "DaySkin=" + day + "\r\nNightSkin=" + night +
           "\r\nDaySkinSwitchTime=07:00:00\r\nNightSkinSwitchTime=19:00:00\r\nAutoSwitchDayNightSkin=True\r\n";
}

} // namespace

TEST_F(Startup, PlacesTheWindowShowsPresetsUnmutesAndTunesTheLastChannel)
{
    writeProgramFolder("LastChannel=42\r\nPreset1=7\r\nPreset2=\r\nPreset3=123\r\n",
                       "WindowLeft=10\r\nWindowTop=20\r\nWindowWidth=640\r\nWindowHeight=400\r\nFullScreen=False\r\n");
    FakeRadioService service("service");
    auto window = makeWindow();
    window->Form_Load();

    EXPECT_EQ(window->size(), QSize(640, 400));
    EXPECT_EQ(window->pos(), QPoint(10, 20));
    EXPECT_EQ(window->windowTitle(), "V.A.N.T.O - XM Radio");
    skin::RadioXMControls& c = window->controls();
    EXPECT_EQ(c.lblPreset(0).Caption(), "007");
    EXPECT_EQ(c.lblPreset(1).Caption(), "");
    EXPECT_EQ(c.lblPreset(2).Caption(), "123");
    EXPECT_EQ(c.lblCC->Caption(), "42");
    EXPECT_EQ(c.lblStation->Caption(), "");
    EXPECT_TRUE(shown.empty()) << shown.front().text.toStdString();
    ASSERT_TRUE(waitUntil([&] { return service.calls.size() >= 2; }));
    testsupport::pump(100);
    EXPECT_EQ(service.calls, QStringList({"SetMute false", "Channel 42"}));
    EXPECT_TRUE(c.tmrLoad.Enabled());
    EXPECT_TRUE(c.tmrUpdates.Enabled());
}

TEST_F(Startup, TheSkinAndThePresetsAreOnScreenBeforeTheRadioStarts)
{
    writeProgramFolder("LastChannel=42\r\nPreset2=42\r\n");
    bool checked = false;
    frmRadioXM* starting = nullptr;
    // As the radio client is created.
    seams.createRadio = [&checked, &starting, create = seams.createRadio] {
        frmRadioXM& window = *starting;
        checked = true;
        EXPECT_TRUE(window.windowHandle() && window.windowHandle()->isExposed());
        const QImage screen = window.grab().toImage();
        const QPoint onPreset = window.controls().cmdPreset(1).pixelRect().topLeft() + QPoint(2, 2);
        EXPECT_NEAR(qBlue(screen.pixel(onPreset)), testskin::stateBlue(skin::StateOn), 6) << "preset 2 is on";
        EXPECT_EQ(window.controls().lblCC->Caption(), "42");
        return create();
    };
    auto window = makeWindow();
    starting = window.get();
    window->Form_Load();
    EXPECT_TRUE(checked);
}

TEST_F(Startup, TunesChannelOneWhenTheLastChannelIsMissingOrNotA16BitNumber)
{
    testskin::writeSkin(folder.filePath("Skins"));
    for (const QByteArray& setting : {QByteArray(""), QByteArray("LastChannel=\r\n"), QByteArray("LastChannel=abc\r\n"),
                                      QByteArray("LastChannel=70000\r\n")}) {
        SCOPED_TRACE(setting.toStdString());
        writeSettings(setting);
        FakeRadioService service("service");
        auto window = makeWindow();
        window->Form_Load();
        ASSERT_TRUE(waitUntil([&] { return service.calls.size() >= 2; }));
        EXPECT_EQ(service.calls.last(), "Channel 1");
        EXPECT_EQ(window->controls().lblCC->Caption(), "1");
    }
}

TEST_F(Startup, ChoosesTheDayOrNightSkinByTheTimeOfDay)
{
    app::StartupSettings s;
    s.daySkin = "Day";
    s.nightSkin = "Night";
    s.daySkinSwitchTime = "07:00:00";
    s.nightSkinSwitchTime = "19:00:00";
    s.autoSwitchDayNightSkin = true;
    EXPECT_EQ(ChooseSkin(s, "12:00:00"), "Day");
    EXPECT_EQ(ChooseSkin(s, "07:00:01"), "Day");
    EXPECT_EQ(ChooseSkin(s, "07:00:00"), "Night");
    EXPECT_EQ(ChooseSkin(s, "19:00:00"), "Night");
    EXPECT_EQ(ChooseSkin(s, "23:30:00"), "Night");
    EXPECT_EQ(ChooseSkin(s, "03:00:00"), "Night");
    s.daySkinSwitchTime = "7:00:00"; // without the leading zero it sorts after every time of day
    EXPECT_EQ(ChooseSkin(s, "12:00:00"), "Night");
    s.daySkinSwitchTime = "07:00:00";
    s.autoSwitchDayNightSkin = false;
    EXPECT_EQ(ChooseSkin(s, "12:00:00"), "");
    s.autoSwitchDayNightSkin = true;
    s.nightSkin = "Day";
    EXPECT_EQ(ChooseSkin(s, "12:00:00"), "");
}

TEST_F(Startup, ReadsTheSkinOfTheTimeOfDayFromItsFolder)
{
    testskin::writeSkin(folder.filePath("Skins/Night"));
    writeSettings("", dayAndNight());
    now = QTime(23, 30, 0);
    auto window = makeWindow();
    window->Form_Load();
    EXPECT_EQ(window->skinState().CurrentSkin, "Night");
    EXPECT_TRUE(shown.empty());
    EXPECT_GT(window->skinState().VisibleItems, 0);
}

TEST_F(Startup, ABrokenSkinIsReportedOnceByNameAndTheRadioStillStarts)
{
    writeSettings("LastChannel=8\r\n");
    FakeRadioService service("service");
    auto window = makeWindow();
    window->Form_Load();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(folder.filePath("Skins/radio_xm.ini"))) << shown[0].text.toStdString();
    EXPECT_FALSE(window->skinState().LoadingSkin);
    EXPECT_TRUE(window->updatesEnabled());
    ASSERT_TRUE(waitUntil([&] { return service.calls.contains("Channel 8"); }));
}

TEST_F(Startup, WatchdogAsksAfterItsIntervalAndNoClosesTheWindow)
{
    writeProgramFolder("");
    answer = [](const auto&) { return Answer::No; };
    auto window = makeWindow();
    EXPECT_EQ(window->controls().tmrLoad.Interval(), 10000);
    window->controls().tmrLoad.setInterval(100);
    window->Form_Load();
    window->show();
    ASSERT_TRUE(waitUntil([&] { return !questions().empty(); }));
    const auto q = questions().front();
    EXPECT_EQ(q.text, "No data received from XMRadioService - are you sure it's running?\r\n\r\n"
                      "Do you wish to try starting the service and wait another 10 seconds?");
    EXPECT_EQ(q.icon, app::MessageBox::Icon::Question);
    EXPECT_EQ(q.buttons, app::MessageBox::Buttons::YesNo);
    EXPECT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    testsupport::pump(300);
    EXPECT_EQ(questions().size(), 1u) << "a closed window asks no more";
}

TEST_F(Startup, YesStartsAnExistingServiceAgainAndAsksAgainLater)
{
    testskin::writeSkin(folder.filePath("Skins"));
    const QString marker = folder.filePath("started.txt");
    testsupport::writeScript(folder.filePath("fake-service.sh"), "echo started >> '" + marker.toUtf8() + "'");
    // A relative service path is taken from the program's folder.
    writeSettings("XMServicePath=fake-service.sh\r\n");
    answer = [](const auto&) { return Answer::Yes; };
    auto window = makeWindow();
    window->controls().tmrLoad.setInterval(150);
    window->Form_Load();
    ASSERT_TRUE(waitUntil([&] { return testsupport::readFile(marker).count("started") == 1; }));
    ASSERT_TRUE(waitUntil([&] { return questions().size() >= 2; }));
    EXPECT_TRUE(waitUntil([&] { return testsupport::readFile(marker).count("started") >= 3; }));
    EXPECT_TRUE(window->controls().tmrLoad.Enabled());
}

TEST_F(Startup, AfterALateYesTheWatchdogWaitsItsWholeIntervalAgain)
{
    writeProgramFolder("");
    QElapsedTimer clock;
    std::vector<qint64> askedAt, answeredAt;
    // The question stays up for almost two intervals before the answer.
    answer = [&](const auto&) {
        askedAt.push_back(clock.elapsed());
        testsupport::pump(550);
        answeredAt.push_back(clock.elapsed());
        return Answer::Yes;
    };
    auto window = makeWindow();
    window->controls().tmrLoad.setInterval(300);
    clock.start();
    window->Form_Load();
    ASSERT_TRUE(waitUntil([&] { return askedAt.size() >= 2; }, 5000));
    EXPECT_GE(askedAt[1] - answeredAt[0], 250)
        << "the question came back " << askedAt[1] - answeredAt[0] << " ms after the answer";
}

TEST_F(Startup, YesWithAnEmptyServicePathStartsNothingAndAsksAgain)
{
    writeProgramFolder("");
    answer = [](const auto&) { return Answer::Yes; };
    // Also: without a radio client start-up completes and the question comes.
    seams.createRadio = [] { return std::unique_ptr<AXXMRadioClient>(); };
    auto window = makeWindow();
    window->controls().tmrLoad.setInterval(100);
    window->Form_Load();
    EXPECT_EQ(window->controls().lblCC->Caption(), "1");
    EXPECT_TRUE(waitUntil([&] { return questions().size() >= 2; }));
}

TEST_F(Startup, AnyRadioSignalStopsTheWatchdog)
{
    writeProgramFolder("");
    const QStringList names = {"ChannelChange",      "CurrentTime",    "ChannelData",
                               "CurrentChannelData", "SignalStrength", "MuteChanged"};
    const QList<QVariantList> args = {{7},    {1, 2}, {5, "A", "B", "C", "D"}, {5, "A", "B", "C", "D"}, {1.0, 2.0, 3.0},
                                      {false}};
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].toStdString());
        FakeRadioService service("service");
        auto window = makeWindow();
        window->controls().tmrLoad.setInterval(400);
        window->Form_Load();
        ASSERT_TRUE(waitUntil([&] { return window->radioClient()->currentOwner() == service.uniqueName(); }));
        service.emitSignal(names[i], args[i]);
        EXPECT_TRUE(waitUntil([&] { return !window->controls().tmrLoad.Enabled(); }, 300));
        testsupport::pump(500);
        EXPECT_TRUE(questions().empty());
    }
}

TEST_F(Startup, ARadioThatSpeaksWhileTheQuestionIsUpClosesItAsYesWithoutASecondService)
{
    writeProgramFolder("");
    std::unique_ptr<FakeRadioService> service;
    frmRadioXM* asking = nullptr;
    // The service comes back by itself while the question waits; a driver would tap No a moment later.
    answer = [&](const auto&) {
        service = std::make_unique<FakeRadioService>("service");
        waitUntil([&] { return asking->radioClient()->currentOwner() == service->uniqueName(); });
        service->emitSignal("SignalStrength", {1.0, 2.0, 3.0});
        testsupport::pump(300);
        return Answer::No;
    };
    auto window = makeWindow();
    asking = window.get();
    window->controls().tmrLoad.setInterval(100);
    window->Form_Load();
    ASSERT_TRUE(waitUntil([&] { return service != nullptr; }));
    testsupport::pump(500);
    EXPECT_NE(window->radioClient(), nullptr) << "the window did not close";
    EXPECT_EQ(questions().size(), 1u);
    EXPECT_FALSE(window->controls().tmrLoad.Enabled());
}

TEST_F(Startup, ClosingTheWindowMutesTheRadio)
{
    writeProgramFolder("LastChannel=3\r\n");
    FakeRadioService service("service");
    auto window = makeWindow();
    window->Form_Load();
    window->show();
    ASSERT_TRUE(waitUntil([&] { return service.calls.contains("Channel 3"); }));
    window->close();
    EXPECT_EQ(window->radioClient(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return service.calls.contains("SetMute true"); }));
    EXPECT_EQ(service.calls.last(), "SetMute true");
}

TEST_F(Startup, TheExitButtonShowsItsPressAndClosesTheWindow)
{
    writeProgramFolder("");
    auto window = makeWindow();
    window->Form_Load();
    window->show();
    skin::PictureArea& exit = *window->controls().cmdExit;
    const QPoint centre = exit.widget()->rect().center();
    QTest::mousePress(exit.widget(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(qBlue(exit.surface().pixel(2, 2)), testskin::stateBlue(skin::StateDown));
    QTest::mouseRelease(exit.widget(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(qBlue(exit.surface().pixel(2, 2)), testskin::stateBlue(skin::StateUp));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Startup, AResizeReloadsTheSkinOnceAfterStartUpCompletedAndNotBefore)
{
    testskin::writeSkin(folder.filePath("Skins"));
    // With the pointer hidden by the skin, every load counts one more hide.
    writeSettings("", "WindowWidth=800\r\nWindowHeight=480\r\nShowMouseCursor=False\r\n");
    auto window = makeWindow();
    window->Form_Load();
    window->show();
    const auto loads = [&] { return -window->cursor().count(); };
    ASSERT_EQ(loads(), 1);

    window->resize(700, 420);
    testsupport::pump(120);
    EXPECT_EQ(loads(), 1) << "before the first tick of the periodic update a resize does not reload";

    ASSERT_TRUE(waitUntil([&] { return window->startupComplete(); }));
    window->resize(640, 400);
    window->resize(600, 360);
    testsupport::pump(20);
    EXPECT_EQ(loads(), 1) << "the reload waits about 50 ms";
    ASSERT_TRUE(waitUntil([&] { return loads() == 2; }, 1000));
    testsupport::pump(200);
    EXPECT_EQ(loads(), 2);
    EXPECT_FALSE(window->controls().tmrResize.Enabled());
    EXPECT_EQ(window->controls().imgBackground->pixelRect().size(), QSize(600, 360));
    skin::CursorDisplay* cursor = const_cast<skin::CursorDisplay*>(&window->cursor());
    while (cursor->count() < 0)
        cursor->ShowCursor(true);
}

TEST_F(Startup, TheDayAndNightSkinsSwitchOnceAtTheCrossing)
{
    testskin::writeSkin(folder.filePath("Skins/Day"));
    testskin::Options smaller;
    smaller.imageSize = QSize(400, 240);
    testskin::writeSkin(folder.filePath("Skins/Night"), smaller);
    writeSettings("", dayAndNight());
    now = QTime(7, 0, 0);
    auto window = makeWindow();
    window->Form_Load();
    EXPECT_EQ(window->skinState().CurrentSkin, "Night");
    window->tmrUpdates_Timer();
    EXPECT_EQ(window->skinState().CurrentSkin, "Night") << "at 07:00:00 itself it is still night";
    now = QTime(7, 0, 1);
    window->tmrUpdates_Timer();
    EXPECT_EQ(window->skinState().CurrentSkin, "Day");
    now = QTime(19, 0, 0);
    window->tmrUpdates_Timer();
    EXPECT_EQ(window->skinState().CurrentSkin, "Night");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Startup, AnEmptySkinNameIsASkinOfThePairAndSwitchesAtEveryCrossing)
{
    // The empty name is the Skins folder itself.
    testskin::writeSkin(folder.filePath("Skins"));
    testskin::writeSkin(folder.filePath("Skins/Day"));
    testskin::writeSkin(folder.filePath("Skins/Night"));
    struct Case {
        const char* name;
        QByteArray day, night;
        QStringList expected; // CurrentSkin at 12:00, 20:00, the next day 12:00 and 20:00
    };
    const Case cases[] = {
        {"night skin empty", "Day", "", {"Day", "", "Day", ""}},
        {"day skin empty", "", "Night", {"", "Night", "", "Night"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings("", dayAndNight(c.day, c.night));
        now = QTime(12, 0, 0);
        auto window = makeWindow();
        window->Form_Load();
        QStringList seen{window->skinState().CurrentSkin};
        for (const QTime time : {QTime(20, 0, 0), QTime(12, 0, 0), QTime(20, 0, 0)}) {
            now = time;
            window->tmrUpdates_Timer();
            seen << window->skinState().CurrentSkin;
        }
        EXPECT_EQ(seen, c.expected);
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(Startup, ASkinThatCannotBeLoadedHasTheOtherOfThePairStandIn)
{
    writeSettings("Preset1=7\r\n", dayAndNight());
    testskin::writeSkin(folder.filePath("Skins/Day"));
    now = QTime(23, 0, 0);
    auto window = makeWindow();
    window->Form_Load();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(folder.filePath("Skins/Night/radio_xm.ini")));
    EXPECT_EQ(window->skinState().CurrentSkin, "Day");
    const skin::PictureArea& preset = window->controls().cmdPreset(0);
    EXPECT_NEAR(qBlue(preset.surface().pixel(2, 2)), testskin::stateBlue(skin::StateUp), 6) << "the day skin is shown";
    window->tmrUpdates_Timer();
    EXPECT_EQ(window->skinState().CurrentSkin, "Day") << "the night skin is not tried again before the next crossing";
    EXPECT_EQ(shown.size(), 1u);
    testskin::writeSkin(folder.filePath("Skins/Night"));
    for (const QTime time : {QTime(12, 0, 0), QTime(23, 0, 0)}) {
        now = time;
        window->tmrUpdates_Timer();
    }
    EXPECT_EQ(window->skinState().CurrentSkin, "Night") << "the next night tries it again";
    QDir(folder.filePath("Skins/Night")).removeRecursively();

    // Without either skin the design layout stays, its pictures plain: no stray memory shows.
    QDir(folder.filePath("Skins/Day")).removeRecursively();
    shown.clear();
    auto bare = makeWindow();
    bare->Form_Load();
    EXPECT_EQ(shown.size(), 2u) << "both skins are reported";
    const QImage plain = bare->controls().cmdPreset(0).surface();
    const QRgb background = skin::toQColor(skin::SystemWindowBackground).rgb();
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            ASSERT_EQ(plain.pixel(x, y), background) << x << "," << y;
}

TEST_F(Startup, SwitchingOrResizingIntoABrokenSkinReportsItOnceAndGoesOn)
{
    testskin::writeSkin(folder.filePath("Skins/Day"));
    writeSettings("", dayAndNight("Day", "Missing"));
    auto window = makeWindow();
    window->Form_Load();
    window->show();
    ASSERT_TRUE(shown.empty());
    now = QTime(20, 0, 0);
    window->tmrUpdates_Timer();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(folder.filePath("Skins/Missing/radio_xm.ini")));
    EXPECT_EQ(shown[0].icon, app::MessageBox::Icon::Error);
    EXPECT_FALSE(window->skinState().LoadingSkin);
    EXPECT_TRUE(window->updatesEnabled());

    window->tmrUpdates_Timer();
    window->resize(700, 400);
    ASSERT_TRUE(waitUntil([&] { return window->controls().tmrResize.Enabled(); }, 1000));
    ASSERT_TRUE(waitUntil([&] { return !window->controls().tmrResize.Enabled(); }, 1000));
    EXPECT_EQ(shown.size(), 1u) << "the same broken skin is not reported again";
    EXPECT_EQ(window->skinState().CurrentSkin, "Day") << "the day skin stands in";
    EXPECT_FALSE(window->controls().tmrResize.Enabled());
}

TEST_F(Startup, AResizeAndADayNightSwitchKeepWhatTheWindowShows)
{
    testskin::writeSkin(folder.filePath("Skins/Day"));
    testskin::writeSkin(folder.filePath("Skins/Night"));
    QByteArray services;
    for (int k = 1; k <= 40; ++k)
        services += "\"" + QByteArray::number(k).rightJustified(3, '0') + ",Station,Pop\"\r\n";
    testsupport::writeFile(folder.filePath("services.dat"), services);
    writeSettings("Preset1=30\r\n", dayAndNight());
    volume::MemoryMixer::Script unmuted;
    useMemoryMixer(unmuted);
    FakeRadioService service("service");
    auto window = makeWindow();
    window->Form_Load();
    window->show();
    skin::RadioXMControls& c = window->controls();
    ASSERT_TRUE(waitUntil([&] { return service.calls.contains("Channel 1"); }));

    // Channel 30 tuned with preset 1, far down the list; the radio muted; a time and signals.
    QTest::mouseClick(c.cmdPreset(0).widget(), Qt::LeftButton);
    ASSERT_EQ(window->list().state().SelectedListItem, 29);
    const qint16 top = window->list().state().TopListItem;
    ASSERT_GT(top, 0);
    service.emitSignal("MuteChanged", {true});
    service.emitSignal("CurrentTime", {60, 120});
    service.emitSignal("SignalStrength", {50.0, 100.0, 0.0});
    ASSERT_TRUE(waitUntil([&] { return window->volumeButtons().Muted() && c.lblSignalFront(1).Visible(); }, 2000));

    const auto showsItAll = [&](const char* after) {
        SCOPED_TRACE(after);
        const QImage screen = window->grab().toImage();
        const auto blueAt = [&](const skin::Control& control) {
            return qBlue(screen.pixel(control.widget()->mapTo(window.get(), QPoint(2, 2))));
        };
        EXPECT_EQ(window->list().state().TopListItem, top);
        const skin::Label& row = c.lblListItem(29 - top);
        const QPoint gap =
            row.widget()->mapTo(window.get(), QPoint(row.widget()->width() * 75 / 1000, row.widget()->height() / 2));
        EXPECT_EQ(screen.pixel(gap), qRgb(0, 0, 128)) << "the highlight band, in the skin's selected colour";
        EXPECT_NEAR(blueAt(c.cmdPreset(0)), testskin::stateBlue(skin::StateOn), 6) << "preset 1 lit";
        EXPECT_NEAR(blueAt(*c.cmdVolumeMute), testskin::stateBlue(skin::StateOn), 6) << "the radio's mute";
        EXPECT_TRUE(window->volumeButtons().Muted());
        EXPECT_NEAR(c.lblSignalFront(0).Width() / c.lblSignalBack(0).Width(), 0.5, 0.01);
        EXPECT_NEAR(c.pctTimeScroll->Left(), (c.pctTimeScrollBar->Width() - c.pctTimeScroll->Width()) / 2, 1);
    };
    showsItAll("before");
    ASSERT_TRUE(waitUntil([&] { return window->startupComplete(); }));
    window->resize(700, 420);
    ASSERT_TRUE(waitUntil([&] { return c.imgBackground->pixelRect().width() == 700; }, 2000));
    showsItAll("after a resize");
    now = QTime(20, 0, 0);
    window->tmrUpdates_Timer();
    ASSERT_EQ(window->skinState().CurrentSkin, "Night");
    showsItAll("after the night skin took over");
}

TEST(QtMessageBox, AQuestionClosedByTheWindowReturnsTheAnswerItWasClosedWith)
{
    QWidget parent;
    app::QtMessageBox box(&parent);
    QTimer::singleShot(100, [&] { box.dismiss(app::MessageBox::Answer::Yes); });
    EXPECT_EQ(box.show("Title", "Question?", app::MessageBox::Icon::Question, app::MessageBox::Buttons::YesNo),
              app::MessageBox::Answer::Yes);
    box.dismiss(app::MessageBox::Answer::No); // none is up: nothing happens
}
