// xmctl's command language: one command a line, naming one of the radio service's signals
// with its arguments, or quit or help. Parsing is separate from sending, so it tests alone.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace xmctl {

enum class CommandKind {
    Nothing, // an empty line
    Signal,
    Quit,
    Help,
    Invalid,
};

struct Command {
    CommandKind kind = CommandKind::Nothing;
    QString signal;         // the signal's name as the interface spells it
    QVariantList arguments; // typed as the interface wants them: int, double, bool, QString
    QString error;          // why an invalid command is invalid
};

// The words of a line: blanks separate words; a double-quoted part may hold blanks and commas,
// and inside it \" stands for a double quote and \\ for a backslash. An apostrophe is an
// ordinary character. Fails (with the reason in error) on an unterminated quote.
std::optional<QStringList> splitWords(const QString& line, QString* error);

// A command from words already split (command-line arguments).
Command parseWords(const QStringList& words);
// A command from a line of input.
Command parseCommand(const QString& line);

// The commands and their arguments, for --help and the help command.
QString commandsHelp();

} // namespace xmctl
