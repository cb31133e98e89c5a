// The radio's sound through the real service on a private bus and a real sound server: the
// tests' PulseAudio with the null sink "receiver", whose monitor the service captures as the
// line-in vanto_line_in, and the null sink vanto_null behind ALSA's default output. The probe
// plays into "receiver" and records both monitors. Each test runs a sound server of its own, so
// that no other test's sound reaches its recordings.
#include "busrecorder.h"
#include "receiveremulator.h"
#include "service/lineup.h"
#include "service/schedule.h"
#include "service/sound/programme.h"
#include "soundprobe.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <opusfile.h>

using testsupport::Process;
using testsupport::pump;
using testsupport::waitUntil;

namespace {

constexpr long ClickPeriod = 12000; // frames: four clicks a second

// A PulseAudio server of the test's own, as the tests' shared one is made.
class SoundServer {
public:
    SoundServer() { EXPECT_TRUE(run("start")); }
    ~SoundServer() { run("stop"); }
    bool run(const char* action) const
    {
        return QProcess::execute("bash", {VANTO_SOURCE_DIR "/tests/volume/pulseserver.sh", action, m_folder.path()}) ==
               0;
    }
    QString address() const { return "unix:" + m_folder.filePath("native"); }
    QString pactl(const QStringList& arguments) const
    {
        return testsupport::pactl(QStringList{"-s", address()} + arguments);
    }

    // home: the user's folder the service saves songs under; the test's own when empty.
    Process service(const QStringList& arguments, const QString& home = {}) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!home.isEmpty()) {
            environment.insert("HOME", home);
            environment.insert("XDG_CONFIG_HOME", home + "/.config");
        }
        environment.insert("ALSA_CONFIG_PATH", qEnvironmentVariable("ALSA_CONFIG_PATH").section(':', 0, 0) + ":" +
                                                   m_folder.filePath("asound.conf"));
        environment.insert("PULSE_SERVER", address());
        Process process(new QProcess);
        process->setProcessEnvironment(environment);
        process->start(VANTO_PROGRAM_DIR "/xm-radio-service", arguments);
        EXPECT_TRUE(waitUntil(&radioNameOwned, 5000)) << process->readAllStandardError().toStdString();
        return process;
    }

private:
    QTemporaryDir m_folder;
};

QString logOf(Process& service)
{
    service->terminate();
    service->waitForFinished(5000);
    return QString::fromLocal8Bit(service->readAllStandardError());
}

// The first time from fromMs on that the output sounds, or -1.
double soundAfter(const probe::Recorder& out, double fromMs)
{
    const long at = probe::onset(out.left(), out.frameAt(fromMs));
    return at < 0 ? -1 : out.timeOf(at);
}

} // namespace

TEST(LineIn, PlaysOnTheOutputWithinAFewStepsAsMusicAndAMuteIsSilenceAtOnce)
{
    SoundServer server;
    ReceiverEmulator receiver;
    Process service = server.service({"--device", receiver.devicePath(), "--source", "vanto_line_in"});
    const probe::Recorder in("receiver.monitor", server.address());
    const probe::Recorder out("vanto_null.monitor", server.address());
    const probe::Player player("receiver", probe::clicks(ClickPeriod), server.address());
    const double started = probe::nowMs();
    pump(3000);
    const std::vector<double> heard = probe::delays(in, out, started + 1000, ClickPeriod);
    ASSERT_GE(heard.size(), 4u);
    // A busy machine may make one step late (and the service then catches up): the steady delay
    // is the middle one.
    std::vector<double> sorted = heard;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_LT(sorted[sorted.size() / 2], 100) << "ms from the line-in to the output";
    EXPECT_LT(sorted.back(), 500) << "ms at the most";
    const QString stream = server.pactl({"list", "sink-inputs"});
    EXPECT_TRUE(stream.contains("application.name = \"VANTO XM Radio\"")) << stream.toStdString();
    EXPECT_TRUE(stream.contains("media.role = \"music\"")) << stream.toStdString();

    const double muted = probe::nowMs();
    ASSERT_TRUE(callRadio("SetMute", true));
    pump(1200);
    EXPECT_EQ(probe::peak(out.left(), out.frameAt(muted + 100), out.frameAt(muted + 1200)), 0.0f);
    const double unmuted = probe::nowMs();
    ASSERT_TRUE(callRadio("SetMute", false));
    pump(800);
    const double again = soundAfter(out, unmuted);
    EXPECT_GE(again, unmuted);
    EXPECT_LT(again - unmuted, 400);
    EXPECT_FALSE(logOf(service).contains("no sound"));
}

