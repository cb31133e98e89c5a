// The matching of alerts against the radio's texts, as a table of named rows. Every row is checked
// three ways that must agree: the texts compared, their keys compared, and the index of alerts.
#include "alerts/alertmatch.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace alerts;

namespace {

struct MatchRow {
    const char* name;
    QString alert;
    QString heard;
    bool same;
};
void PrintTo(const MatchRow& row, std::ostream* os)
{
    *os << row.name;
}

class ArtistMatch : public ::testing::TestWithParam<MatchRow> {};

TEST_P(ArtistMatch, TextsKeysAndIndexAgree)
{
    const MatchRow& row = GetParam();
    EXPECT_EQ(SameText(row.alert, row.heard), row.same);
    EXPECT_EQ(SameText(row.heard, row.alert), row.same);
    EXPECT_EQ(KeysOf(row.alert).sameAs(KeysOf(row.heard)), row.same);
    AlertIndex index;
    index.rebuild({QStringLiteral("Someone Else"), row.alert}, {});
    EXPECT_EQ(index.matchesArtist(row.heard, KeysOf(row.heard)), row.same);
}

// "Electric Light Orchestra" is 24 characters; the line-up shows "Electric Light O".
const MatchRow artistRows[] = {
    {"CaseIgnored", "Madonna", "MADONNA", true},
    {"CaseOfAccentedLetters", "ÉDITH PIAF", "édith piaf", true},
    {"BlanksAtEndsIgnored", "  Madonna\t", "Madonna ", true},
    {"RunsOfBlanksInsideAreOne", "Earth,  Wind &\t Fire", "Earth, Wind & Fire", true},
    {"LineBreakIsABlank", "Guns N'\r\nRoses", "Guns N' Roses", true},
    {"ZeroBytePaddingIsBlank", QStringLiteral("Madonna") + QChar(0) + QChar(0), "Madonna", true},
    {"BlankInsideWordCounts", "Mad onna", "Madonna", false},
    {"CutMatchesTheLongerText", "Electric Light Orchestra", "Electric Light O", true},
    {"LongerTextMatchesAStoredCut", "Electric Light O", "ELECTRIC LIGHT ORCHESTRA", true},
    {"CutEndingInABlankIsTrimmed", "Kool & the Gang Live Band", "Kool & the Gang", true},
    {"CutCountsBlanksAsSent", "Electric  Light Orchestra", "Electric  Light", true},
    {"CutOfAnotherText", "Electric Light Orchestra", "Electric Light X", false},
    {"ShorterStartIsNoCut", "The Beatles Anthology Band", "The Beatles", false},
    {"ShortTextsNeedEquality", "Queen", "Queensryche", false},
    {"TwoLongTextsWithTheSameCut", "Electric Light Orchestra", "Electric Light Opera House", false},
    {"AccentIsNotThePlainLetter", "Beyoncé", "Beyonce", false},
    {"UmlautIsNotThePlainLetter", "Motörhead", "Motorhead", false},
    {"AccentInsideACut", "Édith Piaf et les Compagnons", "Edith Piaf et le", false},
    {"SeparateAccentMarkIsTheSameLetter", QStringLiteral("Cafe\u0301 Tacvba"), "CAFÉ TACVBA", true},
};
INSTANTIATE_TEST_SUITE_P(Table, ArtistMatch, ::testing::ValuesIn(artistRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct SongRow {
    const char* name;
    QString stored; // "<artist> - <title>"
    QString artist, title;
    bool same;
};
void PrintTo(const SongRow& row, std::ostream* os)
{
    *os << row.name;
}

class SongMatch : public ::testing::TestWithParam<SongRow> {};

TEST_P(SongMatch, IndexAgreesWithTheTexts)
{
    const SongRow& row = GetParam();
    AlertIndex index;
    index.rebuild({}, {QStringLiteral("Abba - Waterloo"), row.stored});
    EXPECT_EQ(index.matchesSong(row.artist, KeysOf(row.artist), row.title, KeysOf(row.title)), row.same);
    bool byReading = false;
    for (const auto& [artist, title] : SongReadings(row.stored))
        byReading = byReading || SameSong(artist, title, row.artist, row.title);
    EXPECT_EQ(byReading, row.same);
}

const SongRow songRows[] = {
    {"Whole", "Queen - Bohemian Rhapsody", "queen", "BOHEMIAN  RHAPSODY", true},
    {"BothCutByTheLineUp", "Electric Light Orchestra - Mr. Blue Sky (Full Version)", "Electric Light O",
     "Mr. Blue Sky (Fu", true},
    {"TitleCutArtistWhole", "Queen - Bohemian Rhapsody Live Aid", "Queen", "Bohemian Rhapsod", true},
    {"ArtistAloneIsNoSong", "Queen - Bohemian Rhapsody", "Queen", "Radio Ga Ga", false},
    {"TitleOfAnotherArtist", "Queen - Bohemian Rhapsody", "Panic", "Bohemian Rhapsody", false},
    {"ShorterTitleIsNoCut", "Electric Light Orchestra - Mr. Blue Sky (Full Version)", "Electric Light O",
     "Mr. Blue Sky", false},
    {"DashInsideTheArtist", "Jay-Z - 99 Problems", "JAY-Z", "99 Problems", true},
    {"DashInsideTheTitle", "Blur - Song 2 - Live", "Blur", "Song 2 - Live", true},
    {"DashInsideTheArtistWithBlanks", "Earth - Wind - Fire", "Earth - Wind", "Fire", true},
};
INSTANTIATE_TEST_SUITE_P(Table, SongMatch, ::testing::ValuesIn(songRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SongReadings, NeedBlanksAroundTheDashAndBothParts)
{
    EXPECT_EQ(SongReadings(u"Jay-Z - 99 Problems").size(), 1u);
    EXPECT_EQ(SongReadings(u"Jay-Z-99 Problems").size(), 0u);
    EXPECT_EQ(SongReadings(u" - Title only").size(), 0u);
    const auto readings = SongReadings(u"A - B - C");
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[0], std::make_pair(QStringLiteral("A"), QStringLiteral("B - C")));
    EXPECT_EQ(readings[1], std::make_pair(QStringLiteral("A - B"), QStringLiteral("C")));
}

TEST(AlertIndex, EmptyTextsNeverMatch)
{
    AlertIndex index;
    index.rebuild({QStringLiteral("  "), QStringLiteral("Madonna")}, {QStringLiteral("Queen - Bohemian Rhapsody")});
    EXPECT_FALSE(index.matchesArtist(u"", KeysOf(u"")));
    EXPECT_FALSE(index.matchesSong(u"Queen", KeysOf(u"Queen"), u"", KeysOf(u"")));
    EXPECT_TRUE(index.matchesArtist(u"Madonna", KeysOf(u"Madonna")));
}

} // namespace
