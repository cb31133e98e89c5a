// xmctl: owns the radio service's name in place of a receiver, prints each call the window
// makes and sends the signals typed on stdin or given as arguments, to drive the window by hand.
#include "app/quitonsignals.h"
#include "commandline.h"
#include "linereader.h"
#include "manualradio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
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

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this text.")};
    QCommandLineOption keep{QStringLiteral("keep"),
                            QStringLiteral("Keep running when the input ends (until quit, SIGTERM or SIGINT).")};
};

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
    parser.addOptions({options.help, options.keep});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One command to run first."),
                                 QStringLiteral("[COMMAND [ARGUMENT...]]"));
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText() + QStringLiteral(" (see --help)"), 2);
    if (parser.isSet(options.help)) {
        std::fputs(qPrintable(usage(parser)), stdout);
        return 0;
    }

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
