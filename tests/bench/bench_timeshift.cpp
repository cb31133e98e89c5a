// Time shift: what an hour of kept sound costs, and how soon a listener hears a pause, a resume
// and a skip between songs.
// - Memory: an hour of music-like sound (the simulator's tunes over drums and a noise floor)
//   appended as fast as it encodes to a buffer that keeps 60 minutes, at the service's quality;
//   the buffer's bytes and the process's growth of VmRSS, VmHWM and malloc's bytes in use.
// - CPU: ten minutes of the same sound through the buffer, in the service's 20 ms steps, against
//   opusenc on the same sound at the same bitrate, complexity and constrained VBR, in turns.
// - Delays: the real service with the simulator on a PulseAudio server of the benchmark's own;
//   from the bus call to silence or to sound on the output's monitor, against the service's mute
//   and unmute, the same call and the same output without time shift, in turns.
#include "benchsupport.h"
#include "bus/xmradio_names.h"
#include "busrecorder.h"
#include "service/lineup.h"
#include "service/schedule.h"
#include "service/sound/programme.h"
#include "service/sound/timeshift.h"
#include "soundprobe.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <malloc.h>
#include <random>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using sound::Sample;
using sound::TimeShiftBuffer;

constexpr long Rate = TimeShiftBuffer::Rate;
constexpr long StepFrames = Rate * sound::StepMs / 1000;
constexpr int ClipMinutes = 10;
constexpr int SongSeconds = 100;
constexpr int CpuRounds = 5;
constexpr int DelayRounds = 5;
constexpr float Loud = 0.01f; // sound: the programme's held root alone is several times this
// Silence: 50 ms below about -50 dBFS; a tune's held root (110 Hz or more) never stays that low so
// long.
constexpr float Quiet = 0.003f;
constexpr long QuietRun = Rate / 20;

// --- the sound -------------------------------------------------------------------------------

