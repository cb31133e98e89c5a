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

#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

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

    Process service(const QStringList& arguments) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
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

// A seed and a channel of the built-in lineup whose song ends 5 to 7 s after the start.
std::pair<quint32, int> songEndingSoon()
{
    const xmservice::Lineup lineup = xmservice::Lineup::builtIn();
    for (quint32 seed = 1;; ++seed) {
        const xmservice::Schedule schedule(lineup, seed);
        for (int index = 0; index < lineup.size(); ++index) {
            const xmservice::NowPlaying playing = schedule.at(index, 4);
            const int left = playing.track.seconds - playing.position;
            if (left >= 1 && left <= 3)
                return {seed, lineup.at(index).number};
        }
    }
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
