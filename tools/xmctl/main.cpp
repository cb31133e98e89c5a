// xmctl: owns the radio service's name in place of a receiver, prints each call the window
// makes and sends the signals typed on stdin or given as arguments, to drive the window by hand.
// With --call it is a client instead: it calls the radio service as the window does.
#include "base/quitonsignals.h"
#include "bus/xmradio_names.h"
#include "commandline.h"
#include "linereader.h"
#include "manualradio.h"
#include "service/sound/lineinput.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

int fail(const QString& reason, int exitCode)
{
    std::fprintf(stderr, "xmctl: %s\n", qPrintable(reason));
    return exitCode;
}

void quitSoon()
{
    // Queued, so a quit from the arguments also ends the run once the event loop starts.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

void run(xmctl::ManualRadio& radio, const xmctl::Command& command)
{
    switch (command.kind) {
    case xmctl::CommandKind::Nothing: break;
    case xmctl::CommandKind::Signal:
        if (!radio.send(command))
            fail(QStringLiteral("the bus refused %1").arg(command.signal), 0);
        break;
    case xmctl::CommandKind::Help:
        std::fputs(qPrintable(xmctl::commandsHelp()), stdout);
        std::fflush(stdout);
        break;
    case xmctl::CommandKind::Quit: quitSoon(); break;
    case xmctl::CommandKind::Invalid: fail(command.error, 0); break;
    }
}

// The argument of "Channel N" or "SetMute true|false", typed as the service takes it.
std::optional<QVariant> callArgument(const QStringList& words)
{
    if (words.size() != 2)
        return std::nullopt;
    bool ok = false;
    const int number = words[1].toInt(&ok);
    if (words[0] == QLatin1String("Channel") && ok)
        return QVariant(number);
    if (words[0] == QLatin1String("SetMute") &&
        (words[1] == QLatin1String("true") || words[1] == QLatin1String("false")))
        return QVariant(words[1] == QLatin1String("true"));
    return std::nullopt;
}

// Calls the radio service and waits for its answer. The session bus starts an installed service
// for the call when none is running.
int callService(const QStringList& words)
{
    const std::optional<QVariant> argument = callArgument(words);
    if (!argument)
        return fail(QStringLiteral("--call takes Channel N or SetMute true|false"), 2);
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(xmradio::ServiceName), QLatin1String(xmradio::ObjectPath),
                                       QLatin1String(xmradio::InterfaceName), words[0]);
    call << *argument;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 10000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return fail(reply.errorMessage(), 1);
    return 0;
}

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this text.")};
    QCommandLineOption keep{QStringLiteral("keep"),
                            QStringLiteral("Keep running when the input ends (until quit, SIGTERM or SIGINT).")};
    QCommandLineOption call{QStringLiteral("call"),
                            QStringLiteral("Call the radio service instead of playing it: Channel N or SetMute "
                                           "true|false. The bus starts an installed service when none runs.")};
    QCommandLineOption sources{QStringLiteral("sources"),
                               QStringLiteral("List the capture devices the receiver's sound can come in at, for "
                                              "Source= in [Audio] of xm-radio-service.ini, and end.")};
};

// The capture devices of the sound server and of ALSA, each with what it is, and the one that
// Source=auto plays.
int listSources()
{
    const QList<sound::CaptureDevice> devices = sound::captureDevices();
    std::puts("Capture devices for Source= in [Audio] of xm-radio-service.ini:");
    for (const sound::CaptureDevice& device : devices) {
        QString what = sound::kindText(device.kind);
        if (device.kind == sound::InputKind::Line || device.kind == sound::InputKind::Microphone)
            what += device.selected ? QStringLiteral(", in use") : QStringLiteral(", not in use");
        std::printf("  %-50s %s (%s)\n", qPrintable(device.device), qPrintable(device.description), qPrintable(what));
    }
    const std::optional<sound::CaptureDevice> line = sound::findLineInput();
    std::puts(line ? qPrintable(QStringLiteral("Source=auto plays %1.").arg(line->device))
                   : "Source=auto finds no line input in use: select the line input in the sound settings, or name "
                     "the receiver's input above as Source=.");
    return 0;
}

QString usage(const QCommandLineParser& parser)
{
    return parser.helpText() +
           QStringLiteral("\nPrints each call it receives, one line each: Channel 7, SetMute true.\n"
                          "Runs the command given as arguments first, then reads commands from stdin.\n"
                          "Ends at quit, at the end of the input (unless --keep), on SIGTERM or SIGINT.\n\n") +
           xmctl::commandsHelp();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays the radio service org.vanto.XMRadio by hand, to drive the window without a "
                       "receiver."));
    // Everything after the command's name belongs to it, "-1" included.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const Options options;
    parser.addOptions({options.help, options.keep, options.call, options.sources});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One command to run first."),
                                 QStringLiteral("[COMMAND [ARGUMENT...]]"));
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText() + QStringLiteral(" (see --help)"), 2);
    if (parser.isSet(options.help)) {
        std::fputs(qPrintable(usage(parser)), stdout);
        return 0;
    }
    if (parser.isSet(options.call))
        return callService(parser.positionalArguments());
    if (parser.isSet(options.sources))
        return listSources();

    app::QuitOnSignals quitOnSignals;
    xmctl::ManualRadio radio(stdout);
    const QString failure = radio.publish();
    if (!failure.isEmpty())
        return fail(failure, 1);
    if (::isatty(STDIN_FILENO))
        fail(QStringLiteral("owning org.vanto.XMRadio; type help for the commands"), 0);

    run(radio, xmctl::parseWords(parser.positionalArguments()));
    xmctl::LineReader input(STDIN_FILENO);
    QObject::connect(&input, &xmctl::LineReader::lineRead, &radio,
                     [&radio](const QString& line) { run(radio, xmctl::parseCommand(line)); });
    if (!parser.isSet(options.keep))
        QObject::connect(&input, &xmctl::LineReader::finished, &app, &quitSoon);
    const int exitCode = QCoreApplication::exec();
    radio.flush();
    return exitCode;
}
