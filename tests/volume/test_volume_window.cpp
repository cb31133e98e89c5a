// The volume buttons of the real window: with the simulator service on a private bus and the
// real mixer, whose default device is the test run's PulseAudio null sink.
#include "fakeradioservice.h"
#include "testskin.h"
#include "testsupport.h"
#include "volume/alsamixer.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::pactl;
using testsupport::sinkVolume;
using testsupport::waitUntil;

namespace {

void tap(skin::PictureArea& button)
{
    const QPoint centre = button.widget()->rect().center();
    QTest::mousePress(button.widget(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(button.widget(), Qt::LeftButton, {}, centre);
}

// A PulseAudio server of the test's own, which ALSA's device vanto_hang reaches: started late,
// stopped and started again while the window runs.
const QString OwnServer = QStringLiteral(VANTO_PULSE_DIR "/hang");

void ownServer(const char* action, const char* volume = nullptr)
{
    QProcess::execute("bash", {VANTO_SOURCE_DIR "/tests/volume/pulseserver.sh", action, OwnServer});
    if (volume)
        pactl({"-s", "unix:" + OwnServer + "/native", "set-sink-volume", "vanto_null", volume});
}

int shownState(const skin::PictureArea& button)
{
    const int blue = qBlue(button.surface().pixel(2, 2));
    for (int state : {skin::StateUp, skin::StateDown, skin::StateOn})
        if (std::abs(blue - testskin::stateBlue(state)) < 8)
            return state;
    return -1;
}

class VolumeWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        pactl({"set-sink-volume", "vanto_null", "32768"});
        pactl({"set-sink-mute", "vanto_null", "0"});
        writeProgramFolder("LastChannel=5\r\n");
    }

    // The simulator, started by the window through its service path.
    void withSimulator()
    {
        useRadioService({"--seed", "3", "--channels", "20"});
        writeSettings("LastChannel=5\r\n");
    }
};

} // namespace

TEST_F(VolumeWindow, UpAndDownStepTheSinkAndTheLabelFollowsOutsideChanges)
{
    withSimulator();
    startWindow();
    skin::RadioXMControls& c = window->controls();
    ASSERT_TRUE(shown.empty()) << shown.front().text.toStdString();
    EXPECT_TRUE(waitUntil([&] { return c.lblVolume->Caption() == "50%"; }, 1000))
        << c.lblVolume->Caption().toStdString();

    tap(*c.cmdVolumeUp);
    // 32768 of 65535 (50 %) goes up by 5 % to 36044, which is 36045 of the server's 65536.
    EXPECT_EQ(sinkVolume(), 36045);
    EXPECT_TRUE(waitUntil([&] { return c.lblVolume->Caption() == "55%"; }, 1000))
        << c.lblVolume->Caption().toStdString();
    tap(*c.cmdVolumeDown);
    EXPECT_EQ(sinkVolume(), 32767) << "36044 down by 5 % is 32767";

    pactl({"set-sink-volume", "vanto_null", "6554"});
    EXPECT_TRUE(waitUntil([&] { return c.lblVolume->Caption() == "10%"; }, 1000))
        << c.lblVolume->Caption().toStdString();
    ASSERT_TRUE(waitUntil([&] { return window->radioClient()->currentOwner().size() > 0; }, 5000));
    EXPECT_TRUE(shown.empty());
}

