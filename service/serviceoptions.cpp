// Command-line parsing of the service, with range checks and plain-worded errors, and the choice
// of the back-end from the command line and the settings file.
#include "serviceoptions.h"

#include "base/basic.h"
#include "base/modini.h"

#include <QCommandLineParser>
#include <algorithm>

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
    QCommandLineOption device{QStringLiteral("device"),
                              QStringLiteral("The receiver's serial device, best a /dev/serial/by-id/ name, or "
                                             "\"simulator\" (overrides Device in xm-radio-service.ini)."),
                              QStringLiteral("PATH")};
    QCommandLineOption model{QStringLiteral("model"),
                             QStringLiteral("PCR for the USB receiver, Direct for a car tuner, which gets the "
                                            "wake-up sequence first (overrides Model in xm-radio-service.ini)."),
                             QStringLiteral("PCR|Direct")};
    QCommandLineOption source{QStringLiteral("source"),
                              QStringLiteral("Where the receiver's sound comes in: auto (a line input), none, or an "
                                             "ALSA capture device (overrides Source in xm-radio-service.ini; "
                                             "xmctl --sources lists them)."),
                              QStringLiteral("auto|none|DEVICE")};
};

// auto and none in any letter case, or an ALSA device name: printable, without blanks, as every
// name ALSA and the sound servers give is.
std::optional<QString> soundSourceNamed(const QString& text)
{
    for (const char* word : {"auto", "none"}) {
        if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(word);
    }
    const bool plain =
        !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() && !c.isSpace(); });
    return plain ? std::optional<QString>(text) : std::nullopt;
}

} // namespace

ParsedServiceOptions parseServiceOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Satellite radio service: owns org.vanto.XMRadio on the session bus, lists every\n"
                       "channel, reports the tuned channel, track time and signal levels. It drives a\n"
                       "receiver on a serial port, or simulates one (the default), and plays the\n"
                       "receiver's sound from its line-in (or the simulator's) on ALSA's default output.\n"
                       "Settings are read from xm-radio-service.ini in the program's folder; options\n"
                       "override them. The simulator's options are --seed, --interval and --channels.\n"
                       "Ends cleanly on SIGTERM and SIGINT."));
    const QCommandLineOption help = parser.addHelpOption();
    const Options options;
    parser.addOptions(
        {options.seed, options.interval, options.channels, options.device, options.model, options.source});

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
    if (parser.isSet(options.device)) {
        parsed.options.device = parser.value(options.device);
        if (parsed.options.device->isEmpty())
            parsed.error = QStringLiteral("--device needs a device path or \"simulator\"");
    }
    if (parser.isSet(options.model)) {
        parsed.options.model = modelNamed(parser.value(options.model));
        if (!parsed.options.model)
            parsed.error = QStringLiteral("--model needs PCR or Direct, not \"%1\"").arg(parser.value(options.model));
    }
    if (parser.isSet(options.source)) {
        parsed.options.source = soundSourceNamed(parser.value(options.source));
        if (!parsed.options.source)
            parsed.error = QStringLiteral("--source needs auto, none or a capture device, not \"%1\"")
                               .arg(parser.value(options.source));
    }
    return parsed;
}

std::optional<ReceiverModel> modelNamed(const QString& name)
{
    if (name.compare(QLatin1String("PCR"), Qt::CaseInsensitive) == 0)
        return ReceiverModel::Pcr;
    if (name.compare(QLatin1String("Direct"), Qt::CaseInsensitive) == 0)
        return ReceiverModel::Direct;
    return std::nullopt;
}

ReceiverChoice chooseReceiver(const ServiceOptions& options, const QString& settingsPath)
{
    const modIni::IniDocument file = modIni::IniDocument::fromFile(settingsPath);
    const QString section = QStringLiteral("Receiver");
    ReceiverChoice choice;

    const QString device = options.device.value_or(file.value(section, QStringLiteral("Device")).value_or(QString()));
    if (device.compare(QLatin1String("simulator"), Qt::CaseInsensitive) != 0)
        choice.device = device;

    if (options.model) {
        choice.model = *options.model;
    } else if (const auto text = file.value(section, QStringLiteral("Model")); text && !text->isEmpty()) {
        if (const auto model = modelNamed(*text))
            choice.model = *model;
        else
            choice.warnings
                << QStringLiteral("Model=%1 in %2 is neither PCR nor Direct; using PCR").arg(*text, settingsPath);
    }

    if (const auto text = file.value(section, QStringLiteral("Baud")); text && !text->isEmpty()) {
        const std::optional<qint32> baud = basic::CLng(*text);
        if (baud && *baud > 0)
            choice.baud = *baud;
        else
            choice.warnings << QStringLiteral("Baud=%1 in %2 is not a baud rate; using %3")
                                   .arg(*text, settingsPath)
                                   .arg(DefaultBaud);
    }

    if (options.source) {
        choice.soundSource = *options.source;
    } else if (const auto text = file.value(QStringLiteral("Audio"), QStringLiteral("Source"));
               text && !text->isEmpty()) {
        if (const auto source = soundSourceNamed(*text))
            choice.soundSource = *source;
        else
            choice.warnings << QStringLiteral("Source=%1 in %2 is neither auto, none nor a capture device; using auto")
                                   .arg(*text, settingsPath);
    }

    if (const auto text = file.value(QStringLiteral("TimeShift"), QStringLiteral("Minutes"));
        text && !text->isEmpty()) {
        const std::optional<qint32> minutes = basic::CLng(*text);
        if (minutes && *minutes >= 0 && *minutes <= MaxTimeShiftMinutes)
            choice.timeShiftMinutes = *minutes;
        else
            choice.warnings << QStringLiteral("Minutes=%1 in [TimeShift] of %2 is not a number of minutes from 0 to "
                                              "%3; using %4")
                                   .arg(*text, settingsPath)
                                   .arg(MaxTimeShiftMinutes)
                                   .arg(DefaultTimeShiftMinutes);
    }
    return choice;
}

} // namespace xmservice
