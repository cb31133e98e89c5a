// Command-line parsing of the simulator, with range checks and plain-worded errors.
#include "serviceoptions.h"

#include <QCommandLineParser>

namespace xmservice {

namespace {

// A whole number in minimum..maximum, or nothing.
std::optional<qint64> wholeNumber(const QString& text, qint64 minimum, qint64 maximum)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

constexpr qint64 MaxSeed = 0xffffffffLL;

// The option's value when it is given and a whole number in minimum..maximum; a value out of
// range leaves the reason in error.
std::optional<qint64> numberOption(const QCommandLineParser& parser, const QCommandLineOption& option, qint64 minimum,
                                   qint64 maximum, QString& error)
{
    if (!parser.isSet(option))
        return std::nullopt;
    const QString value = parser.value(option);
    const auto number = wholeNumber(value, minimum, maximum);
    if (!number)
        error = QStringLiteral("--%1 needs a whole number from %2 to %3, not \"%4\"")
                    .arg(option.names().constFirst())
                    .arg(minimum)
                    .arg(maximum)
                    .arg(value);
    return number;
}

struct Options {
    QCommandLineOption seed{QStringLiteral("seed"),
                            QStringLiteral("Seed of the running orders and signal levels; the same seed "
                                           "repeats a run. Without it every run differs."),
                            QStringLiteral("N")};
    QCommandLineOption interval{QStringLiteral("interval"),
                                QStringLiteral("Milliseconds between two channels of the listing (default %1).")
                                    .arg(ReceiverSimulator::DefaultListingIntervalMs),
                                QStringLiteral("MS")};
    QCommandLineOption channels{QStringLiteral("channels"),
                                QStringLiteral("Number of channels: fewer cut the built-in lineup, more extend "
                                               "it with generated channels."),
                                QStringLiteral("N")};
};

} // namespace

ParsedServiceOptions parseServiceOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated satellite radio receiver: owns org.vanto.XMRadio on the session bus,\n"
                       "lists every channel, reports the tuned channel, track time and signal levels.\n"
                       "Ends cleanly on SIGTERM and SIGINT."));
    const QCommandLineOption help = parser.addHelpOption();
    const Options options;
    parser.addOptions({options.seed, options.interval, options.channels});

    ParsedServiceOptions parsed;
    if (!parser.parse(arguments)) {
        parsed.error = parser.errorText();
        return parsed;
    }
    parsed.helpText = parser.helpText();
    parsed.showHelp = parser.isSet(help);
    if (!parser.positionalArguments().isEmpty()) {
        parsed.error = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return parsed;
    }
    if (const auto seed = numberOption(parser, options.seed, 0, MaxSeed, parsed.error))
        parsed.options.seed = quint32(*seed);
    if (const auto interval = numberOption(parser, options.interval, 1, MaxListingIntervalMs, parsed.error))
        parsed.options.listingIntervalMs = int(*interval);
    if (const auto count = numberOption(parser, options.channels, 1, MaxChannelCount, parsed.error))
        parsed.options.channelCount = int(*count);
    return parsed;
}

} // namespace xmservice
