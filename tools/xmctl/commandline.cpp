// Splitting and typing of xmctl's commands against the table of the interface's signals.
#include "commandline.h"

#include <optional>
#include <utility>

namespace xmctl {

namespace {

struct SignalSyntax {
    const char* name;
    const char* types;     // D-Bus type letters of the arguments, in order
    const char* arguments; // what the help shows
};

const SignalSyntax Signals[] = {
    {"ChannelChange", "i", "NUMBER"},
    {"CurrentTime", "ii", "POSITION DURATION"},
    {"ChannelData", "issss", "NUMBER STATION ARTIST TITLE GENRE"},
    {"CurrentChannelData", "issss", "NUMBER STATION ARTIST TITLE GENRE"},
    {"SignalStrength", "ddd", "ROCK ROLL GROUND"},
    {"MuteChanged", "b", "true|false"},
    {"TimeShiftChanged", "bddd", "PAUSED BEHIND BUFFERED POSITION"},
    {"SongHeard", "issssi", "NUMBER STATION ARTIST TITLE GENRE DURATION"},
};

const SignalSyntax* syntaxOf(const QString& name)
{
    for (const SignalSyntax& syntax : Signals) {
        if (name.compare(QLatin1String(syntax.name), Qt::CaseInsensitive) == 0)
            return &syntax;
    }
    return nullptr;
}

std::optional<bool> toBool(const QString& word)
{
    if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || word == QLatin1String("1"))
        return true;
    if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || word == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// One argument converted to the type letter, or an invalid QVariant.
QVariant typed(char type, const QString& word)
{
    bool ok = true;
    switch (type) {
    case 'i': {
        const int value = word.toInt(&ok);
        return ok ? QVariant(value) : QVariant();
    }
    case 'd': {
        const double value = word.toDouble(&ok);
        return ok ? QVariant(value) : QVariant();
    }
    case 'b': {
        const std::optional<bool> value = toBool(word);
        return value ? QVariant(*value) : QVariant();
    }
    default: return QVariant(word);
    }
}

QString typeName(char type)
{
    switch (type) {
    case 'i': return QStringLiteral("a whole number");
    case 'd': return QStringLiteral("a number");
    case 'b': return QStringLiteral("true or false");
    default: return QStringLiteral("a text");
    }
}

Command invalid(const QString& error)
{
    Command command;
    command.kind = CommandKind::Invalid;
    command.error = error;
    return command;
}

Command signalCommand(const SignalSyntax& syntax, const QStringList& words)
{
    const QString name = QLatin1String(syntax.name);
    const int expected = int(qstrlen(syntax.types));
    if (words.size() - 1 != expected)
        return invalid(QStringLiteral("%1 needs %2 argument(s): %1 %3; got %4")
                           .arg(name)
                           .arg(expected)
                           .arg(QLatin1String(syntax.arguments))
                           .arg(words.size() - 1));
    Command command;
    command.kind = CommandKind::Signal;
    command.signal = name;
    for (int i = 0; i < expected; ++i) {
        const QVariant value = typed(syntax.types[i], words.at(i + 1));
        if (!value.isValid())
            return invalid(QStringLiteral("%1: argument %2 must be %3, not \"%4\"")
                               .arg(name)
                               .arg(i + 1)
                               .arg(typeName(syntax.types[i]), words.at(i + 1)));
        command.arguments.append(value);
    }
    return command;
}

} // namespace

std::optional<QStringList> splitWords(const QString& line, QString* error)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted && c == QLatin1Char('\\') && i + 1 < line.size() &&
            (line.at(i + 1) == QLatin1Char('"') || line.at(i + 1) == QLatin1Char('\\'))) {
            word += line.at(++i);
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c.isSpace()) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) {
        if (error)
            *error = QStringLiteral("a double quote is not closed");
        return std::nullopt;
    }
    if (inWord)
        words.append(word);
    return words;
}

Command parseWords(const QStringList& words)
{
    if (words.isEmpty())
        return {};
    const QString& name = words.first();
    for (const auto& [word, kind] : {std::pair{"quit", CommandKind::Quit}, std::pair{"help", CommandKind::Help}}) {
        if (name.compare(QLatin1String(word), Qt::CaseInsensitive) != 0)
            continue;
        if (words.size() > 1)
            return invalid(QStringLiteral("%1 takes no arguments").arg(QLatin1String(word)));
        return {kind, {}, {}, {}};
    }
    if (const SignalSyntax* syntax = syntaxOf(name))
        return signalCommand(*syntax, words);
    return invalid(QStringLiteral("unknown command \"%1\" (try help)").arg(name));
}

Command parseCommand(const QString& line)
{
    QString error;
    const std::optional<QStringList> words = splitWords(line, &error);
    if (!words)
        return invalid(error);
    return parseWords(*words);
}

QString commandsHelp()
{
    QString help = QStringLiteral("Commands, one a line (each emits the signal of that name):\n");
    for (const SignalSyntax& syntax : Signals)
        help += QStringLiteral("  %1 %2\n").arg(QLatin1String(syntax.name), QLatin1String(syntax.arguments));
    help +=
        QStringLiteral("  help (this list)\n"
                       "  quit (ends xmctl)\n"
                       "CurrentTime takes seconds (-1 -1: no time); SignalStrength takes percent, decimals allowed.\n"
                       "Words are separated by blanks. Put a text with blanks or commas in double quotes:\n"
                       "  ChannelData 5 \"Rock Hits\" \"Hale, Moreno & Quist\" \"Some Title\" Rock\n"
                       "Inside double quotes write \\\" for a double quote and \\\\ for a backslash; an apostrophe\n"
                       "needs nothing. A malformed command prints an error line and xmctl goes on.\n");
    return help;
}

} // namespace xmctl
