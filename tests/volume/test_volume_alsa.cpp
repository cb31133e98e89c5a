// cVolume on the real ALSA path: ALSA's default device reaches a PulseAudio server with a null
// sink (started for the test run), and pactl checks each change from the server's side.
#include "scriptedmessagebox.h"
#include "testsupport.h"
#include "volume/alsamixer.h"
#include "volume/cvolume.h"
#include "volume/volumecommands.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtMath>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace volume;
using testsupport::pactl;
using testsupport::sinkVolume;
using testsupport::waitUntil;

namespace {

const QString Sink = QStringLiteral("vanto_null");

bool sinkMuted()
{
    return pactl({"get-sink-mute", Sink}).endsWith(QLatin1String("yes"));
}

struct Volume {
    std::vector<ScriptedMessageBox::Shown> shown;
    ScriptedMessageBox box;
    std::unique_ptr<cVolume> volu;

    explicit Volume(const QString& device = QStringLiteral("default"), AlsaTimeouts timeouts = AlsaTimeouts())
    {
        box.log = &shown;
        volu = std::make_unique<cVolume>(std::make_unique<AlsaMixer>(device, timeouts), box);
    }
};

class Alsa : public ::testing::Test {
protected:
    void SetUp() override
    {
        pactl({"set-sink-volume", Sink, "32768"});
        pactl({"set-sink-mute", Sink, "0"});
    }
};

} // namespace

TEST_F(Alsa, AVolumeStepReachesTheServer)
{
    Volume v;
    ASSERT_TRUE(v.shown.empty()) << v.shown.front().text.toStdString();
    EXPECT_EQ(v.volu->VolumeMax(), 65535);
    EXPECT_EQ(v.volu->VolumeLevel(), 32768);
    v.volu->setVolumeLevel(IncreasedLevel(v.volu->VolumeLevel()));
    // 36044 of 65535 is 36044.55 of the server's 65536.
    EXPECT_EQ(sinkVolume(), 36045);
    EXPECT_EQ(v.volu->VolumeLevel(), 36044) << "a written level reads back unchanged";
    v.volu->setVolumeLevel(68810);
    EXPECT_EQ(sinkVolume(), 65536) << "above full scale is full scale";
}

TEST_F(Alsa, AMuteReachesTheServerAndTheServersMuteIsRead)
{
    Volume v;
    v.volu->setVolumeMute(true);
    EXPECT_TRUE(sinkMuted());
    EXPECT_TRUE(v.volu->VolumeMute());
    pactl({"set-sink-mute", Sink, "0"});
    EXPECT_TRUE(waitUntil([&] { return !v.volu->VolumeMute(); }, 1000));
}

TEST_F(Alsa, AChangeFromOutsideIsReadAtTheNextAccess)
{
    Volume v;
    EXPECT_EQ(v.volu->VolumeLevel(), 32768);
    pactl({"set-sink-volume", Sink, "13107"});
    EXPECT_TRUE(waitUntil([&] { return v.volu->VolumeLevel() == 13107; }, 1000)) << v.volu->VolumeLevel();
}

TEST_F(Alsa, ALSAsComplaintsAboutAMissingCardAreOneLineOfTheLog)
{
    static QStringList lines;
    lines.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (QLatin1String(context.category) == QLatin1String("vanto.volume"))
                lines << text;
        });
    // The first card's device: ALSA complains eight times when there is no card.
    Volume v(QStringLiteral("sysdefault"));
    qInstallMessageHandler(previous);
    if (v.shown.empty())
        GTEST_SKIP() << "this machine has a sound card";
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].contains("cannot find card '0'")) << lines[0].toStdString();
}

TEST_F(Alsa, AServerThatNeverAnswersDoesNotHoldUpTheWindow)
{
    // A socket in the server's place that takes connections and never answers them.
    const QByteArray path = VANTO_PULSE_DIR "/hang/native";
    QDir().mkpath(VANTO_PULSE_DIR "/hang");
    ::unlink(path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(fd, 8), 0);

    QElapsedTimer clock;
    clock.start();
    {
        Volume v(QStringLiteral("vanto_hang"), AlsaTimeouts{300, 100});
        EXPECT_LT(clock.elapsed(), 1000);
        ASSERT_EQ(v.shown.size(), 1u);
        EXPECT_EQ(v.shown[0].text, QString::fromUtf8("Der Mixer kann nicht geöffnet werden."));
        EXPECT_EQ(v.volu->VolumeLevel(), 0);
    }
    EXPECT_LT(clock.elapsed(), 1500) << "closing does not wait for the server either";
    ::close(fd);
    ::unlink(path.constData());
}