TEST(LineIn, ComesBackWithinThreeSecondsOfARestartedSoundServerWithOneLogLine)
{
    SoundServer server;
    ReceiverEmulator receiver;
    Process service = server.service({"--device", receiver.devicePath(), "--source", "vanto_line_in"});
    const auto soundWithin = [&](double fromMs, int limitMs) {
        const probe::Recorder out("vanto_null.monitor", server.address());
        const probe::Player player("receiver", probe::clicks(ClickPeriod), server.address());
        waitUntil([&] { return soundAfter(out, fromMs) >= 0; }, limitMs);
        return soundAfter(out, fromMs) - fromMs;
    };
    EXPECT_GE(soundWithin(probe::nowMs(), 3000), 0);

    ASSERT_TRUE(server.run("stop"));
    pump(1000);
    ASSERT_TRUE(server.run("start"));
    const double back = soundWithin(probe::nowMs(), 4000);
    EXPECT_GE(back, 0);
    EXPECT_LT(back, 3000);
    EXPECT_EQ(logOf(service).count("no sound"), 1);
}

struct QuietCase {
    const char* name;
    QStringList arguments;
    const char* said;
};

class Quiet : public ::testing::TestWithParam<QuietCase> {};

TEST_P(Quiet, OpensNoStreamAndSaysWhyOnce)
{
    SoundServer server;
    ReceiverEmulator receiver;
    Process service = server.service(QStringList{"--device", receiver.devicePath()} + GetParam().arguments);
    pump(2500);
    EXPECT_EQ(server.pactl({"list", "short", "sink-inputs"}), "");
    EXPECT_EQ(server.pactl({"list", "short", "source-outputs"}), "");
    EXPECT_EQ(logOf(service).count(GetParam().said), 1);
}

INSTANTIATE_TEST_SUITE_P(Data, Quiet,
                         ::testing::Values(QuietCase{"sourceNone", {"--source", "none"}, "no sound is played"},
                                           QuietCase{"autoWithoutALineInput", {}, "no line input found"}),
                         [](const auto& info) { return info.param.name; });

namespace {

// A seed and a channel of the built-in lineup whose song ends from..to seconds after the start.
std::pair<quint32, int> songEnding(int from, int to)
{
    const xmservice::Lineup lineup = xmservice::Lineup::builtIn();
    for (quint32 seed = 1;; ++seed) {
        const xmservice::Schedule schedule(lineup, seed);
        for (int index = 0; index < lineup.size(); ++index) {
            const xmservice::NowPlaying playing = schedule.at(index, 4);
            const int left = playing.track.seconds - playing.position;
            if (left >= from - 4 && left <= to - 4)
                return {seed, lineup.at(index).number};
        }
    }
}

std::pair<quint32, int> songEndingSoon()
{
    return songEnding(5, 7);
}

// The bus's last report of the channel.
const BusSignal* lastReport(const BusRecorder& bus, int channel)
{
    const QList<BusSignal>& all = bus.all();
    const auto found = std::find_if(all.rbegin(), all.rend(), [&](const BusSignal& report) {
        return report.member == "CurrentChannelData" && report.arguments.at(0).toInt() == channel;
    });
    return found == all.rend() ? nullptr : &*found;
}

// The root the programme gives the song last reported for the channel.
int rootReported(const BusRecorder& bus, int channel)
{
    const BusSignal* report = lastReport(bus, channel);
    return report ? sound::rootStep(sound::songSeed(channel, report->arguments.at(2).toString(),
                                                    report->arguments.at(3).toString()))
                  : -1;
}

} // namespace

