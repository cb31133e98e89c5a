// The settings store: typed reads and writes of Windows-style INI files, with the platform's
// profile rules that our files rely on (case-insensitive names, trimmed values, one pair of
// outer quotes removed, the first duplicate wins, whole-line ';' comments, at most 254
// characters a value). Serves vantoxm.ini and the skins' radio_xm.ini.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>

namespace modIni {

// Type codes of ReadSetting.
enum Code : int {
    AsText = 0,       // the text unchanged; empty stays empty
    AsBoolean = 1,    // Boolean; empty or not convertible -> false
    AsLong = 2,       // 32-bit integer; empty or not convertible -> the text "0"
    AsInteger = 3,    // 16-bit integer; empty or not convertible -> the text "0"
    AsNumberText = 4, // the text unchanged; empty -> the text "0"
    AsSingle = 5,     // single-precision float; empty or not convertible -> the text "0"
    AsDecimal = 6,    // decimal number (held as a double); empty or not convertible -> the text "0"
    // any other code: the text unchanged, empty stays empty; the settings name two of them
    AsString = 8,       // text keys
    AsBooleanText = 11, // Boolean keys, whose text the reader converts itself
};

// Longest value a read returns; longer values are cut to this many characters.
inline constexpr int MaxValueLength = 254;

// A parsed INI file, for callers that read many keys of one file (the skin loader). Lookups
// follow the same rules as reading the file each time.
class IniDocument {
public:
    IniDocument() = default;
    static IniDocument fromBytes(const QByteArray& bytes);
    // A missing or unreadable file gives an empty document.
    static IniDocument fromFile(const QString& path);

    // The raw value (trimmed, outer quotes removed, cut to MaxValueLength), or nothing when the
    // section or key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

private:
    // Values by key, keys by section, names folded to lower case; only the first of duplicate
    // sections and keys is kept, as a read finds only that one.
    using Section = QHash<QByteArray, QString>;
    QHash<QByteArray, Section> m_sections;
};

// Reads key in section of file and converts it by the type code. The result holds text, a
// Boolean (code 1), a qint32 (code 2), a qint16 (code 3), a float (code 5) or a double (code 6).
QVariant ReadSetting(const QString& file, const QString& section, const QString& key, int code);
QVariant ReadSetting(const IniDocument& doc, const QString& section, const QString& key, int code);

// Writes key=value into section of file, creating the file or the section when missing and
// keeping every other byte of the file. The new file replaces the old one in one step, so a
// crash never leaves a half-written file; where the folder cannot be written but the file can,
// the file is written in place. Returns non-zero on success.
qint16 WriteSetting(const QString& file, const QString& section, const QString& key, const QString& value);

} // namespace modIni
