// The settings store: reads Windows-style INI files with the platform's profile rules, and writes
// one key by editing the file's bytes in place and replacing the whole file in one step.
#include "base/modini.h"
#include "base/logging.h"

#include "base/basic.h"
#include "base/modfunctions.h"
#include "base/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSaveFile>
#include <vector>

namespace modIni {
namespace {

// Files are bytes: names are matched byte for byte with ASCII case folding, values are decoded
// as UTF-8 (or Windows-1252 where they are not valid UTF-8), and the writer never touches a byte
// it does not have to.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

QByteArray trimBlanks(QByteArrayView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toByteArray();
}

QByteArray folded(QByteArray name)
{
    for (char& c : name)
        c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return name;
}

// Section and key arguments lose their spaces, and only spaces: a tab or line break in a name is
// kept and then matches nothing, as on the platform.
QByteArray trimSpaces(const QString& name)
{
    QByteArray bytes = name.toUtf8();
    qsizetype begin = 0, end = bytes.size();
    while (begin < end && bytes[begin] == ' ')
        ++begin;
    while (end > begin && bytes[end - 1] == ' ')
        --end;
    return bytes.sliced(begin, end - begin);
}

enum class LineKind { Blank, Comment, Header, Key, Other };

// One line of the file: its text is bytes [begin, end), its line ending [end, next).
struct IniLine {
    qsizetype begin = 0, end = 0, next = 0;
    LineKind kind = LineKind::Blank;
    QByteArray name;  // section name or key, trimmed, as written in the file
    QByteArray value; // trimmed value of a key line
};

void classify(IniLine& line, QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i == text.size()) {
        line.kind = LineKind::Blank;
    } else if (text[i] == ';') {
        line.kind = LineKind::Comment;
    } else if (text[i] == '[') {
        // The name ends at the first ']'; a missing ']' still makes a header.
        const QByteArrayView rest = text.sliced(i + 1);
        const qsizetype close = rest.indexOf(']');
        line.kind = LineKind::Header;
        line.name = trimBlanks(close < 0 ? rest : rest.first(close));
    } else if (const qsizetype eq = text.indexOf('='); eq >= 0) {
        line.kind = LineKind::Key;
        line.name = trimBlanks(text.first(eq));
        line.value = trimBlanks(text.sliced(eq + 1));
    } else {
        line.kind = LineKind::Other;
    }
}

// Lines end at CR, LF or CRLF. A UTF-8 byte order mark before the first line is skipped, so an
// editor that adds one does not hide the first section.
std::vector<IniLine> splitLines(const QByteArray& bytes)
{
    std::vector<IniLine> lines;
    qsizetype pos = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < bytes.size()) {
        IniLine line;
        line.begin = pos;
        line.end = pos;
        while (line.end < bytes.size() && bytes[line.end] != '\r' && bytes[line.end] != '\n')
            ++line.end;
        line.next = line.end;
        if (line.next < bytes.size())
            line.next += bytes.mid(line.end, 2) == "\r\n" ? 2 : 1;
        classify(line, QByteArrayView(bytes).sliced(line.begin, line.end - line.begin));
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// One pair of matching outer quotes goes; the value is cut to MaxValueLength characters.
QString decodedValue(QByteArray raw)
{
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
        raw = raw.sliced(1, raw.size() - 2);
    QString value = app::DecodeLine(raw);
    qsizetype cut = 0;
    for (int count = 0; cut < value.size() && count < MaxValueLength; ++count)
        cut += value[cut].isHighSurrogate() && cut + 1 < value.size() ? 2 : 1;
    value.truncate(cut);
    return value;
}

// Where a key lives in the first section of its name, and where a new one would go.
struct Location {
    int header = -1;      // the section's header line, or -1
    int key = -1;         // the first line of the key, or -1
    int lastContent = -1; // the last non-comment, non-blank line of the section, or the header
};

Location locate(const std::vector<IniLine>& lines, const QByteArray& section, const QByteArray& key)
{
    Location at;
    for (int i = 0; i < int(lines.size()); ++i) {
        const IniLine& line = lines[i];
        if (line.kind == LineKind::Header) {
            if (at.header >= 0)
                break; // only the first section of a name is ever used
            if (folded(line.name) == section)
                at.header = at.lastContent = i;
        } else if (at.header >= 0 && (line.kind == LineKind::Key || line.kind == LineKind::Other)) {
            at.lastContent = i;
            if (at.key < 0 && line.kind == LineKind::Key && folded(line.name) == key)
                at.key = i;
        }
    }
    return at;
}

// The file with key=value set, every other byte kept: an existing key line is rewritten in place
// with the file's spelling of the key; a new key goes after the section's last key line, so
// comments and blank lines that close the section stay below it; a new section goes at the end.
QByteArray withSetting(const QByteArray& bytes, const QByteArray& section, const QByteArray& key,
                       const QByteArray& value)
{
    const std::vector<IniLine> lines = splitLines(bytes);
    const Location at = locate(lines, folded(section), folded(key));
    QByteArray out = bytes;
    if (at.key >= 0) {
        const IniLine& line = lines[at.key];
        const QByteArray text = line.name + '=' + value;
        return line.next == line.end ? out.replace(line.begin, line.end - line.begin, text + "\r\n")
                                     : out.replace(line.begin, line.end - line.begin, text);
    }
    if (at.header >= 0) {
        const IniLine& line = lines[at.lastContent];
        const QByteArray endOfLast = line.next == line.end ? "\r\n" : "";
        return out.insert(line.next, endOfLast + key + '=' + value + "\r\n");
    }
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
        out += "\r\n";
    return out + '[' + section + "]\r\n" + key + '=' + value + "\r\n";
}

// The current bytes of a file about to be written: empty when it does not exist yet, nothing
// when it cannot be read or its folder is missing.
std::optional<QByteArray> bytesToEdit(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        if (info.absoluteDir().exists())
            return QByteArray();
        qCWarning(lcSettings) << "settings not written, folder missing:" << path;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSettings) << "settings not written, file unreadable:" << path << file.errorString();
        return std::nullopt;
    }
    return file.readAll();
}

