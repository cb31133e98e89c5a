#include "channeltable.h"
#include "radio/logging.h"

#include "base/modfunctions.h"
#include "base/textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <unistd.h>

namespace radio {

QString ChannelTable::RowKey(qint32 number)
{
    QString key = QString::number(number);
    if (key.size() == 1)
        return QStringLiteral("00") + key;
    if (key.size() == 2)
        return QStringLiteral("0") + key;
    return key;
}

void ChannelTable::CreateColumns(float tableWidth)
{
    m_columns = {{QStringLiteral("Num"), QStringLiteral("#"), tableWidth * 0.05f},
                 {QStringLiteral("Station"), QStringLiteral("Station"), tableWidth * 0.24f},
                 {QStringLiteral("Artist"), QStringLiteral("Artist"), tableWidth * 0.24f},
                 {QStringLiteral("Title"), QStringLiteral("Title"), tableWidth * 0.24f},
                 {QStringLiteral("Genre"), QStringLiteral("Genre"), tableWidth * 0.2f}};
}

QString ChannelTable::text(int position, int column) const
{
    if (position < 0 || position >= count() || column < 0 || column > 4)
        return {};
    return m_rows[size_t(position)][size_t(column)];
}

void ChannelTable::setText(int position, int column, const QString& value)
{
    if (position < 0 || position >= count() || column < 1 || column > 4)
        return;
    m_rows[size_t(position)][size_t(column)] = value;
}

int ChannelTable::FindItem(const QString& key) const
{
    return m_firstByKey.value(key.toCaseFolded(), -1);
}

int ChannelTable::Add(const QString& key)
{
    const int position = count();
    m_rows.push_back(Row{key});
    // The lookup finds the first row with a text, so a repeated text keeps the earlier row.
    const QString folded = key.toCaseFolded();
    if (!m_firstByKey.contains(folded))
        m_firstByKey.insert(folded, position);
    return position;
}

QStringList ServiceLineFields(const QString& line)
{
    // The quotes around the line are dropped whatever they are; a line too short for that is
    // split whole.
    const QString inner = line.size() >= 2 ? line.mid(1, line.size() - 2) : line;
    if (inner.isEmpty())
        return {};
    QStringList fields = inner.split(QLatin1Char(','));
    if (fields.size() <= 3)
        return fields;
    const QString key = fields.takeFirst();
    const QString genre = fields.takeLast();
    return {key, fields.join(QLatin1Char(',')), genre};
}

void ChannelTable::LoadServices(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcRadio) << "cannot read" << path << ":" << file.errorString();
        return;
    }
    const QByteArray all = file.readAll();
    // Lines end at CR LF, LF or a lone CR: a file cut after the CR of its last line ends there.
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = pos;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n')
            ++end;
        const QByteArrayView line = QByteArrayView(all).sliced(pos, end - pos);
        pos = end + (QByteArrayView(all).sliced(end).startsWith("\r\n") ? 2 : 1);
        const QStringList fields = ServiceLineFields(app::DecodeLine(line));
        if (fields.isEmpty())
            continue;
        const int position = Add(fields[0]);
        setText(position, Station, fields.value(1));
        setText(position, Genre, fields.value(2));
    }
}

namespace {
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}
} // namespace

bool AppendService(const QString& path, const QString& key, const QString& station, const QString& genre)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        qCWarning(lcRadio) << "cannot append to" << path << ":" << file.errorString();
        return false;
    }
    const qint64 oldSize = file.size();
    QByteArray line;
    // A file whose last line lost its line end (edited by hand) must not swallow the new line; a
    // lone CR ends a line as well.
    if (oldSize > 0 && file.seek(oldSize - 1)) {
        const QByteArray last = file.peek(1);
        if (last != "\n" && last != "\r")
            line += "\r\n";
    }
    // The genre is read from the last comma on: a comma inside it would move part of it into the
    // station, so it is written as a semicolon.
    const QString storedGenre = oneLine(genre).replace(QLatin1Char(','), QLatin1Char(';'));
    line += '"' + oneLine(key).toUtf8() + ',' + oneLine(station).toUtf8() + ',' + storedGenre.toUtf8() + "\"\r\n";
    // Lines are appended rarely (a channel heard for the first time); each one is on disk at
    // once, so a power cut does not lose it.
    if (!file.seek(oldSize) || file.write(line) != line.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        qCWarning(lcRadio) << "cannot append to" << path << ":" << file.errorString();
        // Take back a partial line so that the next append starts a clean line.
        file.resize(oldSize);
        return false;
    }
    if (oldSize == 0)
        modFunctions::SyncFolder(QFileInfo(path).absolutePath());
    return true;
}

} // namespace radio