TEST_F(Alsa, AServerThatStopsAnsweringCostsOneShortWaitThenNone)
{
    const QString dir = VANTO_PULSE_DIR "/hang";
    QDir().mkpath(dir);
    QFile::remove(dir + "/native");
    QProcess server;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir);
    env.insert("XDG_RUNTIME_DIR", dir);
    server.setProcessEnvironment(env);
    server.start("pulseaudio", {"-n", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=-1",
                                "--log-target=file:" + dir + "/server.log", "-L",
                                "module-native-protocol-unix auth-anonymous=1 socket=" + dir + "/native", "-L",
                                "module-null-sink sink_name=hang_null"});
    ASSERT_TRUE(server.waitForStarted());
    ASSERT_TRUE(waitUntil([&] { return pactl({"-s", "unix:" + dir + "/native", "info"}).contains("hang_null"); }));
    pactl({"-s", "unix:" + dir + "/native", "set-sink-volume", "hang_null", "16384"});
    {
        Volume v(QStringLiteral("vanto_hang"), AlsaTimeouts{1000, 100});
        ASSERT_TRUE(v.shown.empty());
        ASSERT_EQ(v.volu->VolumeLevel(), 16384);

        ::kill(pid_t(server.processId()), SIGSTOP);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(v.volu->VolumeLevel(), 16384) << "a read needs no answer";
        EXPECT_LT(clock.restart(), 50);
        v.volu->setVolumeLevel(20000);
        EXPECT_LT(clock.restart(), 400) << "a write waits a bounded time";
        EXPECT_NE(v.volu->LastResult(), 0);
        EXPECT_EQ(v.volu->VolumeLevel(), 16384) << "the last level read stands";
        EXPECT_LT(clock.restart(), 50) << "the write that got no answer is still out: no second wait";
        for (int i = 0; i < 10; ++i)
            v.volu->VolumeLevel();
        EXPECT_LT(clock.elapsed(), 50);

        ::kill(pid_t(server.processId()), SIGCONT);
        // The write given up is not made when the server wakes up: the level it had stays.
        const QStringList onServer = {"-s", "unix:" + dir + "/native", "get-sink-volume", "hang_null"};
        testsupport::pump(300);
        EXPECT_TRUE(pactl(onServer).contains(" 16384 /")) << pactl(onServer).toStdString();
        EXPECT_TRUE(waitUntil(
            [&] {
                v.volu->setVolumeLevel(20000);
                return v.volu->LastResult() == 0;
            },
            3000))
            << "answers again";
        EXPECT_EQ(v.volu->VolumeLevel(), 20000);
        EXPECT_TRUE(pactl(onServer).contains(" 20000 /")) << pactl(onServer).toStdString();
    }
    server.terminate();
    server.waitForFinished(5000);
}

TEST_F(Alsa, TheInputMeterFollowsWhatTheSinkPlays)
{
    pactl({"set-sink-volume", Sink, "65536"});
    Volume v;
    EXPECT_EQ(v.volu->CurrentVolumeMeterOutput(), 0);
    EXPECT_FALSE(v.volu->Capturing()) << "the output meter starts no capture";
    v.volu->CurrentVolumeMeterInput();
    ASSERT_TRUE(v.volu->Capturing());
    ASSERT_TRUE(v.shown.empty()) << v.shown.front().text.toStdString();

    // Two seconds of a 400 Hz tone at 100 of 127, 8-bit, into the sink the capture listens to.
    QByteArray tone(16000, '\0');
    for (int i = 0; i < tone.size(); ++i)
        tone[i] = char(128 + qRound(100 * qSin(2 * M_PI * 400 * i / 8000.0)));
    QProcess player;
    player.start("pacat", {"--playback", "--raw", "--format=u8", "--rate=8000", "--channels=1", "--device=" + Sink});
    ASSERT_TRUE(player.waitForStarted());
    player.write(tone);
    player.closeWriteChannel();
    qint32 loudest = 0;
    EXPECT_TRUE(waitUntil(
        [&] {
            loudest = std::max(loudest, v.volu->CurrentVolumeMeterInput());
            return loudest > 60;
        },
        3000))
        << loudest;
    EXPECT_LE(loudest, 127);
    player.waitForFinished(5000);
    EXPECT_TRUE(waitUntil([&] { return v.volu->CurrentVolumeMeterInput() <= 3; }, 3000))
        << v.volu->CurrentVolumeMeterInput();
}
