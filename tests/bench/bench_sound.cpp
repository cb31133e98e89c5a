// The play-through from the receiver's line-in to the output, against `arecord | aplay` at the
// same format on the same sound server, in the same run: the delay of a click from the line-in
// to the output's monitor, and the CPU of the service against that of both processes of the pipe.
// The pipe runs with its own buffers (about half a second each) and again with the service's
// step of 20 ms. With --soak SECONDS it then plays a tone through the service for that long and
// counts the gaps on the output and the overruns and underruns the service logs.
#include "processcpu.h"
#include "soundprobe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <pulse/simple.h>
#include <vector>

namespace {

const int Rounds = qEnvironmentVariableIsSet("BENCH_QUICK") ? 1 : 3;
constexpr int SettleMs = 2000;
constexpr int LatencyMs = 6000;
const int CpuMs = qEnvironmentVariableIsSet("BENCH_QUICK") ? 6000 : 15000;
constexpr long ClickPeriod = 48000; // a click a second: a delay of up to a second is told apart

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
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Contestant {
    const char* name;
    std::function<std::vector<std::unique_ptr<QProcess>>()> start;
};

QProcessEnvironment soundEnvironment(const QTemporaryDir& server)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ALSA_CONFIG_PATH", "/usr/share/alsa/alsa.conf:" + server.filePath("asound.conf"));
    environment.insert("PULSE_SERVER", "unix:" + server.filePath("native"));
    return environment;
}

std::vector<std::unique_ptr<QProcess>> service(const QProcessEnvironment& environment)
{
    std::vector<std::unique_ptr<QProcess>> processes;
    processes.push_back(std::make_unique<QProcess>());
    processes[0]->setProcessEnvironment(environment);
    processes[0]->start(VANTO_PROGRAM_DIR "/xm-radio-service",
                        {"--device", "/nonexistent-receiver", "--source", "vanto_line_in"});
    return processes;
}

std::vector<std::unique_ptr<QProcess>> pipe(const QProcessEnvironment& environment, const QStringList& buffers)
{
    const QStringList format{"-q", "-f", "S16_LE", "-r", "48000", "-c", "2", "-t", "raw"};
    std::vector<std::unique_ptr<QProcess>> processes;
    processes.push_back(std::make_unique<QProcess>());
    processes.push_back(std::make_unique<QProcess>());
    processes[0]->setProcessEnvironment(environment);
    processes[1]->setProcessEnvironment(environment);
    processes[0]->setStandardOutputProcess(processes[1].get());
    processes[0]->start("arecord", QStringList{"-D", "vanto_line_in"} + format + buffers);
    processes[1]->start("aplay", QStringList{"-D", "default"} + format + buffers);
    return processes;
}

qint64 cpuOf(const std::vector<std::unique_ptr<QProcess>>& processes)
{
    qint64 total = 0;
    for (const auto& process : processes)
        total += cpuMs(*process);
    return total;
}

struct Figures {
    std::vector<double> delays;
    std::vector<double> cpu;
};

void measure(const Contestant& contestant, const QString& address, Figures& figures)
{
    auto processes = contestant.start();
    pump(SettleMs);
    {
        const probe::Recorder in("receiver.monitor", address);
        const probe::Recorder out("vanto_null.monitor", address);
        const probe::Player clicks("receiver", probe::clicks(ClickPeriod), address);
        pump(LatencyMs);
        const std::vector<float> input = in.left();
        const std::vector<float> output = out.left();
        std::vector<double> delays;
        for (long click = probe::onset(input, in.frameAt(in.timeOf(0) + 1000)); click >= 0;
             click = probe::onset(input, click + ClickPeriod / 2)) {
            const long there = probe::onset(output, out.frameAt(in.timeOf(click) - 5));
            if (there >= 0)
                delays.push_back(out.timeOf(there) - in.timeOf(click));
        }
        figures.delays.push_back(median(delays));
    }
    const probe::Player tone(
        "receiver",
        [](long frame) {
            const float sample = 0.3f * float(std::sin(2 * std::numbers::pi * 440 * double(frame) / probe::Rate));
            return std::pair(sample, sample);
        },
        address);
    const qint64 before = cpuOf(processes);
    pump(CpuMs);
    figures.cpu.push_back(double(cpuOf(processes) - before) * 100 / CpuMs);
    for (auto& process : processes) {
        process->terminate();
        process->waitForFinished(3000);
    }
}

