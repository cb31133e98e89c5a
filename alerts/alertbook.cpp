// The alert book: toggles, the ring of keys in vantoxm.ini, and the index that follows it.
#include "alertbook.h"

#include "alerts/logging.h"

#include <algorithm>

namespace alerts {
namespace {

const QString Section = QStringLiteral("Alerts");

// A value that starts and ends with the same quote would lose that pair when read back, so it
// gets a pair of its own; any longer value would be cut there when read back.
QString valueForFile(QString text)
{
    if (text.size() > modIni::MaxValueLength)
        text.truncate(text[modIni::MaxValueLength - 1].isHighSurrogate() ? modIni::MaxValueLength - 1
                                                                         : modIni::MaxValueLength);
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') && text.back() == text.front())
        return u'"' + text + u'"';
    return text;
}

bool songMatches(const QString& stored, QStringView artist, QStringView title)
{
    for (const auto& [storedArtist, storedTitle] : SongReadings(stored))
        if (SameSong(storedArtist, storedTitle, artist, title))
            return true;
    return false;
}

bool sameSongAlert(const QString& stored, const QString& other)
{
    for (const auto& [artist, title] : SongReadings(other))
        if (songMatches(stored, artist, title))
            return true;
    return false;
}

} // namespace

QString AlertBook::Toggle::Message() const
{
    switch (outcome) {
    case Outcome::Set: return QStringLiteral("Alert set: %1").arg(alert);
    case Outcome::Removed: return QStringLiteral("Alert removed: %1").arg(alert);
    case Outcome::ReplacedOldest: return QStringLiteral("Alert set: %1 (replaces %2)").arg(alert, replaced);
    case Outcome::Refused: break;
    }
    return {};
}

AlertBook::AlertBook(QString iniFile, Writer writer)
    : AlertBook(iniFile, modIni::IniDocument::fromFile(iniFile), std::move(writer))
{
}

AlertBook::AlertBook(QString iniFile, const modIni::IniDocument& doc, Writer writer)
    : m_iniFile(std::move(iniFile))
    , m_writer(std::move(writer))
    , m_artists(QStringLiteral("Artist"), QStringLiteral("FirstArtist"))
    , m_songs(QStringLiteral("Song"), QStringLiteral("FirstSong"))
{
    m_artists.load(doc, false);
    m_songs.load(doc, true);
    rebuildIndex();
}

AlertBook::Toggle AlertBook::ToggleArtist(QStringView artist)
{
    const QString text = CleanText(artist);
    if (MatchText(text).isEmpty())
        return {};
    const Toggle done = m_artists.toggle(
        text, [&](const QString& stored) { return SameText(stored, text); }, *this);
    rebuildIndex();
    return done;
}

AlertBook::Toggle AlertBook::ToggleSong(QStringView artist, QStringView title)
{
    const QString cleanArtist = CleanText(artist), cleanTitle = CleanText(title);
    if (MatchText(cleanArtist).isEmpty() || MatchText(cleanTitle).isEmpty())
        return {};
    const Toggle done = m_songs.toggle(
        cleanArtist + QStringLiteral(" - ") + cleanTitle,
        [&](const QString& stored) { return songMatches(stored, cleanArtist, cleanTitle); }, *this);
    rebuildIndex();
    return done;
}

bool AlertBook::HasArtist(QStringView artist) const
{
    return m_artists.find([&](const QString& stored) { return SameText(stored, artist); }) >= 0;
}

bool AlertBook::HasSong(QStringView artist, QStringView title) const
{
    return m_songs.find([&](const QString& stored) { return songMatches(stored, artist, title); }) >= 0;
}

void AlertBook::rebuildIndex()
{
    m_index.rebuild(m_artists.texts(), m_songs.texts());
}

AlertBook::Ring::Ring(QString prefix, QString startKey)
    : m_prefix(std::move(prefix))
    , m_startKey(std::move(startKey))
{
}

// The keys are read round the ring from its start, so the list comes out oldest first. A value
// that is no song, or an alert a hand-edited file holds twice, is skipped with a log line; the
// key of a second copy is cleared with the alert, which would come back otherwise.
void AlertBook::Ring::load(const modIni::IniDocument& doc, bool songs)
{
    const int start = modIni::ReadSetting(doc, Section, m_startKey, modIni::AsInteger).toInt();
    m_start = start >= 1 && start <= Capacity ? start : 1;
    for (int place = 0; place < Capacity; ++place) {
        const int key = keyAt(place);
        const QString text =
            CleanText(modIni::ReadSetting(doc, Section, m_prefix + QString::number(key), modIni::AsText).toString());
        if (MatchText(text).isEmpty())
            continue;
        if (songs && SongReadings(text).empty()) {
            qCWarning(lcAlerts) << "not a song alert, skipped:" << m_prefix + QString::number(key) << text;
            continue;
        }
        const int same =
            find([&](const QString& stored) { return songs ? sameSongAlert(stored, text) : SameText(stored, text); });
        if (same >= 0) {
            qCInfo(lcAlerts) << "alert held twice, the later key skipped:" << m_prefix + QString::number(key) << text;
            m_entries[size_t(same)].copies.push_back(key);
            continue;
        }
        m_entries.push_back({text, key, {}});
    }
}

QStringList AlertBook::Ring::texts() const
{
    QStringList texts;
    texts.reserve(qsizetype(m_entries.size()));
    for (const Entry& entry : m_entries)
        texts << entry.text;
    return texts;
}

int AlertBook::Ring::find(const std::function<bool(const QString& stored)>& same) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (same(m_entries[i].text))
            return int(i);
    return -1;
}

