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

// The arguments of a call the service takes from --call, typed as it takes them: Channel N,
// SetMute true|false, Seek SECONDS, or one of time shift's commands without arguments.
std::optional<QVariantList> callArguments(const QStringList& words)
{
    static const QStringList bare = {QStringLiteral("Pause"), QStringLiteral("Resume"), QStringLiteral("Live"),
                                     QStringLiteral("NextSong"), QStringLiteral("PreviousSong")};
    if (words.size() == 1 && bare.contains(words[0]))
        return QVariantList();
    if (words.size() != 2)
        return std::nullopt;
    bool ok = false;
    if (words[0] == QLatin1String("Channel")) {
        const int number = words[1].toInt(&ok);
        return ok ? std::optional(QVariantList{number}) : std::nullopt;
    }
    if (words[0] == QLatin1String("Seek")) {
        const double seconds = words[1].toDouble(&ok);
        return ok ? std::optional(QVariantList{seconds}) : std::nullopt;
    }
    if (words[0] == QLatin1String("SetMute") &&
        (words[1] == QLatin1String("true") || words[1] == QLatin1String("false")))
        return QVariantList{words[1] == QLatin1String("true")};
    return std::nullopt;
}

// Calls the radio service and waits for its answer. The session bus starts an installed service
// for the call when none is running.
QDBusMessage call(const QString& method, const QVariantList& arguments, int timeoutMs)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(QLatin1String(xmradio::ServiceName), QLatin1String(xmradio::ObjectPath),
                                       QLatin1String(xmradio::InterfaceName), method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, timeoutMs);
}

int callService(const QStringList& words)
{
    const std::optional<QVariantList> arguments = callArguments(words);
    if (!arguments)
        return fail(QStringLiteral("--call takes Channel N, SetMute true|false, Pause, Resume, Live, NextSong, "
                                   "PreviousSong or Seek SECONDS"),
                    2);
    const QDBusMessage reply = call(words[0], *arguments, 10000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return fail(reply.errorMessage(), 1);
    return 0;
}

// Saves the song heard and prints the file's path.
int saveSong()
{
    // Encoding a long song again takes a few seconds on a slow car PC.
    const QDBusMessage reply = call(QStringLiteral("SaveSong"), {}, 120000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return fail(reply.errorMessage(), 1);
    std::puts(qPrintable(reply.arguments().value(0).toString()));
    return 0;
}

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this text.")};
    QCommandLineOption keep{QStringLiteral("keep"),
                            QStringLiteral("Keep running when the input ends (until quit, SIGTERM or SIGINT).")};
    QCommandLineOption call{QStringLiteral("call"),
                            QStringLiteral("Call the radio service instead of playing it: Channel N, SetMute "
                                           "true|false, or time shift's Pause, Resume, Live, NextSong, "
                                           "PreviousSong, Seek SECONDS. The bus starts an installed service when "
                                           "none runs.")};
    QCommandLineOption saveSong{QStringLiteral("save-song"),
                                QStringLiteral("Save the song heard from time shift as an Ogg Opus file in the music "
                                               "folder's \"VANTO XM\", print its path, and end.")};
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
    parser.addOptions({options.help, options.keep, options.call, options.saveSong, options.sources});
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
    if (parser.isSet(options.saveSong))
        return saveSong();
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
