// How an alert's text is compared with what the radio reports. Letter case, blanks at the ends
// and runs of blanks inside do not count; the line-up gives only the first 16 characters of an
// artist or title, so a text of that width matches the longer text it begins; accented letters
// match only themselves. The index reduces every alert to 64-bit keys once, so a report is
// matched against all of them with a few look-ups and no allocation.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <utility>
#include <vector>

namespace alerts {

// Characters of artist and title the line-up gives; the tuned channel gives up to 36.
inline constexpr int LineUpWidth = 16;

// The text as an alert keeps and shows it: line breaks and control characters as spaces, no
// blanks at the ends.
QString CleanText(QStringView text);

// The form in which texts are compared: case folded, without blanks at the ends, every run of
// blanks inside (spaces, tabs, line breaks, control characters) one space, accents composed.
QString MatchText(QStringView text);

// Whether two texts name the same thing: equal compared forms, or one of the two is the line-up's
// cut of the other (its first 16 characters, after the blanks it starts with).
bool SameText(QStringView a, QStringView b);
bool SameSong(QStringView artistA, QStringView titleA, QStringView artistB, QStringView titleB);

// The ways a stored song "<artist> - <title>" can be read: one for every " - " in it that leaves
// an artist and a title (a title with a dash of its own gives two readings).
std::vector<std::pair<QString, QString>> SongReadings(QStringView stored);

// The rule of SameText on any form of the texts (compared forms or their keys): the same whole
// text, or the line-up's cut of a longer one against a text no longer than the cut.
template <typename Form> bool SameForms(const Form& a, const Form& b)
{
    return a.full == b.full || (a.longer && !b.longer && a.cut == b.full) || (!a.longer && b.longer && a.full == b.cut);
}

// A text in compared form, whole and as the line-up's cut of it.
struct ComparedText {
    QString full;
    QString cut; // the same as full for a text no longer than the cut
    bool longer = false;
};
ComparedText CompareForm(QStringView text);

// The keys of one text: hashes of its compared form and of the compared form of its line-up cut.
struct TextKeys {
    quint64 full = 0;
    quint64 cut = 0;     // of the first 16 characters; the same as full for a text no longer
    bool longer = false; // more than 16 characters between its first and last non-blank
    bool empty = true;

    // SameText on keys.
    bool sameAs(const TextKeys& other) const { return SameForms(*this, other); }
};
TextKeys KeysOf(QStringView text);

// The alerts in matchable form.
class AlertIndex {
public:
    // artists: the alerts' artists; songs: the stored songs, as "<artist> - <title>".
    void rebuild(const QStringList& artists, const QStringList& songs);
    bool isEmpty() const { return m_artists.empty() && m_songs.empty(); }

    // False when no alert can match a report by this artist, which is the answer for nearly every
    // report: a few bit tests, before the look-ups below.
    bool mayMatch(const TextKeys& artistKeys) const;

    // Whether an artist alert, or a song alert, matches what a channel plays. A key hit is
    // confirmed on the texts themselves, so two texts that share a key never match.
    bool matchesArtist(QStringView artist, const TextKeys& artistKeys) const;
    bool matchesSong(QStringView artist, const TextKeys& artistKeys, QStringView title,
                     const TextKeys& titleKeys) const;

private:
    // Open addressing over 64-bit keys, 0 marking a free place, with the alert each came from
    // beside it. A bit for every key's top bits answers most misses, the usual answer, before
    // the table is probed.
    class KeyTable {
    public:
        void clear(int expected);
        void insert(quint64 key, int alert);
        int find(quint64 key) const; // the alert, or -1
        bool mayHold(quint64 key) const
        {
            const quint64 bit = (key ? key : 1) >> 52;
            return m_filter[bit / 64] & (quint64(1) << (bit % 64));
        }

    private:
        static constexpr int FilterBits = 4096;
        quint64 m_filter[FilterBits / 64] = {};
        std::vector<quint64> m_keys;
        std::vector<int> m_alerts;
        quint64 m_mask = 0;
    };

    KeyTable m_artistKeys;
    KeyTable m_songArtistKeys; // the artists of the songs alone: most reports end there
    KeyTable m_songKeys;
    // The alerts in compared form, to confirm a key's hit: the artists, and every reading of every
    // song.
    std::vector<ComparedText> m_artists;
    std::vector<std::pair<ComparedText, ComparedText>> m_songs;
};

} // namespace alerts
