// The presets and the press-and-hold repeat on the real window, with real presses on its
// controls, a program folder on disk and a fake radio service on a private session bus.
#include "fakeradioservice.h"
#include "partsrig.h"
#include "testsupport.h"
#include "windowfixture.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::pump;
using testsupport::waitUntil;

namespace {

constexpr skin::Colour Up = 16777215, Down = 255, On = 65535;

class Presets : public WindowFixture {
protected:
    FakeRadioService service{"presets"};
    volume::MemoryMixer::Script mixer;

    void start(const QByteArray& presets, const QByteArray& lastChannel = "12")
    {
        testsupport::writeFile(folder.filePath("services.dat"),
                               "\"005,Five,Pop\"\r\n\"007,Seven,Rock\"\r\n\"012,Twelve,Jazz\"\r\n\"025,TwentyFive,"
                               "News\"\r\n\"101,HundredOne,Talk\"\r\n");
        writeProgramFolder("LastChannel=" + lastChannel + "\r\n" + presets);
        useMemoryMixer(mixer);
        startWindow();
        ASSERT_TRUE(waitUntil([&] { return service.calls.contains("Channel " + lastChannel); }));
        service.calls.clear();
    }

    skin::RadioXMControls& c() { return window->controls(); }
    QWidget* preset(int i) { return c().cmdPreset(i).widget(); }
    skin::Colour colour(int i) { return c().lblPreset(i).ForeColor(); }
};

} // namespace

TEST_F(Presets, ATapTunesHighlightsAndLightsThePreset)
{
    start("Preset1=7\r\nPreset2=12\r\nPreset3=12\r\n");
    EXPECT_EQ(c().lblPreset(0).Caption(), "007");
    EXPECT_EQ(colour(0), Up);
    EXPECT_EQ(colour(1), On) << "two presets on the tuned channel both show on";
    EXPECT_EQ(colour(2), On);

    QTest::mousePress(preset(0), Qt::LeftButton);
    EXPECT_EQ(colour(0), Down);
    EXPECT_EQ(colour(1), On) << "only the pressed preset changes until the release";
    EXPECT_EQ(window->presets().PresetPressed(), presets::HeldPreset::First);
    QTest::mouseRelease(preset(0), Qt::LeftButton);
    EXPECT_EQ(window->presets().PresetPressed(), presets::HeldPreset::None);
    EXPECT_FALSE(c().tmrSavePreset.Enabled());

    EXPECT_EQ(c().lblCC->Caption(), "7");
    EXPECT_EQ(window->list().state().SelectedListItem, 1);
    EXPECT_EQ(colour(0), On);
    EXPECT_EQ(colour(1), Up);
    EXPECT_TRUE(waitUntil([&] {
        return service.calls == QStringList({"Channel 7", "SetMute false"});
    })) << service.calls.join(", ").toStdString();

    // The caption label reacts as its picture area does.
    QTest::mouseClick(c().lblPreset(1).widget(), Qt::LeftButton);
    EXPECT_EQ(c().lblCC->Caption(), "12");
}

TEST_F(Presets, APresetWhoseChannelIsNotInTheTableDoesNothing)
{
    start("Preset1=\r\nPreset3=101x\r\n");
    for (int i : {0, 1, 2}) {
        QTest::mouseClick(preset(i), Qt::LeftButton);
        EXPECT_EQ(c().lblCC->Caption(), "12") << i;
    }
    pump(200);
    EXPECT_TRUE(service.calls.isEmpty()) << service.calls.join(", ").toStdString();
}

TEST_F(Presets, AHoldStoresTheTunedChannelOnceAndSaysSo)
{
    start("Preset2=5\r\n");
    QSignalSpy saves(&c().tmrSavePreset, &skin::Timer::tick);
    // The save waits five seconds while events run: what the user sees is looked at from inside.
    QString shown, caption;
    QByteArray stored;
    QTimer::singleShot(3400, [&] {
        shown = c().lblArtistTrackTitle->Caption();
        caption = c().lblPreset(1).Caption();
        stored = settings();
    });
    bool released = false;
    QTimer::singleShot(7000, [&] { // past the next period of the hold timer
        QTest::mouseRelease(preset(1), Qt::LeftButton);
        released = true;
    });
    QTest::mousePress(preset(1), Qt::LeftButton);
    ASSERT_TRUE(
        waitUntil([&] { return released && window->presets().PresetPressed() == presets::HeldPreset::None; }, 12000));
    EXPECT_EQ(shown, "Preset 2 - Channel 12");
    EXPECT_TRUE(stored.contains("Preset2=12\r\n")) << stored.toStdString();
    EXPECT_EQ(caption, "012");
    EXPECT_EQ(saves.count(), 1) << "one save per press";
    EXPECT_EQ(colour(1), On);
    EXPECT_TRUE(waitUntil([&] { return service.calls.contains("Channel 12"); })) << "the Click re-tunes it";
    EXPECT_EQ(window->presets().PresetPressed(), presets::HeldPreset::None);
}

