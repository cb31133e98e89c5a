// Compared forms of texts, and the index of the alerts.
#include "alertmatch.h"

#include <algorithm>

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

void appendChar(QString& text, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        text.append(QChar(QChar::highSurrogate(c)));
        text.append(QChar(QChar::lowSurrogate(c)));
    } else {
        text.append(QChar(char16_t(c)));
    }
}

// A trimmed text in compared form: each character case folded, one space for every run of blanks.
// *cutSize gets the length of what the line-up's part of the text gives (a blank that ends it
// gives nothing).
QString comparedOf(QStringView text, qsizetype* cutSize)
{
    const qsizetype cut = cutLength(text);
    QString form;
    form.reserve(text.size());
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
                form.append(u' ');
            blankPending = false;
            appendChar(form, c);
        }
        if (i <= cut)
            *cutSize = form.size();
    }
    return form;
}

} // namespace

ComparedText CompareForm(QStringView text)
{
    QString storage;
    const QStringView t = trimmed(composed(text, storage));
    qsizetype cutSize = 0;
    ComparedText forms{comparedOf(t, &cutSize), {}, t.size() > LineUpWidth};
    forms.cut = forms.longer ? forms.full.first(cutSize) : forms.full;
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

bool SameForms(const ComparedText& a, const ComparedText& b)
{
    return a.full == b.full || (a.longer && !b.longer && a.cut == b.full) || (!a.longer && b.longer && a.full == b.cut);
}

void AlertIndex::TextSet::insert(const ComparedText& text)
{
    if (text.full.isEmpty())
        return;
    m_withinCut.insert(text.full);
    m_whole.insert(text.full);
    if (text.longer)
        m_withinCut.insert(text.cut);
    else
        m_short.insert(text.full);
}

bool AlertIndex::TextSet::contains(const ComparedText& text) const
{
    if (!text.longer)
        return m_withinCut.contains(text.full);
    return m_whole.contains(text.full) || m_short.contains(text.cut);
}

void AlertIndex::rebuild(const QStringList& artists, const QStringList& songs)
{
    m_artists = {};
    m_songArtists = {};
    m_songs.clear();
    for (const QString& artist : artists)
        m_artists.insert(CompareForm(artist));
    for (const QString& song : songs) {
        for (const auto& [artist, title] : SongReadings(song)) {
            m_songs.emplace_back(CompareForm(artist), CompareForm(title));
            m_songArtists.insert(m_songs.back().first);
        }
    }
}

bool AlertIndex::matchesArtist(const ComparedText& artist) const
{
    return m_artists.contains(artist);
}

bool AlertIndex::matchesSong(const ComparedText& artist, const ComparedText& title) const
{
    if (!m_songArtists.contains(artist))
        return false;
    return std::any_of(m_songs.begin(), m_songs.end(), [&](const auto& song) {
        return SameForms(artist, song.first) && SameForms(title, song.second);
    });
}

} // namespace alerts