AlertBook::Toggle AlertBook::Ring::toggle(const QString& text, const std::function<bool(const QString&)>& same,
                                          AlertBook& book)
{
    Toggle done;
    if (const int i = find(same); i >= 0) {
        const Entry gone = m_entries[size_t(i)];
        m_entries.erase(m_entries.begin() + i);
        done.outcome = Outcome::Removed;
        done.alert = gone.text;
        done.saved = clearKeys(book, gone);
        return done;
    }
    done.alert = text;
    if (m_entries.size() < size_t(Capacity)) {
        int newStart = m_start;
        const int key = keyForNew(&newStart);
        forgetCopy(key);
        m_entries.push_back({text, key, {}});
        done.outcome = Outcome::Set;
        // The alert first: a write cut short between the two leaves it stored, only counted older.
        done.saved = write(book, key, text);
        if (newStart != m_start)
            done.saved = writeStart(book, newStart) && done.saved;
        return done;
    }
    // The new alert takes the oldest's key, and the ring then starts after it.
    const Entry oldest = m_entries.front();
    m_entries.erase(m_entries.begin());
    m_entries.push_back({text, oldest.key, {}});
    done.outcome = Outcome::ReplacedOldest;
    done.replaced = oldest.text;
    done.saved = write(book, oldest.key, text);
    if (const int newStart = oldest.key % Capacity + 1; newStart != m_start)
        done.saved = writeStart(book, newStart) && done.saved;
    return done;
}

// Places count round the ring from its start: place 0 is the start's key.
int AlertBook::Ring::keyAt(int place) const
{
    return (m_start - 1 + place) % Capacity + 1;
}

int AlertBook::Ring::placeOf(int key) const
{
    return (key - m_start + Capacity) % Capacity;
}

bool AlertBook::Ring::taken(int key) const
{
    for (const Entry& entry : m_entries)
        if (entry.key == key)
            return true;
    return false;
}

// The key for a new alert while there is room, and where the ring must start for it to count as
// the newest.
int AlertBook::Ring::keyForNew(int* newStart) const
{
    *newStart = m_start;
    if (m_entries.empty())
        return m_start;
    int first = Capacity, last = -1;
    for (const Entry& entry : m_entries) {
        first = std::min(first, placeOf(entry.key));
        last = std::max(last, placeOf(entry.key));
    }
    if (last + 1 < Capacity)
        return keyAt(last + 1);
    if (first > 0) {
        // Room at the start only: the ring starts at the oldest alert from now on, and the keys
        // before it follow the newest.
        *newStart = keyAt(first);
        return keyAt(0);
    }
    for (int place = Capacity - 1; place >= 0; --place)
        if (!taken(keyAt(place)))
            return keyAt(place);
    return m_start; // not reached: there is room
}

void AlertBook::Ring::forgetCopy(int key)
{
    for (Entry& entry : m_entries)
        std::erase(entry.copies, key);
}

bool AlertBook::Ring::write(AlertBook& book, int key, const QString& text) const
{
    return book.m_writer(book.m_iniFile, Section, m_prefix + QString::number(key), valueForFile(text)) != 0;
}

bool AlertBook::Ring::writeStart(AlertBook& book, int start)
{
    m_start = start;
    return book.m_writer(book.m_iniFile, Section, m_startKey, QString::number(start)) != 0;
}

bool AlertBook::Ring::clearKeys(AlertBook& book, const Entry& entry) const
{
    bool saved = write(book, entry.key, QString());
    for (const int copy : entry.copies)
        saved = write(book, copy, QString()) && saved;
    return saved;
}

} // namespace alerts