TEST_F(Presets, AHeldPresetsFaceFillsUntilTheReleaseAndATapLooksAsBefore)
{
    start("Preset2=12\r\n"); // the tuned channel: the release's tune leaves the face lit as before
    c().tmrSavePreset.setInterval(1500);
    const auto face = [&] { return preset(1)->grab().toImage(); };
    const QImage before = face();
    std::vector<QImage> held;
    for (const int ms : {100, 150, 700, 1300})
        QTimer::singleShot(ms, [&] { held.push_back(face()); });
    QTimer::singleShot(1400, [&] { QTest::mouseRelease(preset(1), Qt::LeftButton); });
    QTest::mousePress(preset(1), Qt::LeftButton);
    ASSERT_TRUE(waitUntil(
        [&] { return held.size() == 4 && window->presets().PresetPressed() == presets::HeldPreset::None; }, 3000));
    EXPECT_EQ(held[0], held[1]) << "a tap's press shows nothing more";
    EXPECT_NE(held[1], held[2]);
    EXPECT_NE(held[2], held[3]) << "it goes on filling";
    EXPECT_EQ(face(), before) << "the release leaves the face as it was";
}

TEST_F(Presets, ASecondHoldDuringTheFirstSavesMessageStoresItsOwnChannel)
{
    start("Preset1=12\r\nPreset2=25\r\n");
    // The driver's timing, shortened: preset 1 held past its hold (saved at 400, its message up
    // until 1000), channel 5 chosen with a double tap, then preset 2 held from 800 to 1400: its
    // hold ends at 1200, after the first message.
    c().tmrSavePreset.setInterval(400);
    window->presets().setMessageTime(600);
    const int row5 = window->table().FindItem("005") - window->list().state().TopListItem;
    bool released = false;
    QTimer::singleShot(450, [&] { QTest::mouseRelease(preset(0), Qt::LeftButton); });
    QTimer::singleShot(550, [&] { QTest::mouseDClick(c().lblListItem0(row5).widget(), Qt::LeftButton); });
    QTimer::singleShot(800, [&] {
        QTest::mousePress(preset(1), Qt::LeftButton);
        QTimer::singleShot(600, [&] {
            QTest::mouseRelease(preset(1), Qt::LeftButton);
            released = true;
        });
    });
    QTest::mousePress(preset(0), Qt::LeftButton);
    ASSERT_TRUE(
        waitUntil([&] { return released && window->presets().PresetPressed() == presets::HeldPreset::None; }, 5000));
    EXPECT_TRUE(settings().contains("Preset2=5\r\n")) << settings().toStdString();
    EXPECT_EQ(c().lblPreset(1).Caption(), "005");
    EXPECT_EQ(c().lblCC->Caption(), "5") << "the release tunes the channel just stored";
    EXPECT_TRUE(waitUntil([&] { return service.calls.count("Channel 5") == 2; }))
        << service.calls.join(", ").toStdString();
    EXPECT_FALSE(service.calls.contains("Channel 25"));
}

TEST_F(Presets, WhenTheMessageEndsTheSongPlayingNowShows)
{
    start("");
    c().tmrSavePreset.setInterval(300);
    window->presets().setMessageTime(600);
    bool shown = false;
    // Released off the button during the message (no tap), and a new song arrives.
    QTimer::singleShot(400, [&] { QTest::mouseRelease(preset(0), Qt::LeftButton, {}, QPoint(-20, -20)); });
    QTimer::singleShot(500, [&] {
        service.emitSignal("CurrentChannelData", {12, "Twelve", "New Artist", "New Song", "Jazz"});
    });
    QTimer::singleShot(1100, [&] { shown = true; });
    QTest::mousePress(preset(0), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return shown; }, 3000));
    EXPECT_EQ(c().lblArtistTrackTitle->Caption(), "New Artist - New Song");
}

