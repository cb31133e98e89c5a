// xm-radio-service: a simulated receiver that owns the radio service on the session bus, so the
// program runs and can be shown without the hardware.
#include "app/quitonsignals.h"
#include "busservice.h"
#include "lineup.h"
#include "receiversimulator.h"
#include "servicelog.h"
#include "serviceoptions.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QRandomGenerator>
#include <QTimer>
#include <cstdio>

namespace {

int fail(const QString& reason, int exitCode)
{
    std::fprintf(stderr, "xm-radio-service: %s\n", qPrintable(reason));
    return exitCode;
}

xmservice::Lineup lineupFor(const xmservice::ServiceOptions& options)
{
    return options.channelCount > 0 ? xmservice::Lineup::withSize(options.channelCount) : xmservice::Lineup::builtIn();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("xm-radio-service"));
    const xmservice::ParsedServiceOptions parsed = xmservice::parseServiceOptions(QCoreApplication::arguments());
    if (parsed.showHelp) {
        std::fputs(qPrintable(parsed.helpText), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty())
        return fail(parsed.error + QStringLiteral(" (see --help)"), 2);

    app::QuitOnSignals quitOnSignals;
    const quint32 seed = parsed.options.seed.value_or(QRandomGenerator::global()->generate());
    xmservice::ReceiverSimulator receiver(lineupFor(parsed.options), seed, parsed.options.listingIntervalMs);
    const QString failure = xmservice::publishReceiver(&receiver);
    if (!failure.isEmpty())
        return fail(failure, 1);

    qCInfo(lcService).noquote() << QStringLiteral("%1 channels, one listed every %2 ms, seed %3")
                                       .arg(receiver.lineup().size())
                                       .arg(parsed.options.listingIntervalMs)
                                       .arg(seed);
    receiver.start();
    // A service whose session bus has gone away has nobody left to serve: it ends with the bus
    // instead of lingering as an orphan.
    QTimer busWatch;
    QObject::connect(&busWatch, &QTimer::timeout, [] {
        if (!QDBusConnection::sessionBus().isConnected()) {
            qCInfo(lcService) << "the session bus has gone away";
            QCoreApplication::quit();
        }
    });
    busWatch.start(1000);
    return QCoreApplication::exec();
}
