// Compared forms of texts, their keys, and the index of the alerts.
#include "alertmatch.h"

namespace alerts {
namespace {

// Blanks are the spaces of any script, line breaks and control characters: the receiver pads its
// fields with spaces or zero bytes, and a line break inside a name is only a gap.
bool isBlank(char32_t c)
{
    if (c <= 0x20)
        return true;
    if (c < 0x7F)
        return false;
    if (c <= 0xA0)
        return true; // DEL, the C1 controls, the no-break space
    return QChar::isSpace(c);
}

char32_t folded(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    return QChar::toCaseFolded(c);
}

// A letter with a separate accent mark is the same letter as the one written with the accent
// (é as e and U+0301 is é), so such texts are composed first. Texts without marks, which is all
// a receiver sends, are used as they are.
QStringView composed(QStringView text, QString& storage)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x300 && c.isMark()) {
            storage = text.toString().normalized(QString::NormalizationForm_C);
            return storage;
        }
    }
    return text;
}

// The text without blanks at its ends.
QStringView trimmed(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin].unicode()))
        ++begin;
    while (end > begin && isBlank(text[end - 1].unicode()))
        --end;
    return text.sliced(begin, end - begin);
}

// The part of a trimmed text the line-up shows: its first 16 characters, with a character that
// takes two UTF-16 units counted whole.
qsizetype cutLength(QStringView text)
{
    if (text.size() <= LineUpWidth)
        return text.size();
    return text[LineUpWidth - 1].isHighSurrogate() ? LineUpWidth + 1 : LineUpWidth;
}

// Walks a trimmed text in compared form: put() gets each character, case folded, with one space
// for every run of blanks; atCut() is called once the line-up's part has been walked.
template <typename Put, typename AtCut> void walkCompared(QStringView text, Put&& put, AtCut&& atCut)
{
    const qsizetype cut = cutLength(text);
    bool blankPending = false;
    for (qsizetype i = 0; i < text.size();) {
        char32_t c = text[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
            units = 2;
        }
        if (isBlank(c)) {
            blankPending = true;
        } else {
            if (blankPending)
                put(U' ');
            blankPending = false;
            put(folded(c));
        }
        i += units;
        if (i == cut)
            atCut();
    }
}

// FNV-1a over the characters, spread by the SplitMix64 finaliser so that the low bits of a key
// are as good as the high ones for the table.
constexpr quint64 FnvOffset = 0xcbf29ce484222325ull;
constexpr quint64 FnvPrime = 0x100000001b3ull;

quint64 spread(quint64 x)
{
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ull;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

// The forms a text is looked up by. An alert adds its whole text and either its cut (when it is
// longer than the line-up's width: a report may bring only the cut) or itself as a possible cut
// (when it is not longer: a report may bring the whole text). A report looks for the
// counterparts, so a cut never meets another cut of a different long text.
enum class Form : quint64 { Whole = 1, CutOfLongAlert = 2, ShortAlert = 3 };

quint64 tagged(Form form, quint64 key)
{
    return spread(key + quint64(form) * 0x9e3779b97f4a7c15ull);
}

quint64 paired(quint64 artist, quint64 title)
{
    return spread(artist ^ spread(title + 0x632be59bd9b4e019ull));
}

struct Lookups {
    quint64 forms[2];
};

Lookups alertForms(const TextKeys& keys)
{
    return {{tagged(Form::Whole, keys.full),
             keys.longer ? tagged(Form::CutOfLongAlert, keys.cut) : tagged(Form::ShortAlert, keys.full)}};
}

Lookups reportForms(const TextKeys& keys)
{
    return {{tagged(Form::Whole, keys.full),
             keys.longer ? tagged(Form::ShortAlert, keys.cut) : tagged(Form::CutOfLongAlert, keys.full)}};
}

struct Compared {
    QString full, cut;
    bool longer = false;
};

Compared comparedOf(QStringView text)
{
    QString storage;
    const QStringView t = trimmed(composed(text, storage));
    Compared forms;
    forms.longer = t.size() > LineUpWidth;
    forms.full.reserve(t.size());
    const auto append = [&](char32_t c) {
        if (QChar::requiresSurrogates(c)) {
            forms.full.append(QChar(QChar::highSurrogate(c)));
            forms.full.append(QChar(QChar::lowSurrogate(c)));
        } else {
            forms.full.append(QChar(char16_t(c)));
        }
    };
    walkCompared(t, append, [&] { forms.cut = forms.full; });
    if (!forms.longer)
        forms.cut = forms.full;
    return forms;
}

} // namespace

QString CleanText(QStringView text)
{
    QString clean = trimmed(text).toString();
    for (QChar& c : clean)
        if (isBlank(c.unicode()))
            c = u' ';
    return clean;
}

QString MatchText(QStringView text)
{
    return comparedOf(text).full;
}

