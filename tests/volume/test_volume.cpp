// cVolume over an in-memory mixer, and the volume buttons' rules: exact step sequences, the
// display rounding, the refresh of the mute button, a missing mixer, and the input meter.
#include "partsrig.h"
#include "scriptedmessagebox.h"
#include "skin/radioxmcontrols.h"
#include "testsupport.h"
#include "volume/cvolume.h"
#include "volume/memorymixer.h"
#include "volume/volumecommands.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace volume;

namespace {

struct Mixer {
    MemoryMixer::Script script;
    std::vector<ScriptedMessageBox::Shown> shown;
    ScriptedMessageBox box;
    std::unique_ptr<cVolume> volu;

    explicit Mixer(MixerDevice::OpenResult open = MixerDevice::OpenResult::Opened, int reopenMs = 2000)
    {
        script.openResult = open;
        box.log = &shown;
        volu = std::make_unique<cVolume>(std::make_unique<MemoryMixer>(script), box, reopenMs);
    }
    qint32& master() { return script.lines[size_t(Line::Master)].level; }
};

// The levels written by pressing a button n times from a start level.
std::vector<qint32> presses(qint32 start, int n, bool up)
{
    Mixer m;
    m.master() = start;
    for (int i = 0; i < n; ++i)
        m.volu->setVolumeLevel(up ? IncreasedLevel(m.volu->VolumeLevel()) : DecreasedLevel(m.volu->VolumeLevel()));
    return m.script.written;
}

} // namespace

TEST(VolumeSteps, UpFromSilenceGoesByOnePercentThenByFiveFromFourteen)
{
    EXPECT_EQ(presses(0, 17, true), (std::vector<qint32>{655, 1310, 1965, 2620, 3275, 3930, 4585, 5240, 5895, 6550,
                                                         7205, 7860, 8515, 9170, 9825, 13101, 16377}));
}

TEST(VolumeSteps, DownFromFullGoesByFiveUntilBelowFifteenPercent)
{
    const std::vector<qint32> down = presses(65535, 19, false);
    EXPECT_EQ(std::vector<qint32>(down.begin(), down.begin() + 3), (std::vector<qint32>{62258, 58981, 55704}));
    EXPECT_EQ(std::vector<qint32>(down.end() - 4, down.end()), (std::vector<qint32>{13103, 9826, 9170, 8514}));
}

TEST(VolumeSteps, SingleSteps)
{
    struct Case {
        const char* name;
        qint32 from;
        bool up;
        qint32 written;
    } cases[] = {
        {"down from 656 reaches 0", 656, false, 0},
        {"down from 655 reaches 0", 655, false, 0},
        {"down between 14 and 15 percent is a 1 percent step", 9825, false, 9169},
        {"up from 62258 stops one short of full", 62258, true, 65534},
        {"up from 65534 is written above full scale", 65534, true, 68810},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(presses(c.from, 1, c.up), std::vector<qint32>{c.written});
    }
}

TEST(VolumeSteps, OnACoarseControlEveryPressMovesItAndTheDisplayAllTheWay)
{
    for (const long maximum : {31L, 37L, 49L, 63L, 65536L}) {
        Mixer m;
        MemoryMixer::Channel& master = m.script.lines[size_t(Line::Master)];
        master.rawMaximum = maximum;
        for (const bool up : {true, false}) {
            const long end = up ? maximum : 0;
            for (int n = 0; n < 60 && master.raw != end; ++n) {
                const long raw = master.raw;
                const qint32 level = m.volu->VolumeLevel();
                m.volu->setVolumeLevel(up ? IncreasedLevel(level) : DecreasedLevel(level));
                // The level read back, and so the display, moves with the control.
                const qint32 now = m.volu->VolumeLevel();
                ASSERT_TRUE(up ? master.raw > raw && now > level : master.raw < raw && now < level)
                    << "maximum " << maximum << (up ? ", up" : ", down") << " from raw " << raw << " (level " << level
                    << ") gave " << master.raw << " (level " << now << ")";
            }
            EXPECT_EQ(master.raw, end) << "maximum " << maximum;
            EXPECT_EQ(DisplayPercent(m.volu->VolumeLevel()), up ? 100 : 0) << "maximum " << maximum;
        }
    }
}

TEST(VolumeSteps, DisplayRoundsToTheNearestPercent)
{
    struct Case {
        qint32 level;
        qint32 percent;
    } cases[] = {{0, 0}, {327, 0}, {328, 1}, {32768, 50}, {65535, 100}};
    for (const Case& c : cases)
        EXPECT_EQ(DisplayPercent(c.level), c.percent) << c.level;
}

