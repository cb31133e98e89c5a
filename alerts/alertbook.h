// The alert book: the artists and songs the driver wants to hear of, kept in vantoxm.ini, section
// Alerts: Artist1..Artist50 and Song1..Song50 (a song as "<artist> - <title>"). Holding on an
// artist or a song toggles its alert; every change is written at once. At most 50 of each: the
// 51st replaces the oldest.
//
// Order on disk: the keys of a kind form a ring that starts at FirstArtist (FirstSong), 1 when
// missing. A new alert takes the key after the newest one, so the ring's order is the order in
// which the alerts were set, also after a restart. Setting or removing an alert writes its one
// key. Replacing the oldest also moves the ring's start past the new alert, a second key: the
// order on disk cannot follow a replacement any other way, as the 51st must take the oldest's
// key. The same second write comes when room is left only at the start of the ring. When room is
// left only between alerts (some were removed in the middle), the new alert takes the last such
// key, and after a restart it counts as older than the alerts behind that key.
#pragma once

#include "alerts/alertmatch.h"
#include "base/modini.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace alerts {

class AlertBook {
public:
    static constexpr int Capacity = 50;

    enum class Outcome { Set, Removed, ReplacedOldest, Refused };

    // What a hold did, for the line that says so.
    struct Toggle {
        Outcome outcome = Outcome::Refused; // Refused: an empty artist or title, nothing stored
        QString alert;                      // the alert set or removed, as stored
        QString replaced;                   // the oldest alert, gone to make room
        bool saved = true;                  // false when vantoxm.ini could not be written
        // "Alert set: <alert>", "Alert removed: <alert>", "Alert set: <alert> (replaces <old>)";
        // empty when refused.
        QString Message() const;
    };

    // Writes one key of the settings file: modIni::WriteSetting, or a stand-in that watches it.
    using Writer =
        std::function<qint16(const QString& file, const QString& section, const QString& key, const QString& value)>;

    // Reads the alerts from the settings file, or from the copy of it given.
    explicit AlertBook(QString iniFile, Writer writer = modIni::WriteSetting);
    AlertBook(QString iniFile, const modIni::IniDocument& doc, Writer writer = modIni::WriteSetting);

    Toggle ToggleArtist(QStringView artist);
    Toggle ToggleSong(QStringView artist, QStringView title);

    bool HasArtist(QStringView artist) const;
    bool HasSong(QStringView artist, QStringView title) const;

    // The alerts, oldest first.
    QStringList Artists() const { return m_artists.texts(); }
    QStringList Songs() const { return m_songs.texts(); }

    // The alerts in matchable form; follows every toggle.
    const AlertIndex& Index() const { return m_index; }

private:
    // One kind of alert on its ring of keys.
    class Ring {
    public:
        Ring(QString prefix, QString startKey);
        void load(const modIni::IniDocument& doc, bool songs);
        QStringList texts() const;
        int find(const std::function<bool(const QString& stored)>& same) const;
        Toggle toggle(const QString& text, const std::function<bool(const QString& stored)>& same, AlertBook& book);

    private:
        struct Entry {
            QString text;
            int key = 0;             // the number of its key
            std::vector<int> copies; // further keys a hand-edited file gave the same alert
        };
        int keyAt(int place) const;
        int placeOf(int key) const;
        bool taken(int key) const;
        int keyForNew(int* newStart) const;
        void forgetCopy(int key);
        bool write(AlertBook& book, int key, const QString& text) const;
        bool writeStart(AlertBook& book, int start);
        bool clearKeys(AlertBook& book, const Entry& entry) const;

        QString m_prefix;
        QString m_startKey;
        int m_start = 1;
        std::vector<Entry> m_entries; // oldest first
    };

    void rebuildIndex();

    QString m_iniFile;
    Writer m_writer;
    Ring m_artists;
    Ring m_songs;
    AlertIndex m_index;
};

} // namespace alerts