bool SameText(QStringView a, QStringView b)
{
    return SameForms(comparedOf(a), comparedOf(b));
}

bool SameSong(QStringView artistA, QStringView titleA, QStringView artistB, QStringView titleB)
{
    return SameText(artistA, artistB) && SameText(titleA, titleB);
}

std::vector<std::pair<QString, QString>> SongReadings(QStringView stored)
{
    std::vector<std::pair<QString, QString>> readings;
    for (qsizetype i = 1; i + 1 < stored.size(); ++i) {
        if (stored[i] != u'-' || !isBlank(stored[i - 1].unicode()) || !isBlank(stored[i + 1].unicode()))
            continue;
        const QStringView artist = trimmed(stored.first(i));
        const QStringView title = trimmed(stored.sliced(i + 1));
        if (!artist.isEmpty() && !title.isEmpty())
            readings.emplace_back(artist.toString(), title.toString());
    }
    return readings;
}

// The same walk as MatchText, hashed instead of written out: no allocation for the texts a
// receiver sends.
TextKeys KeysOf(QStringView text)
{
    QString storage;
    const QStringView t = trimmed(composed(text, storage));
    TextKeys keys;
    keys.empty = t.isEmpty();
    keys.longer = t.size() > LineUpWidth;
    quint64 hash = FnvOffset;
    walkCompared(
        t,
        [&](char32_t c) {
            hash ^= c;
            hash *= FnvPrime;
        },
        [&] { keys.cut = spread(hash); });
    keys.full = spread(hash);
    if (!keys.longer)
        keys.cut = keys.full;
    return keys;
}

void AlertIndex::KeyTable::clear(int expected)
{
    // At most a quarter full: a miss, the usual answer, ends after a probe or two.
    size_t size = 16;
    while (size < size_t(expected) * 4)
        size *= 2;
    m_slots.assign(size, {0, -1});
    m_mask = size - 1;
}

void AlertIndex::KeyTable::insert(quint64 key, int alert)
{
    key = key ? key : 1;
    for (quint64 i = key & m_mask;; i = (i + 1) & m_mask) {
        if (m_slots[i].first == key)
            return; // an earlier alert has this key already: either one confirms the same way
        if (m_slots[i].first == 0) {
            m_slots[i] = {key, alert};
            return;
        }
    }
}

int AlertIndex::KeyTable::find(quint64 key) const
{
    key = key ? key : 1;
    for (quint64 i = key & m_mask;; i = (i + 1) & m_mask) {
        if (m_slots[i].first == key)
            return m_slots[i].second;
        if (m_slots[i].first == 0)
            return -1;
    }
}

void AlertIndex::rebuild(const QStringList& artists, const QStringList& songs)
{
    m_artistTexts = artists;
    m_songs.clear();
    for (const QString& song : songs)
        for (auto& reading : SongReadings(song))
            m_songs.push_back(std::move(reading));

    m_artistKeys.clear(int(artists.size()) * 2);
    for (int i = 0; i < artists.size(); ++i) {
        const TextKeys keys = KeysOf(artists[i]);
        if (keys.empty)
            continue;
        for (const quint64 form : alertForms(keys).forms)
            m_artistKeys.insert(form, i);
    }
    m_songKeys.clear(int(m_songs.size()) * 4);
    for (int i = 0; i < int(m_songs.size()); ++i) {
        const Lookups artist = alertForms(KeysOf(m_songs[size_t(i)].first));
        const Lookups title = alertForms(KeysOf(m_songs[size_t(i)].second));
        for (const quint64 a : artist.forms)
            for (const quint64 t : title.forms)
                m_songKeys.insert(paired(a, t), i);
    }
}

bool AlertIndex::matchesArtist(QStringView artist, const TextKeys& artistKeys) const
{
    if (m_artistTexts.isEmpty() || artistKeys.empty)
        return false;
    for (const quint64 form : reportForms(artistKeys).forms)
        if (const int alert = m_artistKeys.find(form); alert >= 0 && SameText(m_artistTexts[alert], artist))
            return true;
    return false;
}

bool AlertIndex::matchesSong(QStringView artist, const TextKeys& artistKeys, QStringView title,
                             const TextKeys& titleKeys) const
{
    if (m_songs.empty() || artistKeys.empty || titleKeys.empty)
        return false;
    const Lookups artistForms = reportForms(artistKeys);
    const Lookups titleForms = reportForms(titleKeys);
    for (const quint64 a : artistForms.forms) {
        for (const quint64 t : titleForms.forms) {
            const int song = m_songKeys.find(paired(a, t));
            if (song >= 0 && SameSong(m_songs[size_t(song)].first, m_songs[size_t(song)].second, artist, title))
                return true;
        }
    }
    return false;
}

} // namespace alerts
