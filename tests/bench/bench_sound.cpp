// The play-through from the receiver's line-in to the output, against `arecord | aplay` at the
// same format on the same sound server, in the same run: the delay of a click from the line-in
// to the output's monitor, and the CPU of the service against that of both processes of the pipe.
// The pipe runs with its own buffers (about half a second each), and again with the service's
// step of 20 ms. With --soak SECONDS it then plays a tone through the service for that long and
// counts the gaps on the output and the lines of overruns and underruns the service logs.
#include "processcpu.h"
#include "soundprobe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int Rounds = 3;
constexpr int SettleMs = 2000;
constexpr int LatencyMs = 6000;
constexpr int CpuMs = 15000;
constexpr long ClickPeriod = 48000; // a click a second: a delay of up to a second is told apart
using Processes = std::vector<std::unique_ptr<QProcess>>;

void pump(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// Each process of the contestant, started on the bench's sound server.
Processes start(const QStringList& commands, const QTemporaryDir& server)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ALSA_CONFIG_PATH", "/usr/share/alsa/alsa.conf:" + server.filePath("asound.conf"));
    environment.insert("PULSE_SERVER", "unix:" + server.filePath("native"));
    Processes processes;
    for (const QString& command : commands) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->setProcessEnvironment(environment);
        if (processes.size() == 2) // a pipe
            processes[0]->setStandardOutputProcess(processes[1].get());
        QStringList words = command.split(' ', Qt::SkipEmptyParts);
        processes.back()->setProgram(words.takeFirst());
        processes.back()->setArguments(words);
    }
    for (const auto& process : processes)
        process->start();
    return processes;
}

qint64 cpuOf(const Processes& processes)
{
    qint64 total = 0;
    for (const auto& process : processes)
        total += cpuMs(*process);
    return total;
}

void stop(const Processes& processes)
{
    for (const auto& process : processes) {
        process->terminate();
        process->waitForFinished(3000);
    }
}

struct Contestant {
    const char* name;
    QStringList commands;
    std::vector<double> delays;
    std::vector<double> cpu;
};

void measure(Contestant& contestant, const QTemporaryDir& server)
{
    const QString address = "unix:" + server.filePath("native");
    const Processes processes = start(contestant.commands, server);
    pump(SettleMs);
    {
        const probe::Recorder in("receiver.monitor", address);
        const probe::Recorder out("vanto_null.monitor", address);
        const probe::Player clicks("receiver", probe::clicks(ClickPeriod), address);
        pump(LatencyMs);
        contestant.delays.push_back(median(probe::delays(in, out, in.timeOf(0) + 1000, ClickPeriod)));
    }
    const probe::Player tone("receiver", probe::tone(440), address);
    const qint64 before = cpuOf(processes);
    pump(CpuMs);
    contestant.cpu.push_back(double(cpuOf(processes) - before) * 100 / CpuMs);
    stop(processes);
}

// The runs of 5 ms or more without the tone after it was first heard (a monitor starts with
// silence of its own), and the longest, each gap by its second in the recording.
struct Gaps {
    long frame = 0, quiet = 0, longest = 0;
    bool heard = false;
    std::vector<double> at;
    void operator()(const std::vector<float>& read)
    {
        for (const float sample : read) {
            ++frame;
            heard = heard || std::abs(sample) >= 0.01f;
            quiet = heard && std::abs(sample) < 0.01f ? quiet + 1 : 0;
            longest = std::max(longest, quiet);
            if (quiet == 240)
                at.push_back(double(frame - quiet) / probe::Rate);
        }
    }
};

// The output's gaps that no gap on the line-in explains: the line-in's own (its player is late
// on a busy machine) come out on the output a moment later, on a recording started at about
// the same time.
long ownGaps(const Gaps& out, const Gaps& in)
{
    return std::ranges::count_if(out.at, [&](double second) {
        return std::ranges::none_of(in.at, [&](double inSecond) { return std::abs(second - inSecond) < 1.0; });
    });
}

std::string seconds(const std::vector<double>& at)
{
    std::string text;
    for (const double second : at)
        text += " " + std::to_string(std::lround(second));
    return text.empty() ? " none" : text;
}

// A tone played through the service: its gaps on the line-in (the probe's own) and on the output.
void soak(const QString& service, const QTemporaryDir& server, int seconds)
{
    const QString address = "unix:" + server.filePath("native");
    const Processes processes = start({service}, server);
    const probe::Player tone("receiver", probe::tone(440), address);
    pump(SettleMs);
    Gaps in, out;
    {
        const probe::Recorder lineIn("receiver.monitor", address, std::ref(in));
        const probe::Recorder output("vanto_null.monitor", address, std::ref(out));
        pump(seconds * 1000);
    }
    stop(processes);
    const QString log = QString::fromLocal8Bit(processes[0]->readAllStandardError());
    std::printf("\nsoak of %d s: %zu gaps of 5 ms or more on the output (longest quiet run %.1f ms), %zu on the "
                "line-in, %ld of the service's own (on the output alone); %lld log lines of overruns, underruns "
                "and steps left out\ngaps on the output at second:%s\ngaps on the line-in at second:%s\n%s",
                seconds, out.at.size(), double(out.longest) * 1000 / probe::Rate, in.at.size(), ownGaps(out, in),
                log.count("overruns"), ::seconds(out.at).c_str(), ::seconds(in.at).c_str(), qPrintable(log));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir server;
    const QString script = VANTO_SOURCE_DIR "/tests/volume/pulseserver.sh";
    QProcess::execute("bash", {script, "start", server.path()});
    const QString service = VANTO_PROGRAM_DIR "/xm-radio-service --device /nonexistent-receiver --source vanto_line_in";
    const QString format = " -q -f S16_LE -r 48000 -c 2 -t raw";
    std::vector<Contestant> contestants{
        {"xm-radio-service", {service}, {}, {}},
        {"arecord | aplay, their own buffers",
         {"arecord -D vanto_line_in" + format, "aplay -D default" + format},
         {},
         {}},
        {"arecord | aplay, 20 ms periods",
         {"arecord -D vanto_line_in --period-time=20000 --buffer-time=60000" + format,
          "aplay -D default --period-time=20000 --buffer-time=60000" + format},
         {},
         {}},
    };
    for (int round = 0; round < Rounds; ++round) {
        for (Contestant& contestant : contestants)
            measure(contestant, server);
    }
    std::printf("%-38s %12s %16s %10s\n", "line-in to output", "delay (ms)", "CPU (% of core)", "ratio");
    for (const Contestant& contestant : contestants)
        std::printf("%-38s %12.1f %16.2f %10.2f\n", contestant.name, median(contestant.delays), median(contestant.cpu),
                    median(contestants[0].cpu) / median(contestant.cpu));
    std::fflush(stdout);
    if (const int at = int(application.arguments().indexOf("--soak")); at > 0 && at + 1 < argc)
        soak(service, server, application.arguments().at(at + 1).toInt());
    QProcess::execute("bash", {script, "stop", server.path()});
    return 0;
}