// Gaps of 5 ms or more in a tone played through the service, and its count of xruns.
void soak(const QProcessEnvironment& environment, const QString& address, int seconds)
{
    auto processes = service(environment);
    const probe::Player tone(
        "receiver",
        [](long frame) {
            const float sample = 0.3f * float(std::sin(2 * std::numbers::pi * 440 * double(frame) / probe::Rate));
            return std::pair(sample, sample);
        },
        address);
    pump(SettleMs);
    const pa_sample_spec spec{PA_SAMPLE_S16LE, 48000, 2};
    pa_simple* monitor = pa_simple_new(qPrintable(address), "bench", PA_STREAM_RECORD, "vanto_null.monitor", "soak",
                                       &spec, nullptr, nullptr, nullptr);
    std::vector<qint16> step(4800 * 2);
    long quiet = 0, gaps = 0, longest = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < qint64(seconds) * 1000 &&
           pa_simple_read(monitor, step.data(), step.size() * 2, nullptr) >= 0) {
        for (std::size_t i = 0; i < step.size(); i += 2) {
            quiet = std::abs(step[i]) < 330 ? quiet + 1 : 0;
            longest = std::max(longest, quiet);
            gaps += quiet == 240 ? 1 : 0;
        }
        QCoreApplication::processEvents();
    }
    pa_simple_free(monitor);
    processes[0]->terminate();
    processes[0]->waitForFinished(3000);
    const QString log = QString::fromLocal8Bit(processes[0]->readAllStandardError());
    std::printf("\nsoak of %d s: %ld gaps of 5 ms or more (longest quiet run %.1f ms); the service logged %lld lines "
                "of overruns and underruns\n",
                seconds, gaps, double(longest) * 1000 / 48000, log.count("overruns"));
    std::fputs(qPrintable(log), stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir server;
    QProcess::execute("bash", {VANTO_SOURCE_DIR "/tests/volume/pulseserver.sh", "start", server.path()});
    const QString address = "unix:" + server.filePath("native");
    const QProcessEnvironment environment = soundEnvironment(server);
    const std::vector<Contestant> contestants{
        {"xm-radio-service", [&] { return service(environment); }},
        {"arecord | aplay, their own buffers", [&] { return pipe(environment, {}); }},
        {"arecord | aplay, 20 ms periods",
         [&] {
             return pipe(environment, {"--period-time=20000", "--buffer-time=60000"});
         }},
    };
    std::vector<Figures> figures(contestants.size());
    for (int round = 0; round < Rounds; ++round) {
        for (std::size_t i = 0; i < contestants.size(); ++i)
            measure(contestants[i], address, figures[i]);
    }
    std::printf("%-38s %14s %16s %12s\n", "line-in to output", "delay (ms)", "CPU (% of core)", "CPU ratio");
    for (std::size_t i = 0; i < contestants.size(); ++i) {
        const double cpu = median(figures[i].cpu);
        std::printf("%-38s %14.1f %16.2f %12.2f\n", contestants[i].name, median(figures[i].delays), cpu,
                    median(figures[0].cpu) / cpu);
    }
    const int soakIndex = application.arguments().indexOf("--soak");
    if (soakIndex > 0 && soakIndex + 1 < application.arguments().size())
        soak(environment, address, application.arguments().at(soakIndex + 1).toInt());
    QProcess::execute("bash", {VANTO_SOURCE_DIR "/tests/volume/pulseserver.sh", "stop", server.path()});
    return 0;
}