TEST_F(Presets, ASavesMessageGoesFirstThenTheBannerShowsItsWholeTimeTappableAndTheLatestSongAfter)
{
    start("[Alerts]\r\nArtist1=Madonna\r\n");
    c().tmrSavePreset.setInterval(300);
    window->presets().setMessageTime(600);
    window->alerts().line().setTimes({.messageMs = 300, .bannerMs = 800});
    service.emitSignal("ChannelData", {12, "Twelve", "Old Artist", "Old Song", "Jazz"});
    ASSERT_TRUE(waitUntil([&] { return c().lblArtistTrackTitle->Caption() == "Old Artist - Old Song"; }));
    // News comes during the save's message, and the finger leaves (a tap, which tunes the preset
    // again) before the message ends.
    QString during;
    QTimer::singleShot(400, [&] { service.emitSignal("ChannelData", {25, "TwentyFive", "Madonna", "Vogue", "News"}); });
    QTimer::singleShot(500, [&] { QTest::mouseRelease(preset(0), Qt::LeftButton); });
    QTimer::singleShot(700, [&] { during = c().lblArtistTrackTitle->Caption(); });
    QTest::mousePress(preset(0), Qt::LeftButton);
    const QString banner = "025 TwentyFive: Madonna - Vogue";
    ASSERT_TRUE(waitUntil([&] { return c().lblArtistTrackTitle->Caption() == banner; }, 3000));
    EXPECT_EQ(during, "Preset 1 - Channel 12");
    EXPECT_EQ(window->alerts().line().BannerChannel(), 25) << "the banner can be tapped";
    service.emitSignal("CurrentChannelData", {12, "Twelve", "New Artist", "New Song", "Jazz"});
    pump(500);
    EXPECT_EQ(c().lblArtistTrackTitle->Caption(), banner) << "the banner keeps its whole time";
    EXPECT_TRUE(waitUntil([&] { return c().lblArtistTrackTitle->Caption() == "New Artist - New Song"; }));
}

TEST_F(Presets, AChoiceWhileAPresetIsHeldRemembersTheChannelChosen)
{
    start("");
    // The artist-title line of the choice waits for the held preset; meanwhile the radio
    // reports the channel it played before, which the latest choice outranks.
    window->presets().cmdPreset_MouseDown(0, {1, 0, 0});
    QString reported;
    QTimer::singleShot(50, [&] { service.emitSignal("CurrentChannelData", {12, "Twelve", "A", "T", "Jazz"}); });
    QTimer::singleShot(400, [&] {
        reported = c().lblCC->Caption();
        window->presets().cmdPreset_MouseUp(0, {1, 0, 0});
    });
    window->chooser().ChooseListItem(window->table().FindItem("007"));
    EXPECT_EQ(reported, "7");
    EXPECT_TRUE(settings().contains("LastChannel=7\r\n")) << settings().toStdString();
}

TEST_F(Presets, ReportsThatComeWhileAPresetIsHeldAreHandledInTheOrderTheBusDeliveredThem)
{
    start("");
    // The tuned channel's song waits for the finger on a preset; the listing's report of the
    // song after it comes meanwhile.
    window->presets().cmdPreset_MouseDown(0, {1, 0, 0});
    service.emitSignal("CurrentChannelData", {12, "Twelve", "Madonna", "Vogue", "Jazz"});
    QTimer::singleShot(100, [&] {
        service.emitSignal("ChannelData", {12, "Twelve", "Queen", "Bohemian Rhapsody", "Jazz"});
    });
    QTimer::singleShot(400, [&] { window->presets().cmdPreset_MouseUp(0, {1, 0, 0}); });
    pump(800);
    EXPECT_EQ(c().lblArtistTrackTitle->Caption(), "Queen - Bohemian Rhapsody");
    EXPECT_EQ(window->table().text(window->table().FindItem("012"), radio::Artist), "Queen");
}

TEST_F(Presets, ASaveThatCannotBeWrittenStillShowsTheChannel)
{
    start("");
    // A settings file that cannot be written, even by root: a folder in its place.
    ASSERT_TRUE(QFile::remove(folder.filePath("vantoxm.ini")));
    QDir(folder.path()).mkdir("vantoxm.ini");
    window->presets().setMessageTime(300);
    window->presets().cmdPreset_MouseDown(2, {1, 0, 0});
    QString message;
    QTimer::singleShot(100, [&] { message = c().lblArtistTrackTitle->Caption(); });
    QTimer::singleShot(200, [&] { window->presets().cmdPreset_MouseUp(2, {1, 0, 0}); });
    window->presets().tmrSavePreset_Timer();
    EXPECT_EQ(message, "Preset 3 - Channel 12 (not saved)");
    EXPECT_EQ(c().lblPreset(2).Caption(), "012");
    EXPECT_EQ(QDir(folder.path()).entryList({"vantoxm.ini*"}, QDir::AllEntries | QDir::Hidden),
              QStringList{"vantoxm.ini"})
        << "the failed save leaves nothing beside the settings path, nor in its place";

    // The preset holds the channel for this run: a tap from another channel tunes it.
    window->tuner().TuneChannel(5);
    service.calls.clear();
    QTest::mouseClick(preset(2), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return service.calls.contains("Channel 12"); }));
    EXPECT_EQ(colour(2), On);
}