TEST(cVolume, ReadsAndWritesTheLinesAndReportsMissingOnesAsEmpty)
{
    Mixer m;
    m.script.lines[size_t(Line::Synthesizer)] = {false, false, 0, false, 0, 0};
    m.script.lines[size_t(Line::Wave)].level = 1234;
    m.script.lines[size_t(Line::Microphone)].muted = true;
    EXPECT_EQ(m.volu->VolumeMax(), 65535);
    EXPECT_EQ(m.volu->SynMax(), 0);
    EXPECT_EQ(m.volu->WaveLevel(), 1234);
    EXPECT_TRUE(m.volu->MikrofonMute());
    EXPECT_FALSE(m.volu->VolumeMute());
    m.volu->setSynLevel(500);
    EXPECT_NE(m.volu->LastResult(), 0);
    EXPECT_EQ(m.volu->SynLevel(), 0);
    m.volu->setVolumeMute(true);
    EXPECT_TRUE(m.script.lines[size_t(Line::Master)].muted);
    EXPECT_TRUE(m.shown.empty());
}

TEST(cVolume, WithoutAMixerReadsNothingWritesNothingAndSaysSoOnce)
{
    struct Case {
        const char* name;
        MixerDevice::OpenResult open;
        QString title;
        QString text;
        app::MessageBox::Icon icon;
    } cases[] = {
        {"no sound card", MixerDevice::OpenResult::NoDevice, "V.A.N.T.O XM",
         "No Sound Card Detected. You Must install a sound card", app::MessageBox::Icon::None},
        {"a mixer that cannot be opened", MixerDevice::OpenResult::CannotOpen, "V.A.N.T.O XM - Mixercontrol Fehler",
         QString::fromUtf8("Der Mixer kann nicht geöffnet werden."), app::MessageBox::Icon::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Mixer m(c.open);
        m.master() = 30000;
        m.script.lines[size_t(Line::Master)].muted = true;
        EXPECT_EQ(m.volu->VolumeLevel(), 0);
        EXPECT_FALSE(m.volu->VolumeMute());
        EXPECT_EQ(m.volu->VolumeMax(), 0);
        m.volu->setVolumeLevel(IncreasedLevel(m.volu->VolumeLevel()));
        m.volu->setVolumeMute(false);
        EXPECT_TRUE(m.script.written.empty());
        EXPECT_TRUE(m.script.lines[size_t(Line::Master)].muted);
        ASSERT_EQ(m.shown.size(), 1u);
        EXPECT_EQ(m.shown[0].title, c.title);
        EXPECT_EQ(m.shown[0].text, c.text);
        EXPECT_EQ(m.shown[0].icon, c.icon);
        EXPECT_EQ(m.shown[0].buttons, app::MessageBox::Buttons::Ok);
    }
}

TEST(cVolume, AMixerNotOpenedOrLostIsOpenedAgainAtMostEveryIntervalAndToldOfOnce)
{
    Mixer m(MixerDevice::OpenResult::NoDevice, 150);
    m.master() = 30000;
    m.script.reopenResult = MixerDevice::OpenResult::NoDevice;
    EXPECT_EQ(m.volu->VolumeLevel(), 0);
    EXPECT_EQ(m.script.reopens, 0) << "not before the interval";
    testsupport::pump(200);
    for (int i = 0; i < 5; ++i)
        m.volu->VolumeLevel();
    EXPECT_EQ(m.script.reopens, 1) << "one try per interval, however often it is read";

    m.script.reopenResult = MixerDevice::OpenResult::Opened;
    EXPECT_TRUE(testsupport::waitUntil([&] { return m.volu->VolumeLevel() == 30000; }, 1000));
    m.volu->setVolumeLevel(31000);
    EXPECT_EQ(m.volu->VolumeLevel(), 31000) << "writes work again";

    m.script.lost = true;
    EXPECT_EQ(m.volu->VolumeLevel(), 31000) << "the last level read while the mixer is away";
    m.volu->setVolumeLevel(1);
    EXPECT_EQ(m.script.written, std::vector<qint32>{31000}) << "nothing is written to a lost mixer";
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            m.volu->VolumeLevel();
            return m.script.reopens == 3 && m.volu->VolumeMax() == 65535;
        },
        1000));
    ASSERT_EQ(m.shown.size(), 1u) << "told once, at the start";
    EXPECT_TRUE(m.shown[0].notice) << "without waiting for an answer";
}