// Ten minutes of music-like sound: one of the simulator's tunes every 100 s, with a kick and
// a decaying noise burst on the beats, off-beat hats and a soft noise floor, wide in stereo, so
// that the encoder meets tones, noise and changes as in broadcast music.
std::vector<Sample> musicLike()
{
    const long frames = long(ClipMinutes) * 60 * Rate;
    std::vector<Sample> clip(std::size_t(frames) * 2);
    std::minstd_rand random(7);
    std::normal_distribution<double> noise(0, 1);
    std::vector<Sample> tune(std::size_t(SongSeconds) * Rate * 2);
    for (long song = 0; song * SongSeconds * Rate < frames; ++song) {
        sound::Tune(quint32(1000 + 37 * song), unsigned(Rate)).render(tune.data(), long(SongSeconds) * Rate);
        const double beat = 60.0 / (84 + 8 * double(song % 5));
        const double hatLevel = 0.02 + 0.01 * double(song % 3);
        for (long i = 0; i < long(SongSeconds) * Rate; ++i) {
            const long at = song * SongSeconds * Rate + i;
            if (at >= frames)
                break;
            const double seconds = double(i) / Rate;
            const double intoBeat = std::fmod(seconds, beat);
            const double intoHalf = std::fmod(seconds, beat / 2);
            const bool strong = long(seconds / beat) % 2 == 0;
            const double kick = strong ? 0.15 * std::exp(-intoBeat / 0.08) * std::sin(2 * M_PI * 55 * intoBeat) : 0;
            const double snare = strong ? 0 : 0.06 * std::exp(-intoBeat / 0.06);
            const double hat = hatLevel * std::exp(-intoHalf / 0.02);
            const double floor = 0.004;
            for (int side = 0; side < 2; ++side) {
                const double value =
                    double(tune[std::size_t(2 * i + side)]) / 32768 + kick + (snare + hat + floor) * noise(random);
                clip[std::size_t(2 * at + side)] = Sample(std::lround(std::clamp(value, -1.0, 1.0) * 32767));
            }
        }
    }
    return clip;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double wallSeconds()
{
    return probe::nowMs() / 1000;
}

// Appends the clip `times` times over in the service's steps; the CPU seconds the appends took.
double appendClip(TimeShiftBuffer& buffer, const std::vector<Sample>& clip, int times)
{
    const long frames = long(clip.size() / 2);
    double cpu = 0;
    for (int pass = 0; pass < times; ++pass) {
        const double before = threadCpuSeconds();
        for (long at = 0; at < frames; at += StepFrames)
            buffer.append(clip.data() + 2 * at, std::min(StepFrames, frames - at));
        cpu += threadCpuSeconds() - before;
    }
    return cpu;
}

// The kilobytes of a line of /proc/self/status.
double statusKb(const char* key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toDouble();
    return -1;
}

// The bytes malloc has handed out and not yet taken back.
double heapKb()
{
    return double(mallinfo2().uordblks) / 1024;
}

void memoryOfAnHour(const std::vector<Sample>& clip)
{
    // The peak so far (the clip's making) is set back to the present, so that VmHWM's growth is
    // the hour's own.
    QFile peak(QStringLiteral("/proc/self/clear_refs"));
    const bool peakReset = peak.open(QIODevice::WriteOnly) && peak.write("5") == 1;
    peak.close();
    const double rssBefore = statusKb("VmRSS:");
    const double hwmBefore = statusKb("VmHWM:");
    const double heapBefore = heapKb();
    TimeShiftBuffer buffer(60);
    const double wallBefore = wallSeconds();
    const double cpu = appendClip(buffer, clip, 60 / ClipMinutes);
    const double wall = wallSeconds() - wallBefore;
    const double rss = statusKb("VmRSS:") - rssBefore;
    const double hwm = statusKb("VmHWM:") - hwmBefore;
    const double heap = heapKb() - heapBefore;
    const double megabytes = double(buffer.bytes()) / 1e6;
    std::printf("an hour kept (%.0f s of sound, the %d-minute clip %d times): %.1f MB of Opus (%.1f kbit/s)\n",
                buffer.bufferedSeconds(), ClipMinutes, 60 / ClipMinutes, megabytes,
                double(buffer.bytes()) * 8 / buffer.bufferedSeconds() / 1000);
    std::printf(
        "  growth of the process: VmRSS %+.1f MB, VmHWM %+.1f MB%s, heap in use %+.1f MB   target <= 60 MB  %s\n",
        rss * 1.024e-3, hwm * 1.024e-3, peakReset ? "" : " (peak not reset)", heap * 1.024e-3,
        std::max(rss, hwm) * 1.024e-3 <= 60 ? "ok" : "MISSED");
    std::printf("  the hour encoded in %.1f s of CPU (%.1f s wall): %.2f %% of one core at real time\n\n", cpu, wall,
                cpu / 36);
}

// --- the encoder's CPU against opusenc ---------------------------------------------------------

// The CPU seconds (user and system) of opusenc on the raw clip, as wait4 reports them.
double opusencSeconds(const QString& raw)
{
    const QByteArray input = raw.toLocal8Bit();
    const char* const arguments[] = {"opusenc",    "--quiet", "--raw",           "--raw-rate", "48000",
                                     "--raw-chan", "2",       "--bitrate",       "96",         "--comp",
                                     "8",          "--cvbr",  input.constData(), "/dev/null",  nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, "opusenc", &actions, nullptr, const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void encoderCpu(const std::vector<Sample>& clip)
{
    QTemporaryDir folder;
    const QString raw = folder.filePath("clip.raw");
    QFile file(raw);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(clip.data()), qint64(clip.size() * sizeof(Sample))) !=
            qint64(clip.size() * sizeof(Sample))) {
        std::printf("the clip could not be written for opusenc\n");
        return;
    }
    file.close();
    const double seconds = double(ClipMinutes) * 60;
    std::vector<double> ours, theirs;
    for (int round = 0; round < CpuRounds; ++round) {
        TimeShiftBuffer buffer(60);
        ours.push_back(appendClip(buffer, clip, 1) / seconds * 100);
        const double opusenc = opusencSeconds(raw);
        if (opusenc < 0) {
            std::printf("opusenc failed (is opus-tools installed?)\n");
            return;
        }
        theirs.push_back(opusenc / seconds * 100);
    }
    std::printf("%d minutes encoded, %d rounds in turns; CPU as a share of one core at real time\n", ClipMinutes,
                CpuRounds);
    bench::pairedRow("the buffer's appends (% of core)", ours, theirs, "%", 1.3);
    std::printf("%-38s %10.3f %%   target < 3 %%  %s\n\n", "the buffer's appends, absolute", bench::median(ours),
                bench::median(ours) < 3 ? "ok" : "MISSED");
}

// --- the service's delays ----------------------------------------------------------------------

void pump(int ms)
{
    const double end = probe::nowMs() + ms;
    while (probe::nowMs() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

// The bus recorder's call, with the arguments as a list.
bool callRadio(const char* method, const QVariantList& arguments = {})
{
    return askRadio(QString::fromLatin1(method), arguments).type() == QDBusMessage::ReplyMessage;
}

// Milliseconds from fromMs to the output's first loud frame, or -1.
double toSound(const probe::Recorder& out, double fromMs)
{
    const long at = probe::onset(out.left(), out.frameAt(fromMs), Loud);
    return at < 0 ? -1 : out.timeOf(at) - fromMs;
}

// Milliseconds from fromMs to the start of the output's first quiet run of 50 ms, or -1.
double toSilence(const probe::Recorder& out, double fromMs)
{
    const std::vector<float> left = out.left();
    long run = 0;
    for (long i = out.frameAt(fromMs); i < long(left.size()); ++i) {
        run = std::abs(left[std::size_t(i)]) < Quiet ? run + 1 : 0;
        if (run == QuietRun)
            return out.timeOf(i + 1 - run) - fromMs;
    }
    return -1;
}

// One call timed to the change it brings on the output.
double timed(const probe::Recorder& out, bool toQuiet, int waitMs, const char* method,
             const QVariantList& arguments = {})
{
    const double called = probe::nowMs();
    if (!callRadio(method, arguments))
        return -1;
    pump(waitMs);
    return toQuiet ? toSilence(out, called) : toSound(out, called);
}

// A seed and a channel of the built-in lineup whose song ends 4 to 6 s after 4 s of running: the
// benchmark tunes to it about then, and the next song's mark follows a few seconds later.
std::pair<quint32, int> songEndingSoon()
{
    const xmservice::Lineup lineup = xmservice::Lineup::builtIn();
    for (quint32 seed = 1;; ++seed) {
        const xmservice::Schedule schedule(lineup, seed);
        for (int index = 0; index < lineup.size(); ++index) {
            const xmservice::NowPlaying playing = schedule.at(index, 4);
            const int left = playing.track.seconds - playing.position;
            const xmservice::Track after = schedule.at(index, 4 + left).track;
            // A channel of one programme follows it with itself: no new song, no mark.
            if (left >= 4 && left <= 6 && (after.title != playing.track.title || after.artist != playing.track.artist))
                return {seed, lineup.at(index).number};
        }
    }
}

// The channel's last CurrentChannelData, or none.
const BusSignal* lastReport(const BusRecorder& bus, int channel)
{
    const QList<BusSignal>& all = bus.all();
    for (auto report = all.rbegin(); report != all.rend(); ++report)
        if (report->member == "CurrentChannelData" && report->arguments.at(0).toInt() == channel)
            return &*report;
    return nullptr;
}

// The artist and title last reported for the channel: a new song when either changes.
QString songOf(const BusRecorder& bus, int channel)
{
    const BusSignal* report = lastReport(bus, channel);
    return report ? report->arguments.at(2).toString() + '\n' + report->arguments.at(3).toString() : QString();
}

int rootOf(const BusRecorder& bus, int channel)
{
    const BusSignal* report = lastReport(bus, channel);
    return report ? sound::rootStep(sound::songSeed(channel, report->arguments.at(2).toString(),
                                                    report->arguments.at(3).toString()))
                  : -1;
}

struct Row {
    const char* what;
    std::vector<double> ours;
    const char* bareName;
    std::vector<double> bare;
    double targetMs;
};

void printRow(const Row& row)
{
    const auto [low, high] = std::minmax_element(row.ours.begin(), row.ours.end());
    const double ours = bench::median(row.ours);
    const double bare = bench::median(row.bare);
    std::printf("%-30s %7.1f ms (%.1f to %.1f)   %-8s %7.1f ms   ratio %5.2f   target < %.0f ms  %s\n", row.what, ours,
                *low, *high, row.bareName, bare, ours / bare, row.targetMs,
                *high >= 0 && *low >= 0 && ours < row.targetMs ? "ok" : "MISSED");
}

void serviceDelays()
{
    QTemporaryDir server;
    const QString script = VANTO_SOURCE_DIR "/tests/volume/pulseserver.sh";
    if (QProcess::execute("bash", {script, "start", server.path()}) != 0)
        return;
    const QString address = "unix:" + server.filePath("native");
    QTemporaryDir config; // no settings of the user's: time shift keeps its default hour
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ALSA_CONFIG_PATH", "/usr/share/alsa/alsa.conf:" + server.filePath("asound.conf"));
    environment.insert("PULSE_SERVER", address);
    environment.insert("XDG_CONFIG_HOME", config.path());
    const auto [seed, ending] = songEndingSoon();
    BusRecorder bus;
    QProcess service;
    service.setProcessEnvironment(environment);
    const double started = probe::nowMs();
    service.start(VANTO_PROGRAM_DIR "/xm-radio-service", {"--seed", QString::number(seed)});
    {
        const probe::Recorder out("vanto_null.monitor", address);
        while (!out.heard() && probe::nowMs() - started < 8000)
            pump(20);
        const int other = ending == 1 ? 2 : 1;
        callRadio("Channel", {other});
        pump(300);
        const double tuned = probe::nowMs();
        callRadio("Channel", {ending});
        pump(500);
        const QString first = songOf(bus, ending);
        const int firstRoot = rootOf(bus, ending);
        while (songOf(bus, ending) == first && probe::nowMs() - tuned < 15000)
            pump(20);
        const double secondSong = probe::nowMs();
        std::printf("the service with the simulator (seed %u), tuned to channel %d %.1f s after its start; its "
                    "next song came %.1f s later\n",
                    seed, ending, (tuned - started) / 1000, (secondSong - tuned) / 1000);
        if (songOf(bus, ending) == first) {
            std::printf("no next song came: nothing measured\n");
            service.terminate();
            service.waitForFinished(5000);
            QProcess::execute("bash", {script, "stop", server.path()});
            return;
        }
        pump(1500); // into the new song's sound, after its second of silence

        Row pause{"Pause to silence", {}, "mute", {}, 100};
        Row resume{"Resume to sound", {}, "unmute", {}, 100};
        for (int round = 0; round < DelayRounds; ++round) {
            pause.bare.push_back(timed(out, true, 700, "SetMute", {true}));
            resume.bare.push_back(timed(out, false, 700, "SetMute", {false}));
            pause.ours.push_back(timed(out, true, 700, "Pause"));
            resume.ours.push_back(timed(out, false, 700, "Resume"));
        }

        // Each round from behind live in the newest song, well past its start: back to its mark
        // (the simulator's second of silence between songs comes first there), then within 3 s
        // of it on to the first song's mark, sound at once (the tuning's); forward to the newest
        // mark's silence again, and past it to live sound.
        Row previous{"PreviousSong to sound", {}, "unmute", resume.bare, 150};
        Row previousQuiet{"PreviousSong to the mark", {}, "mute", pause.bare, 150};
        Row next{"NextSong to the mark", {}, "mute", pause.bare, 150};
        Row live{"NextSong to live sound", {}, "unmute", resume.bare, 150};
        std::vector<int> roots;
        for (int round = 0; round < DelayRounds; ++round) {
            previousQuiet.ours.push_back(timed(out, true, 400, "PreviousSong"));
            const double called = probe::nowMs();
            previous.ours.push_back(timed(out, false, 700, "PreviousSong"));
            const long from = out.frameAt(called + previous.ours.back() + 50);
            roots.push_back(probe::strongestRoot(out.left(), from, from + Rate / 2));
            next.ours.push_back(timed(out, true, 400, "NextSong"));
            live.ours.push_back(timed(out, false, 700, "NextSong"));
        }
        std::printf("the first song's root is %d; heard after each PreviousSong to it:", firstRoot);
        for (const int root : roots)
            std::printf(" %d", root);
        std::printf("\n");
        for (const Row* row : {&pause, &resume, &previous, &previousQuiet, &next, &live})
            printRow(*row);
    }
    service.terminate();
    service.waitForFinished(5000);
    QProcess::execute("bash", {script, "stop", server.path()});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as it comes, also into a file
    if (!application.arguments().contains("--delays-only")) {
        const double made = wallSeconds();
        const std::vector<Sample> clip = musicLike();
        std::printf("%d minutes of music-like sound made in %.1f s\n", ClipMinutes, wallSeconds() - made);
        memoryOfAnHour(clip);
        encoderCpu(clip);
    }
    serviceDelays();
    return 0;
}