// A save cut short between creating its temporary file and renaming it leaves that file behind;
// its name is the file's own name, a dot and six letters or digits. The next save removes it.
void removeLeftoverTemporaries(const QString& path)
{
    const QFileInfo target(path);
    const QRegularExpression temporary(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(target.fileName())));
    const QFileInfoList candidates =
        target.absoluteDir().entryInfoList({target.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& leftover : candidates)
        if (temporary.match(leftover.fileName()).hasMatch() && !QFile::remove(leftover.filePath()))
            qCWarning(lcSettings) << "cannot remove the leftover of an earlier save:" << leftover.filePath();
}

// Writes a temporary file beside the old one and renames it over it, so a crash or a power loss
// leaves either the old file or the new one, never a truncated one. In a folder the user cannot
// write in (an install folder owned by root, with the settings file made writable for the user),
// the file is written in place instead, so that the settings are still kept.
bool replaceFile(const QString& path, const QByteArray& bytes)
{
    removeLeftoverTemporaries(path);
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        // The rename is on disk only once the folder is: a power cut would otherwise bring back
        // the old file, and with it the old LastChannel or preset.
        if (!modFunctions::SyncFolder(QFileInfo(path).absolutePath()))
            qCWarning(lcSettings) << "settings written but their folder not synced:" << path;
        return true;
    }
    qCWarning(lcSettings) << "settings not written:" << path << file.errorString();
    file.cancelWriting();
    return false;
}

template <typename T> QVariant numberOrZeroText(std::optional<T> number)
{
    return number ? QVariant::fromValue(*number) : QVariant(QStringLiteral("0"));
}

QVariant converted(const QString& text, int code)
{
    switch (code) {
    case AsBoolean: return basic::CBool(text).value_or(false);
    case AsLong: return numberOrZeroText(basic::CLng(text));
    case AsInteger: return numberOrZeroText(basic::CInt(text));
    case AsNumberText: return text.isEmpty() ? QStringLiteral("0") : text;
    case AsSingle: return numberOrZeroText(basic::CSng(text));
    case AsDecimal: return numberOrZeroText(basic::CDbl(text));
    default: return text;
    }
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    QByteArray current;
    bool inUsableSection = false; // keys before the first section, or in a repeated one, are unreachable
    for (const IniLine& line : splitLines(bytes)) {
        if (line.kind == LineKind::Header) {
            current = folded(line.name);
            inUsableSection = !doc.m_sections.contains(current);
            if (inUsableSection)
                doc.m_sections.insert(current, {});
        } else if (line.kind == LineKind::Key && inUsableSection) {
            Section& section = doc.m_sections[current];
            const QByteArray key = folded(line.name);
            if (!section.contains(key))
                section.insert(key, decodedValue(line.value));
        }
    }
    return doc;
}

IniDocument IniDocument::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists())
            qCWarning(lcSettings) << "settings unreadable, read as empty:" << path << file.errorString();
        return {};
    }
    return fromBytes(file.readAll());
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const
{
    const auto s = m_sections.constFind(folded(trimSpaces(section)));
    if (s == m_sections.cend())
        return std::nullopt;
    const auto k = s->constFind(folded(trimSpaces(key)));
    if (k == s->cend())
        return std::nullopt;
    return *k;
}

// The file is read again at every call: the settings are few, and a read must show the file as
// it is now.
QVariant ReadSetting(const QString& file, const QString& section, const QString& key, int code)
{
    return ReadSetting(IniDocument::fromFile(file), section, key, code);
}

QVariant ReadSetting(const IniDocument& doc, const QString& section, const QString& key, int code)
{
    return converted(doc.value(section, key).value_or(QString()), code);
}

// The value is written verbatim: no quoting, no escaping, no trimming.
qint16 WriteSetting(const QString& file, const QString& section, const QString& key, const QString& value)
{
    const std::optional<QByteArray> old = bytesToEdit(file);
    if (!old)
        return 0;
    return replaceFile(file, withSetting(*old, trimSpaces(section), trimSpaces(key), value.toUtf8())) ? 1 : 0;
}

} // namespace modIni