TEST_F(VolumeWindow, TheMuteButtonMutesTheRadioAndShowsItsState)
{
    withSimulator();
    startWindow();
    skin::RadioXMControls& c = window->controls();
    ASSERT_TRUE(waitUntil([&] { return !window->radioClient()->currentOwner().isEmpty(); }, 5000));
    pactl({"set-sink-mute", "vanto_null", "1"});
    skin::PictureArea& mute = *c.cmdVolumeMute;
    const QPoint centre = mute.widget()->rect().center();
    QTest::mousePress(mute.widget(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(shownState(mute), skin::StateDown);
    testsupport::pump(50);
    QTest::mouseRelease(mute.widget(), Qt::LeftButton, {}, centre);
    EXPECT_TRUE(waitUntil([&] { return window->radioClient()->Mute(); }, 100)) << "the click mutes the radio";
    // The simulator answers SetMute with MuteChanged; the refresh then shows the radio's mute.
    EXPECT_TRUE(waitUntil([&] { return window->volumeButtons().Muted() && shownState(mute) == skin::StateOn; }, 2000));
    EXPECT_EQ(pactl({"get-sink-mute", "vanto_null"}), "Mute: yes") << "the radio's mute is not the sink's";

    tap(mute);
    EXPECT_TRUE(waitUntil([&] { return !window->volumeButtons().Muted() && shownState(mute) == skin::StateUp; }, 2000));
}

TEST_F(VolumeWindow, TheReleaseShowsTheMixersMuteUntilTheNextRefresh)
{
    startWindow();
    skin::PictureArea& mute = *window->controls().cmdVolumeMute;
    window->controls().tmrUpdates.setEnabled(false);
    // The server's change reaches the window's mixer a moment after pactl returns.
    const auto releaseShows = [&](int state) {
        return waitUntil(
            [&] {
                window->cmdVolumeMute_MouseUp({});
                return shownState(mute) == state;
            },
            1000);
    };
    pactl({"set-sink-mute", "vanto_null", "1"});
    EXPECT_TRUE(releaseShows(skin::StateOn));
    pactl({"set-sink-mute", "vanto_null", "0"});
    EXPECT_TRUE(releaseShows(skin::StateUp));
}

TEST_F(VolumeWindow, TheMuteButtonFollowsTheServicesMuteChanged)
{
    FakeRadioService service("service");
    startWindow();
    ASSERT_TRUE(waitUntil([&] { return service.calls.contains("SetMute false"); }));
    service.emitSignal("MuteChanged", {true});
    EXPECT_TRUE(waitUntil([&] { return window->volumeButtons().Muted(); }, 1000));
    EXPECT_EQ(shownState(*window->controls().cmdVolumeMute), skin::StateOn);
    window->scroller().pctScroll_MouseDown({1, 0, 0});
    service.emitSignal("MuteChanged", {false});
    ASSERT_TRUE(waitUntil([&] { return !window->radioClient()->Mute(); }, 1000));
    testsupport::pump(450);
    EXPECT_TRUE(window->volumeButtons().Muted()) << "not while the list's thumb is held";
    window->scroller().pctScroll_MouseUp({1, 0, 0});
    EXPECT_TRUE(waitUntil([&] { return !window->volumeButtons().Muted(); }, 1000));
}

TEST_F(VolumeWindow, WithoutASoundCardTheNoticeComesOnceAndTheRadioStarts)
{
    seams.createMixer = [] { return std::make_unique<volume::AlsaMixer>(QStringLiteral("hw:97")); };
    FakeRadioService service("service");
    startWindow();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "V.A.N.T.O XM");
    EXPECT_EQ(shown[0].text, "No Sound Card Detected. You Must install a sound card");
    EXPECT_TRUE(waitUntil([&] { return service.calls.contains("Channel 5"); }));
    EXPECT_TRUE(waitUntil([&] { return window->controls().lblVolume->Caption() == "--%"; }, 1000))
        << "no level reads as no level, not as 0 %";
    tap(*window->controls().cmdVolumeUp);
    EXPECT_EQ(sinkVolume(), 32768);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(VolumeWindow, WithoutASoundServerStartUpGoesOnAndTheMixerFollowsTheServerComingAndGoing)
{
    seams.messageBox = {}; // the window's own boxes
    seams.createMixer = [] { return std::make_unique<volume::AlsaMixer>(QStringLiteral("vanto_hang")); };
    FakeRadioService service("service");
    // A notice that waited for an answer would hold up start-up until this timer closed it.
    bool waitedForAnAnswer = false;
    QTimer dismiss;
    dismiss.setSingleShot(true);
    QObject::connect(&dismiss, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            waitedForAnAnswer = true;
            modal->close();
        }
    });
    dismiss.start(3000);
    startWindow();
    dismiss.stop();
    EXPECT_FALSE(waitedForAnAnswer);
    const auto notices = [&] { return window->findChildren<QMessageBox*>(); };
    ASSERT_EQ(notices().size(), 1);
    EXPECT_TRUE(notices()[0]->isVisible());
    EXPECT_FALSE(notices()[0]->isModal());
    EXPECT_EQ(notices()[0]->windowTitle(), "V.A.N.T.O XM");
    EXPECT_EQ(notices()[0]->text(), "No Sound Card Detected. You Must install a sound card");
    EXPECT_TRUE(waitUntil([&] { return service.calls.contains("Channel 5"); }));
    EXPECT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered("org.mpris.MediaPlayer2.vantoxm"));
    skin::RadioXMControls& c = window->controls();

    // The server starts after the window: within about 2 s the volume shows and the buttons work,
    // and look it again.
    EXPECT_TRUE(waitUntil([&] { return c.lblVolume->Caption() == "--%"; }, 1000))
        << c.lblVolume->Caption().toStdString();
    const QImage greyed = c.cmdVolumeUp->widget()->grab().toImage();
    ownServer("start", "32768");
    EXPECT_TRUE(waitUntil([&] { return c.lblVolume->Caption() == "50%"; }, 4000))
        << c.lblVolume->Caption().toStdString();
    EXPECT_NE(c.cmdVolumeUp->widget()->grab().toImage(), greyed);
    tap(*c.cmdVolumeUp);
    EXPECT_EQ(sinkVolume(OwnServer), 36045);

    // Stopped and started anew: the new server is found, and no second notice comes.
    ownServer("stop");
    ownServer("start", "16384");
    EXPECT_TRUE(waitUntil([&] { return c.lblVolume->Caption() == "25%"; }, 5000))
        << c.lblVolume->Caption().toStdString();
    tap(*c.cmdVolumeUp);
    EXPECT_EQ(sinkVolume(OwnServer), 19660) << "16384 up by 5 %";
    EXPECT_EQ(notices().size(), 1);
    ownServer("stop");
}
