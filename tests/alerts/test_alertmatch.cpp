// The matching of alerts against the radio's texts, as tables of named rows.
#include "alerts/alertmatch.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace alerts;

namespace {

// Every row three ways that must agree: the texts compared, their compared forms, and the index.
TEST(AlertMatch, Artists)
{
    struct Row {
        const char* name;
        QString alert, heard;
        bool same;
    };
    // "Electric Light Orchestra" is 24 characters; the line-up shows "Electric Light O".
    const Row rows[] = {
        {"case of plain and accented letters", "ÉDITH Piaf", "édith PIAF", true},
        {"blanks at the ends", "  Madonna\t", "Madonna ", true},
        {"runs of blanks inside are one", "Earth,  Wind &\t Fire", "Earth, Wind & Fire", true},
        {"line break is a blank", "Guns N'\r\nRoses", "Guns N' Roses", true},
        {"zero-byte padding is blank", QStringLiteral("Madonna") + QChar(0) + QChar(0), "Madonna", true},
        {"blank inside a word counts", "Mad onna", "Madonna", false},
        {"cut matches the longer text", "Electric Light Orchestra", "Electric Light O", true},
        {"longer text matches a stored cut", "Electric Light O", "ELECTRIC LIGHT ORCHESTRA", true},
        {"cut ending in a blank is trimmed", "Kool & the Gang Live Band", "Kool & the Gang", true},
        {"cut counts blanks as sent", "Electric  Light Orchestra", "Electric  Light", true},
        {"cut of another text", "Electric Light Orchestra", "Electric Light X", false},
        {"shorter start is no cut", "The Beatles Anthology Band", "The Beatles", false},
        {"two long texts with the same cut", "Electric Light Orchestra", "Electric Light Opera House", false},
        {"long text whose blanks shrink it to a cut", "ABBA Gold Greatest Hits", "ABBA  Gold  Greate", false},
        {"accent is not the plain letter", "Beyoncé", "Beyonce", false},
        {"accent inside a cut", "Édith Piaf et les Compagnons", "Edith Piaf et le", false},
        {"separate accent mark is the same letter", QStringLiteral("Cafe\u0301 Tacvba"), "CAFÉ TACVBA", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SameText(row.alert, row.heard), row.same);
        EXPECT_EQ(SameText(row.heard, row.alert), row.same);
        EXPECT_EQ(SameForms(CompareForm(row.alert), CompareForm(row.heard)), row.same);
        AlertIndex index;
        index.rebuild({QStringLiteral("Someone Else"), row.alert}, {});
        EXPECT_EQ(index.matchesArtist(CompareForm(row.heard)), row.same);
    }
}

// Every row by the index and by the stored song's readings.
TEST(AlertMatch, Songs)
{
    struct Row {
        const char* name;
        QString stored; // "<artist> - <title>"
        QString artist, title;
        bool same;
    };
    const QString elo = QStringLiteral("Electric Light Orchestra - Mr. Blue Sky (Full Version)");
    const Row rows[] = {
        {"whole", "Queen - Bohemian Rhapsody", "queen", "BOHEMIAN  RHAPSODY", true},
        {"both cut by the line-up", elo, "Electric Light O", "Mr. Blue Sky (Fu", true},
        {"title cut, artist whole", "Queen - Bohemian Rhapsody Live Aid", "Queen", "Bohemian Rhapsod", true},
        {"artist alone is no song", "Queen - Bohemian Rhapsody", "Queen", "Radio Ga Ga", false},
        {"title of another artist", "Queen - Bohemian Rhapsody", "Panic", "Bohemian Rhapsody", false},
        {"shorter title is no cut", elo, "Electric Light O", "Mr. Blue Sky", false},
        {"dash inside the artist", "Jay-Z - 99 Problems", "JAY-Z", "99 Problems", true},
        {"dash inside the title", "Blur - Song 2 - Live", "Blur", "Song 2 - Live", true},
        {"dash with blanks inside the artist", "Earth - Wind - Fire", "Earth - Wind", "Fire", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AlertIndex index;
        index.rebuild({}, {QStringLiteral("Abba - Waterloo"), row.stored});
        EXPECT_EQ(index.matchesSong(CompareForm(row.artist), CompareForm(row.title)), row.same);
        bool byReading = false;
        for (const auto& [artist, title] : SongReadings(row.stored))
            byReading = byReading || SameSong(artist, title, row.artist, row.title);
        EXPECT_EQ(byReading, row.same);
    }
}

TEST(AlertMatch, SongReadingsNeedBlanksAroundTheDashAndBothParts)
{
    EXPECT_TRUE(SongReadings(u"Jay-Z-99 Problems").empty());
    EXPECT_TRUE(SongReadings(u" - Title only").empty());
    using Readings = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(SongReadings(u"A - B - C"), (Readings{{"A", "B - C"}, {"A - B", "C"}}));
}

TEST(AlertMatch, EmptyTextsNeverMatch)
{
    AlertIndex index;
    index.rebuild({QStringLiteral("  "), QStringLiteral("Madonna")}, {QStringLiteral("Queen - Bohemian Rhapsody")});
    EXPECT_FALSE(index.matchesArtist(CompareForm(u"")));
    EXPECT_FALSE(index.matchesSong(CompareForm(u"Queen"), CompareForm(u"")));
    EXPECT_TRUE(index.matchesArtist(CompareForm(u"Madonna")));
}

} // namespace
