// The channel table: every channel the radio has told us of, with station, artist, title and
// genre, in the order first heard; and services.dat, which keeps numbers, stations and genres
// between runs and only ever grows.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace radio {

// The five columns of a row: the row's own text (the channel number, the row key), station,
// artist, title, genre.
enum Column { Num = 0, Station = 1, Artist = 2, Title = 3, Genre = 4 };

struct ColumnHeader {
    QString key;
    QString text;
    float width = 0.0f;
};

class ChannelTable {
public:
    // The channel number as the table keys it: zero-padded to three digits when it has one or
    // two (7 -> 007, 42 -> 042, 123 -> 123).
    static QString RowKey(qint32 number);

    // Creates the five columns, sized as shares of the table control's width.
    void CreateColumns(float tableWidth);
    const std::vector<ColumnHeader>& columns() const { return m_columns; }

    int count() const { return int(m_rows.size()); }
    // Column k of the row at a 0-based table position; empty for a position outside the table.
    QString text(int position, int column) const;
    void setText(int position, int column, const QString& value);

    // The 0-based position of the first row whose text equals key (letter case ignored), or -1.
    int FindItem(const QString& key) const;
    // Appends a row with the given text and empty columns; returns its position.
    int Add(const QString& key);

    // The sort settings of the table: the 0-based column and the direction (0 ascending, 1
    // descending). The rows keep the order they were heard in; only a header click changes these.
    qint16 SortKey = 0;
    qint16 SortOrder = 0;

    // Reads services.dat into the table. Each line holds a double quote, the row key, a comma,
    // the station, a comma, the genre and a double quote; artist and title stay empty.
    void LoadServices(const QString& path);

private:
    using Row = std::array<QString, 5>;
    std::vector<Row> m_rows;
    std::vector<ColumnHeader> m_columns;
    QHash<QString, int> m_firstByKey;
};

// The fields of one services.dat line: the key before the first comma, the genre after the
// last comma, the station everything between (so a station name with a comma loads whole).
// Lines without a second comma keep the plain order key, station, genre.
QStringList ServiceLineFields(const QString& line);

// Appends one channel to services.dat (creating the file): exactly one line ending in CR LF.
// Line breaks inside the names become spaces, so one channel is always one line; a comma inside
// the genre becomes a semicolon, so the line loads back as written. A failed append loses only
// this line; returns false then.
bool AppendService(const QString& path, const QString& key, const QString& station, const QString& genre);

} // namespace radio
