// How an alert's text is compared with what the radio reports. Letter case, blanks at the ends
// and runs of blanks inside do not count; the line-up gives only the first 16 characters of an
// artist or title, so a text of that width matches the longer text it begins; accented letters
// match only themselves. The index keeps the alerts' compared forms in sets, so a report's compared
// form is matched against all of them with a look-up or two.
#pragma once

#include <QSet>
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

// A text in compared form, whole and as the line-up's cut of it.
struct ComparedText {
    QString full;
    QString cut;         // of the first 16 characters; the same as full for a text no longer
    bool longer = false; // more than 16 characters between its first and last non-blank
};
ComparedText CompareForm(QStringView text);

// The rule of SameText on compared forms: the same whole text, or the line-up's cut of a longer
// one against a text no longer than the cut.
bool SameForms(const ComparedText& a, const ComparedText& b);

// The alerts in matchable form.
class AlertIndex {
public:
    // artists: the alerts' artists; songs: the stored songs, as "<artist> - <title>".
    void rebuild(const QStringList& artists, const QStringList& songs);

    // Whether an artist alert, or a song alert, matches what a channel plays.
    bool matchesArtist(const ComparedText& artist) const;
    bool matchesSong(const ComparedText& artist, const ComparedText& title) const;

private:
    // Texts in compared form, found by the rule of SameForms. A text no longer than the cut, all
    // the line-up sends, is one of the whole texts or the cut of a longer one: one look-up. A
    // longer text is one of the whole texts, or its cut is a whole text no longer than the cut:
    // two. A longer text is never looked for among the cuts, which its runs of blanks could make
    // it equal to.
    class TextSet {
    public:
        void insert(const ComparedText& text);
        bool contains(const ComparedText& text) const;

    private:
        QSet<QString> m_withinCut; // the whole texts and the cuts of the longer ones
        QSet<QString> m_whole;
        QSet<QString> m_short; // the whole texts no longer than the cut
    };

    TextSet m_artists;
    TextSet m_songArtists; // the artists of the songs alone: most reports end there
    // Every reading of every song, compared one by one once the artist is one of theirs: there
    // are at most 50 songs.
    std::vector<std::pair<ComparedText, ComparedText>> m_songs;
};

} // namespace alerts
