// Compared forms of texts, their keys, and the index of the alerts.
#include "alertmatch.h"

#include <algorithm>
#include <iterator>

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
        bool blank = false;
        if (c < 0x80) { // all a receiver sends, on a short path
            blank = c <= 0x20 || c == 0x7F;
            c = c - U'A' < 26u ? c + (U'a' - U'A') : c;
            ++i;
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
                ++i;
            }
            blank = isBlank(c);
            c = folded(c);
            ++i;
        }
        if (blank) {
            blankPending = true;
        } else {
            if (blankPending)
                put(U' ');
            blankPending = false;
            put(c);
        }
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
// counterparts, so a cut never meets another cut of a different long text. A form is the key
// with a constant of its own mixed in; the keys are spread already.
enum class Form : quint64 { Whole = 0, CutOfLongAlert = 0x9e3779b97f4a7c15ull, ShortAlert = 0x632be59bd9b4e019ull };

quint64 tagged(Form form, quint64 key)
{
    return key ^ quint64(form);
}

// An artist's form with a title's: the title's key turned by an odd multiplier, so that the pair
// (a, b) and the pair (b, a) differ.
quint64 paired(quint64 artist, quint64 title)
{
    return artist ^ (title * 0xd6e8feb86659fd93ull);
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

} // namespace

ComparedText CompareForm(QStringView text)
{
    QString storage;
    const QStringView t = trimmed(composed(text, storage));
    ComparedText forms;
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
    return CompareForm(text).full;
}

bool SameText(QStringView a, QStringView b)
{
    return SameForms(CompareForm(a), CompareForm(b));
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

namespace {

// The keys of a trimmed text; *marked tells of an accent mark, after which the text must be
// composed first.
TextKeys keysOfTrimmed(QStringView t, bool* marked)
{
    TextKeys keys;
    keys.empty = t.isEmpty();
    keys.longer = t.size() > LineUpWidth;
    quint64 hash = FnvOffset;
    walkCompared(
        t,
        [&](char32_t c) {
            if (c >= 0x300 && QChar::isMark(c))
                *marked = true;
            hash ^= c;
            hash *= FnvPrime;
        },
        [&] { keys.cut = spread(hash); });
    keys.full = spread(hash);
    if (!keys.longer)
        keys.cut = keys.full;
    return keys;
}

} // namespace

// The same walk as MatchText, hashed instead of written out: no allocation for the texts a
// receiver sends, which have no separate accent marks.
TextKeys KeysOf(QStringView text)
{
    bool marked = false;
    const TextKeys keys = keysOfTrimmed(trimmed(text), &marked);
    if (!marked)
        return keys;
    QString storage;
    return keysOfTrimmed(trimmed(composed(text, storage)), &marked);
}

void AlertIndex::KeyTable::clear(int expected)
{
    // At most half full: a miss, the usual answer, ends after a probe or two.
    size_t size = 16;
    while (size < size_t(expected) * 2)
        size *= 2;
    m_keys.assign(size, 0);
    m_alerts.assign(size, -1);
    m_mask = size - 1;
    std::fill(std::begin(m_filter), std::end(m_filter), 0);
}

void AlertIndex::KeyTable::insert(quint64 key, int alert)
{
    key = key ? key : 1;
    const quint64 bit = key >> 52; // the slots go by the low bits
    m_filter[bit / 64] |= quint64(1) << (bit % 64);
    for (quint64 i = key & m_mask;; i = (i + 1) & m_mask) {
        if (m_keys[i] == key)
            return; // an earlier alert has this key already: either one confirms the same way
        if (m_keys[i] == 0) {
            m_keys[i] = key;
            m_alerts[i] = alert;
            return;
        }
    }
}

int AlertIndex::KeyTable::find(quint64 key) const
{
    if (!mayHold(key))
        return -1;
    key = key ? key : 1;
    for (quint64 i = key & m_mask;; i = (i + 1) & m_mask) {
        if (m_keys[i] == key)
            return m_alerts[i];
        if (m_keys[i] == 0)
            return -1;
    }
}

void AlertIndex::rebuild(const QStringList& artists, const QStringList& songs)
{
    m_artists.clear();
    m_songs.clear();
    m_artistKeys.clear(int(artists.size()) * 2);
    for (const QString& artist : artists) {
        const TextKeys keys = KeysOf(artist);
        if (keys.empty)
            continue;
        for (const quint64 form : alertForms(keys).forms)
            m_artistKeys.insert(form, int(m_artists.size()));
        m_artists.push_back(CompareForm(artist));
    }

    std::vector<std::pair<QString, QString>> readings;
    for (const QString& song : songs)
        for (auto& reading : SongReadings(song))
            readings.push_back(std::move(reading));
    m_songArtistKeys.clear(int(readings.size()) * 2);
    m_songKeys.clear(int(readings.size()) * 4);
    for (const auto& [artist, title] : readings) {
        const int song = int(m_songs.size());
        const Lookups artistForms = alertForms(KeysOf(artist));
        const Lookups titleForms = alertForms(KeysOf(title));
        for (const quint64 a : artistForms.forms) {
            m_songArtistKeys.insert(a, song);
            for (const quint64 t : titleForms.forms)
                m_songKeys.insert(paired(a, t), song);
        }
        m_songs.emplace_back(CompareForm(artist), CompareForm(title));
    }
}

bool AlertIndex::mayMatch(const TextKeys& artistKeys) const
{
    if (isEmpty() || artistKeys.empty)
        return false;
    for (const quint64 form : reportForms(artistKeys).forms)
        if (m_artistKeys.mayHold(form) || m_songArtistKeys.mayHold(form))
            return true;
    return false;
}

bool AlertIndex::matchesArtist(QStringView artist, const TextKeys& artistKeys) const
{
    if (m_artists.empty() || artistKeys.empty)
        return false;
    for (const quint64 form : reportForms(artistKeys).forms)
        if (const int alert = m_artistKeys.find(form);
            alert >= 0 && SameForms(CompareForm(artist), m_artists[size_t(alert)]))
            return true;
    return false;
}

bool AlertIndex::matchesSong(QStringView artist, const TextKeys& artistKeys, QStringView title,
                             const TextKeys& titleKeys) const
{
    if (m_songs.empty() || artistKeys.empty || titleKeys.empty)
        return false;
    const Lookups artistForms = reportForms(artistKeys);
    if (m_songArtistKeys.find(artistForms.forms[0]) < 0 && m_songArtistKeys.find(artistForms.forms[1]) < 0)
        return false;
    const Lookups titleForms = reportForms(titleKeys);
    for (const quint64 a : artistForms.forms) {
        for (const quint64 t : titleForms.forms) {
            const int song = m_songKeys.find(paired(a, t));
            if (song < 0)
                continue;
            const auto& [songArtist, songTitle] = m_songs[size_t(song)];
            if (SameForms(CompareForm(artist), songArtist) && SameForms(CompareForm(title), songTitle))
                return true;
        }
    }
    return false;
}

} // namespace alerts