TEST_F(Presets, TheSaveTimerWithNoPresetHeldStoresNothing)
{
    start("Preset1=7\r\n");
    window->presets().setMessageTime(0);
    window->presets().tmrSavePreset_Timer();
    EXPECT_EQ(c().lblPreset(0).Caption(), "007");
    EXPECT_TRUE(settings().contains("Preset1=7\r\n")) << settings().toStdString();
}

TEST_F(Presets, AHeldVolumeButtonRepeatsEveryTickAndTheClickAddsOne)
{
    mixer.lines[size_t(volume::Line::Master)].level = 32768;
    start("");
    // A step of the volume is a level written to the mixer.
    size_t stepsFrom = mixer.written.size();
    const auto steps = [&] { return int(mixer.written.size() - stepsFrom); };
    QSignalSpy ticks(&c().tmrButtonPressed, &skin::Timer::tick);
    QWidget* down = c().cmdVolumeDown->widget();
    QTest::mousePress(down, Qt::LeftButton);
    EXPECT_EQ(window->repeat().held(), skin::HeldButton::VolumeDown);
    EXPECT_EQ(steps(), 0) << "the press itself changes nothing";
    pump(1100);
    QTest::mouseRelease(down, Qt::LeftButton);
    // Five ticks in a second on a quiet machine; a busy one may deliver fewer, never more.
    EXPECT_GE(ticks.count(), 3);
    EXPECT_LE(ticks.count(), 5);
    EXPECT_EQ(steps(), ticks.count() + 1) << "a step a tick, and the Click";
    EXPECT_FALSE(c().tmrButtonPressed.Enabled());

    stepsFrom = mixer.written.size();
    QTest::mouseClick(c().cmdVolumeUp->widget(), Qt::LeftButton);
    EXPECT_EQ(steps(), 1) << "a tap is one step";

    stepsFrom = mixer.written.size();
    ticks.clear();
    QTest::mousePress(down, Qt::LeftButton);
    pump(500);
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(-20, -20)); // slid off the button
    EXPECT_EQ(steps(), ticks.count()) << "the ticks only: no Click away from the button";
    pump(300);
    EXPECT_EQ(steps(), ticks.count());
}

TEST(PressAndHold, ATickRunsTheActionOfTheButtonHeldAndNoneWithoutOne)
{
    PartsRig r;
    QStringList ran;
    const auto record = [&ran](const char* name) { return [&ran, name] { ran << name; }; };
    presets::PressAndHold hold{presets::HoldControls::of(r.c),
                               skin::ButtonPainter(r.c, r.scale),
                               r.repeat,
                               {record("volume up"), record("volume down"), record("page up"), record("page down"),
                                record("step up"), record("step down"), [&ran] { ran << "tune"; }}};
    using skin::HeldButton;
    for (const HeldButton held : {HeldButton::None, HeldButton::VolumeUp, HeldButton::VolumeDown, HeldButton::PageUp,
                                  HeldButton::PageDown, HeldButton::ScrollUp, HeldButton::ScrollDown}) {
        r.repeat.hold(held);
        hold.tmrButtonPressed_Timer();
    }
    EXPECT_EQ(ran, QStringList({"volume up", "volume down", "page up", "page down", "step up", "step down"}));
}

TEST_F(Presets, HoldingVolumeDownStepsTheMasterVolumeEveryTick)
{
    mixer.lines[size_t(volume::Line::Master)].level = 9826;
    start("");
    QSignalSpy ticks(&c().tmrButtonPressed, &skin::Timer::tick);
    QWidget* down = c().cmdVolumeDown->widget();
    QTest::mousePress(down, Qt::LeftButton);
    pump(1100);
    QTest::mouseRelease(down, Qt::LeftButton);
    // 1 % steps below 15 %, each the whole part of the level less 655.35.
    const std::vector<qint32> steps = {9170, 8514, 7858, 7202, 6546, 5890};
    ASSERT_GE(ticks.count(), 3);
    ASSERT_LE(ticks.count(), 5);
    EXPECT_EQ(mixer.written, std::vector<qint32>(steps.begin(), steps.begin() + ticks.count() + 1))
        << "a step a tick, and one for the Click";
}

TEST_F(Presets, TheTuneButtonWaitsForTheListing)
{
    start("");
    window->list().state().SelectedListItem = 3;
    QTest::mouseClick(c().cmdTune->widget(), Qt::LeftButton);
    pump(200);
    EXPECT_TRUE(service.calls.isEmpty());
    EXPECT_EQ(c().lblCC->Caption(), "12");
    window->list().state().ChannelListReady = true;
    QTest::mouseClick(c().cmdTune->widget(), Qt::LeftButton);
    EXPECT_EQ(c().lblCC->Caption(), "25");
    EXPECT_TRUE(waitUntil([&] { return service.calls.contains("Channel 25"); }));
}