TEST(Simulator, PlaysEachSongOnItsOwnRootWithASecondOfSilenceAsTheReportsChangeIt)
{
    const auto [seed, endingChannel] = songEndingSoon();
    const int ending = endingChannel; // a lambda cannot take a structured binding in clang 14
    SoundServer server;
    BusRecorder bus;
    Process service = server.service({"--seed", QString::number(seed)});
    const probe::Recorder out("vanto_null.monitor", server.address());
    ASSERT_TRUE(waitUntil([&] { return out.heard(); }, 5000));
    const int other = ending == 1 ? 2 : 1;
    ASSERT_TRUE(callRadio("Channel", other));
    pump(1300);
    const double tuned = probe::nowMs();
    ASSERT_TRUE(callRadio("Channel", ending));
    pump(1300);
    std::vector<float> sound = out.left();
    const int otherRoot = probe::strongestRoot(sound, out.frameAt(tuned - 1000), out.frameAt(tuned));
    const int endingRoot = probe::strongestRoot(sound, out.frameAt(tuned + 300), out.frameAt(tuned + 1300));
    EXPECT_EQ(otherRoot, rootReported(bus, other));
    EXPECT_EQ(endingRoot, rootReported(bus, ending));

    // The song ends within seconds; the report of the next one and the silence go together.
    const QVariant firstTitle = lastReport(bus, ending)->arguments.at(3);
    ASSERT_TRUE(waitUntil([&] { return lastReport(bus, ending)->arguments.at(3) != firstTitle; }, 9000));
    const double reported = double(bus.madeAtMs() + lastReport(bus, ending)->arrivedMs);
    pump(2300);
    sound = out.left();
    const long silence = out.frameAt(reported);
    EXPECT_GT(probe::peak(sound, silence - 9600, silence - 4800), 0.01f) << "sound until the report";
    EXPECT_EQ(probe::peak(sound, silence + 9600, silence + 43200), 0.0f) << "silence from 200 to 900 ms after it";
    EXPECT_EQ(probe::strongestRoot(sound, silence + 57600, silence + 100800), rootReported(bus, ending));
}

namespace {

// The programme's tune is quiet; what the codec makes of its silence is far quieter.
constexpr float Faint = 0.01f;

struct Shift {
    bool on = false;
    bool paused = false;
    double behind = 0, buffered = 0, position = 0;
};

Shift timeShift()
{
    const QVariantList a = askRadio("TimeShift").arguments();
    return a.size() == 5 ? Shift{a[0].toBool(), a[1].toBool(), a[2].toDouble(), a[3].toDouble(), a[4].toDouble()}
                         : Shift{};
}

bool ask(const char* method)
{
    return askRadio(method).type() == QDBusMessage::ReplyMessage;
}

QString lastHeard(const BusRecorder& bus)
{
    const QList<BusSignal> heard = bus.received("SongHeard");
    return heard.isEmpty() ? QString() : heard.last().arguments.at(3).toString();
}

} // namespace

