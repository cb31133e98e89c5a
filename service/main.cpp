// xm-radio-service: owns the radio service on the session bus and puts a receiver behind it: a
// real one on a serial port, or the simulator, so the program runs and can be shown without the
// hardware.
#include "base/quitonsignals.h"
#include "base/settingsfolder.h"
#include "busservice.h"
#include "lineup.h"
#include "logging.h"
#include "receiversimulator.h"
#include "serialreceiver.h"
#include "serviceoptions.h"
#include "servicesound.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QRandomGenerator>
#include <QTimer>
#include <cstdio>
#include <memory>

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

std::unique_ptr<xmservice::RadioBackend> makeBackend(const xmservice::ServiceOptions& options,
                                                     const xmservice::ReceiverChoice& choice)
{
    if (!choice.device.isEmpty()) {
        qCInfo(lcService).noquote() << QStringLiteral("receiver %1 on %2 at %3 baud")
                                           .arg(choice.model == xmservice::ReceiverModel::Direct ? "Direct" : "PCR",
                                                choice.device)
                                           .arg(choice.baud);
        return std::make_unique<xmservice::SerialReceiver>(choice.device, choice.model, choice.baud);
    }
    const quint32 seed = options.seed.value_or(QRandomGenerator::global()->generate());
    auto simulator =
        std::make_unique<xmservice::ReceiverSimulator>(lineupFor(options), seed, options.listingIntervalMs);
    qCInfo(lcService).noquote() << QStringLiteral("simulator: %1 channels, one listed every %2 ms, seed %3")
                                       .arg(simulator->lineup().size())
                                       .arg(options.listingIntervalMs)
                                       .arg(seed);
    return simulator;
}

// The sound servers name a stream after its program and sort it by its role: a desktop's volume
// applet then shows "VANTO XM Radio", and a ducking policy treats it as music. The ALSA plugins
// of PulseAudio and PipeWire take these from the process's environment.
void nameTheSoundStream()
{
    qputenv("PULSE_PROP_OVERRIDE", "application.name='VANTO XM Radio' application.icon_name=vanto-xm media.role=music");
    qputenv("PIPEWIRE_ALSA", "{ application.name=\"VANTO XM Radio\" media.role=Music }");
}

} // namespace

int main(int argc, char** argv)
{
    nameTheSoundStream(); // before any thread reads the environment
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
    const QString settings =
        app::ServiceSettingsFile(QCoreApplication::applicationDirPath(), app::StandardUserFolders().config);
    qCInfo(lcService).noquote() << "settings from" << settings;
    const xmservice::ReceiverChoice choice = xmservice::chooseReceiver(parsed.options, settings);
    for (const QString& warning : choice.warnings)
        qCWarning(lcService).noquote() << warning;
    const std::unique_ptr<xmservice::RadioBackend> receiver = makeBackend(parsed.options, choice);
    const QString failure = xmservice::publishReceiver(receiver.get());
    if (!failure.isEmpty())
        return fail(failure, 1);
    const xmservice::ServiceSound sound(*receiver, choice.device.isEmpty(), choice.soundSource, settings,
                                        choice.timeShiftMinutes);
    receiver->start();
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