TEST(Meter, OutputNeverCapturesAndInputOpensTheDeviceOnce)
{
    Mixer m;
    m.script.meterValues = {40, -90};
    EXPECT_EQ(m.volu->CurrentVolumeMeterOutput(), 0);
    EXPECT_EQ(m.script.captureOpens, 0);
    EXPECT_EQ(m.volu->CurrentVolumeMeterInput(), 40);
    EXPECT_EQ(m.volu->CurrentVolumeMeterInput(), 90) << "a negative value comes back positive";
    EXPECT_EQ(m.volu->CurrentVolumeMeterInput(), 90) << "no new sound keeps the last value";
    EXPECT_EQ(m.script.captureOpens, 1);
    EXPECT_TRUE(m.script.capturing);
    EXPECT_EQ(m.volu->MaxVolumeMeterInput(), 127);
    EXPECT_EQ(m.volu->MaxVolumeMeterOutput(), 0);
    m.volu.reset();
    EXPECT_FALSE(m.script.capturing) << "capture ends with the object";
}

TEST(Meter, ACaptureThatCannotOpenIsReportedAndTriedOnceMore)
{
    Mixer m;
    m.script.captureOpenError = {-16, "Device or resource busy"};
    EXPECT_EQ(m.volu->CurrentVolumeMeterInput(), 0);
    EXPECT_FALSE(m.volu->Capturing());
    EXPECT_EQ(m.script.captureOpens, 2);
    ASSERT_EQ(m.shown.size(), 2u);
    EXPECT_EQ(m.shown[0].title, "V.A.N.T.O XM - Mixercontrol Fehler");
    EXPECT_EQ(m.shown[0].text, "Device or resource busy");
    EXPECT_EQ(m.shown[0].icon, app::MessageBox::Icon::Error);
}

namespace {

// The display refresh on the window's parts, painting recorded instead of drawn.
struct Display : PartsRig {
    Mixer mixer;
    Display() { volu = mixer.volu.get(); }
};

} // namespace

TEST(RefreshVolumeDisplay, ShowsThePercentAndRepaintsMuteOnlyOnAChange)
{
    Display d;
    d.skinState.VolumeSuffix = " %";
    d.mixer.master() = 32768;
    d.volumeButtons.RefreshVolumeDisplay();
    EXPECT_EQ(d.c.lblVolume->Caption(), "50 %");
    EXPECT_TRUE(d.painted.isEmpty()) << "the radio is not muted and the button shows it so";
    d.volumeButtons.ToggleMute();
    EXPECT_EQ(d.radioMute, true);
    EXPECT_TRUE(d.painted.isEmpty()) << "the toggle itself paints nothing";
    d.volumeButtons.RefreshVolumeDisplay();
    d.volumeButtons.RefreshVolumeDisplay();
    EXPECT_EQ(d.painted, QStringList({"cmdVolumeMute 2"}));
    EXPECT_TRUE(d.volumeButtons.Muted());
    d.skinState.VolumeSuffix = "%"; // another skin
    d.volumeButtons.RefreshVolumeDisplay();
    EXPECT_EQ(d.c.lblVolume->Caption(), "50%");
}

TEST(RefreshVolumeDisplay, WithoutARadioLeavesTheMuteButtonAndStillShowsTheVolume)
{
    Display d;
    d.radioMute.reset();
    d.mixer.master() = 655;
    d.volumeButtons.RefreshVolumeDisplay();
    EXPECT_TRUE(d.painted.isEmpty());
    EXPECT_EQ(d.c.lblVolume->Caption(), "1");
    d.radioMute = true;
    d.volumeButtons.RefreshVolumeDisplay();
    EXPECT_EQ(d.painted, QStringList({"cmdVolumeMute 2"}));
}

TEST(RefreshVolumeDisplay, WithTimeShiftTheMuteButtonPausesAndShowsThePause)
{
    Display d;
    d.volumeButtons.ToggleMute();
    EXPECT_EQ(d.calls, QStringList()) << "without time shift, mute is mute";
    d.timeShift.report(false, 0, 60, 12);
    d.volumeButtons.ToggleMute();
    d.timeShift.report(true, 1, 60, 12);
    d.volumeButtons.RefreshVolumeDisplay();
    d.volumeButtons.ToggleMute();
    EXPECT_EQ(d.calls, QStringList({"Pause", "Resume"}));
    EXPECT_EQ(d.radioMute, true) << "only the first tap muted";
    d.timeShift.report(false, 1, 60, 12);
    d.volumeButtons.RefreshVolumeDisplay();
    EXPECT_EQ(d.painted.last(), "cmdVolumeMute 0") << "the radio is still muted, but what counts is the pause";
}