// The simulator's songs differ by their root, and each begins with a second of silence: what
// time shift plays after a pause or a step shows which song, and where in it.
TEST(TimeShift, PausesAndGoesOnBehindLiveThenStepsThroughTheSongsKeptAndATuneEmptiesIt)
{
    const auto [seed, endingChannel] = songEndingSoon();
    const int ending = endingChannel;
    SoundServer server;
    BusRecorder bus;
    Process service = server.service({"--seed", QString::number(seed)});
    const probe::Recorder out("vanto_null.monitor", server.address());
    ASSERT_TRUE(waitUntil([&] { return out.heard(); }, 5000));
    ASSERT_TRUE(callRadio("Channel", ending));
    pump(300);
    const QString firstTitle = lastReport(bus, ending)->arguments.at(3).toString();
    ASSERT_TRUE(waitUntil([&] { return lastReport(bus, ending)->arguments.at(3) != firstTitle; }, 9000));
    const QString secondTitle = lastReport(bus, ending)->arguments.at(3).toString();
    const int secondRoot = rootReported(bus, ending);
    pump(4000);

    const double pausedAt = timeShift().position;
    const double paused = probe::nowMs();
    ASSERT_TRUE(ask("Pause"));
    pump(5000);
    EXPECT_EQ(probe::peak(out.left(), out.frameAt(paused + 150), out.frameAt(paused + 5000)), 0.0f);
    const double resumed = probe::nowMs();
    ASSERT_TRUE(ask("Resume"));
    pump(1500);
    const Shift behind = timeShift();
    EXPECT_TRUE(behind.on);
    EXPECT_FALSE(behind.paused);
    EXPECT_NEAR(behind.behind, 5.0, 0.5) << "the pause's length behind live";
    EXPECT_NEAR(behind.position - pausedAt, 1.5, 0.4) << "on from the paused moment of the song";
    const long sounding = probe::onset(out.left(), out.frameAt(resumed), Faint);
    EXPECT_LT(out.timeOf(sounding) - resumed, 300);
    EXPECT_EQ(probe::strongestRoot(out.left(), out.frameAt(resumed + 300), out.frameAt(resumed + 1300)), secondRoot);
    EXPECT_EQ(lastHeard(bus), secondTitle);

    const double previous = probe::nowMs();
    ASSERT_TRUE(ask("PreviousSong"));
    EXPECT_LT(timeShift().position, 0.3) << "the start of the song heard";
    pump(1900);
    const std::vector<float> sound = out.left();
    EXPECT_LT(probe::peak(sound, out.frameAt(previous + 150), out.frameAt(previous + 850)), Faint / 10)
        << "its first second, silent";
    EXPECT_EQ(probe::strongestRoot(sound, out.frameAt(previous + 1150), out.frameAt(previous + 1900)), secondRoot);

    ASSERT_TRUE(ask("PreviousSong")); // within 3 s of its start: the song before
    pump(200);
    EXPECT_EQ(lastHeard(bus), firstTitle);
    ASSERT_TRUE(ask("NextSong"));
    pump(200);
    EXPECT_EQ(lastHeard(bus), secondTitle);
    ASSERT_TRUE(ask("NextSong"));
    EXPECT_EQ(timeShift().behind, 0.0) << "from the newest song to live";

    const int other = ending == 1 ? 2 : 1;
    ASSERT_TRUE(callRadio("Channel", other));
    pump(500);
    const Shift tuned = timeShift();
    EXPECT_LT(tuned.buffered, 1.0) << "a tune keeps nothing of the channel before";
    ASSERT_TRUE(ask("PreviousSong"));
    EXPECT_LT(timeShift().behind, 1.0);
}

TEST(TimeShift, SavesTheSongHeardWithItsTagsOrSaysWhyAndLeavesNothing)
{
    const auto [seed, channel] = songEnding(30, 600);
    SoundServer server;
    BusRecorder bus;
    const QTemporaryDir home;
    Process service = server.service({"--seed", QString::number(seed)}, home.path());
    const probe::Recorder out("vanto_null.monitor", server.address());
    ASSERT_TRUE(waitUntil([&] { return out.heard(); }, 5000)) << "kept from the first sound on";
    ASSERT_TRUE(callRadio("Channel", channel));
    pump(2500);
    const BusSignal* report = lastReport(bus, channel);
    ASSERT_NE(report, nullptr);
    const QDBusMessage saved = askRadio("SaveSong", {}, 30000);
    ASSERT_EQ(saved.type(), QDBusMessage::ReplyMessage) << saved.errorMessage().toStdString();
    const QString path = saved.arguments().value(0).toString();
    EXPECT_TRUE(path.startsWith(home.filePath("Music/VANTO XM/"))) << path.toStdString();
    OggOpusFile* file = op_open_file(QFile::encodeName(path).constData(), nullptr);
    ASSERT_NE(file, nullptr);
    const double seconds = double(op_pcm_total(file, -1)) / 48000;
    const QString artist = QString::fromUtf8(opus_tags_query(op_tags(file, -1), "ARTIST", 0));
    const QString title = QString::fromUtf8(opus_tags_query(op_tags(file, -1), "TITLE", 0));
    op_free(file);
    EXPECT_GT(seconds, 1.5) << "the song from the tune to now";
    EXPECT_LT(seconds, 3.5);
    EXPECT_EQ(artist, report->arguments.at(2).toString());
    EXPECT_EQ(title, report->arguments.at(3).toString());

    // A file where the folder should be: nothing can be written.
    ASSERT_TRUE(QDir(home.filePath("Music/VANTO XM")).removeRecursively());
    QFile blocker(home.filePath("Music/VANTO XM"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QDBusMessage failed = askRadio("SaveSong", {}, 30000);
    EXPECT_EQ(failed.type(), QDBusMessage::ErrorMessage);
    EXPECT_TRUE(failed.errorMessage().contains("VANTO XM")) << failed.errorMessage().toStdString();
    EXPECT_EQ(QDir(home.filePath("Music")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"VANTO XM"});
}
