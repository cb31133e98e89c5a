// The radio service's own CPU while it walks a 170-channel line-up over a serial line at the
// full 9600 baud, against the simulator sending the same reports at the same rate without a
// serial line, in the same run. The receiver is emulated on a pseudo-terminal that carries the
// replies no faster than the real line would, handed over every 16 ms as the PCR's USB-serial
// chip does.
#include "busrecorder.h"
#include "processcpu.h"
#include "receiveremulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

const QString ServicePath = QStringLiteral(VANTO_PROGRAM_DIR "/xm-radio-service");
constexpr int WarmUpMs = 4000;
constexpr int MeasureMs = 20000;

void pump(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

QList<ReceiverEmulator::Channel> bigLineup()
{
    QList<ReceiverEmulator::Channel> lineup;
    for (int number = 1; number <= 170; ++number)
        lineup.append({number, number + 50, "Station " + QByteArray::number(number), "Rock",
                       "Artist of channel " + QByteArray::number(number), "A title long enough to fill the field"});
    return lineup;
}

struct Figure {
    double cpuPercent = 0;
    double reportsPerSecond = 0;
};

// The service's CPU over the measuring time, in percent of one core, and the line-up reports it
// sent meanwhile.
Figure measure(const QStringList& arguments)
{
    BusRecorder recorder;
    QProcess service;
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service.start(ServicePath, arguments);
    service.waitForStarted(3000);
    pump(WarmUpMs);
    const int reportsBefore = recorder.count("ChannelData");
    const qint64 cpuBefore = cpuMs(service);
    pump(MeasureMs);
    Figure figure;
    figure.cpuPercent = double(cpuMs(service) - cpuBefore) * 100 / MeasureMs;
    figure.reportsPerSecond = double(recorder.count("ChannelData") - reportsBefore) * 1000 / MeasureMs;
    service.terminate();
    service.waitForFinished(3000);
    return figure;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ReceiverEmulator receiver(bigLineup());
    receiver.setBaud(9600, 16);
    const Figure usb = measure({"--device", receiver.devicePath()});
    // A plain UART with a small buffer wakes the service more often: bytes every 5 ms.
    receiver.setBaud(9600, 5);
    const Figure uart = measure({"--device", receiver.devicePath()});
    // The simulator lists a channel every 85 ms, the time one channel info reply takes at 9600 baud.
    const Figure simulated = measure({"--interval", "85", "--seed", "1"});
    const auto row = [&](const char* what, const Figure& figure) {
        std::printf("%-46s %5.2f %% of one core, %4.1f reports/s   ratio %5.2f   target < 1 %%  %s\n", what,
                    figure.cpuPercent, figure.reportsPerSecond, figure.cpuPercent / simulated.cpuPercent,
                    figure.cpuPercent < 1.0 ? "ok" : "MISSED");
    };
    row("line-up walk, 9600 baud, bytes every 16 ms", usb);
    row("line-up walk, 9600 baud, bytes every 5 ms", uart);
    std::printf("%-46s %5.2f %% of one core, %4.1f reports/s\n", "bare: simulator, one report every 85 ms",
                simulated.cpuPercent, simulated.reportsPerSecond);
    return 0;
}
