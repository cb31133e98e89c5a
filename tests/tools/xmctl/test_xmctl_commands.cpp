// xmctl's command language: splitting lines into words and typing the arguments of each signal.
#include "tools/xmctl/commandline.h"

#include <gtest/gtest.h>

using namespace xmctl;

struct SplitCase {
    const char* name;
    QString line;
    std::optional<QStringList> words; // none: the line is refused
};

class SplitWords : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitWords, CutsTheLineAtBlanksOutsideQuotes)
{
    QString error;
    const std::optional<QStringList> words = splitWords(GetParam().line, &error);
    ASSERT_EQ(words.has_value(), GetParam().words.has_value()) << error.toStdString();
    if (words) {
        EXPECT_EQ(*words, *GetParam().words);
    } else {
        EXPECT_FALSE(error.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Data, SplitWords,
    ::testing::Values(
        SplitCase{"plain", "ChannelChange 7", QStringList{"ChannelChange", "7"}},
        SplitCase{"extraBlanksAndTabs", "  CurrentTime\t30   180 ", QStringList{"CurrentTime", "30", "180"}},
        SplitCase{"quotedWithBlanksAndComma", R"(X "Rock Hits, Live" y)", QStringList{"X", "Rock Hits, Live", "y"}},
        SplitCase{"escapedQuoteAndBackslash", R"("Say \"Hi\" \\ bye")", QStringList{R"(Say "Hi" \ bye)"}},
        SplitCase{"otherBackslashStays", R"("C:\dir")", QStringList{R"(C:\dir)"}},
        SplitCase{"apostropheIsOrdinary", "Don't 'Round", QStringList{"Don't", "'Round"}},
        SplitCase{"emptyQuotedWord", R"(a "" b)", QStringList{"a", "", "b"}},
        SplitCase{"quotesInsideAWord", R"(a"b c"d)", QStringList{"ab cd"}},
        SplitCase{"accents", "Zoë \"Ça va\"", QStringList{"Zoë", "Ça va"}}, SplitCase{"empty", "", QStringList{}},
        SplitCase{"unterminatedQuote", R"(ChannelData 5 "Rock Hits)", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ParseCase {
    const char* name;
    QString line;
    CommandKind kind;
    QString signal;
    QVariantList arguments;
    QString errorPart;
};

class ParseCommand : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommand, GivesTheSignalWithTypedArgumentsOrTheFault)
{
    const ParseCase& c = GetParam();
    const Command command = parseCommand(c.line);
    ASSERT_EQ(command.kind, c.kind) << command.error.toStdString();
    EXPECT_EQ(command.signal, c.signal);
    ASSERT_EQ(command.arguments.size(), c.arguments.size());
    for (int i = 0; i < c.arguments.size(); ++i) {
        EXPECT_EQ(command.arguments.at(i).typeId(), c.arguments.at(i).typeId()) << "argument " << i;
        EXPECT_EQ(command.arguments.at(i), c.arguments.at(i)) << "argument " << i;
    }
    EXPECT_TRUE(command.error.contains(c.errorPart)) << command.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Data, ParseCommand,
    ::testing::Values(
        ParseCase{"channelChange", "ChannelChange 7", CommandKind::Signal, "ChannelChange", {7}, {}},
        ParseCase{"anyLetterCase", "channelchange 7", CommandKind::Signal, "ChannelChange", {7}, {}},
        ParseCase{"noTime", "CurrentTime -1 -1", CommandKind::Signal, "CurrentTime", {-1, -1}, {}},
        ParseCase{"channelData",
                  R"(ChannelData 5 "Rock Hits" "Some Artist" "Some Title" "Rock")",
                  CommandKind::Signal,
                  "ChannelData",
                  {5, "Rock Hits", "Some Artist", "Some Title", "Rock"},
                  {}},
        ParseCase{"currentChannelData",
                  R"(CurrentChannelData 12 "A, B" "C \"D\"" E F)",
                  CommandKind::Signal,
                  "CurrentChannelData",
                  {12, "A, B", R"(C "D")", "E", "F"},
                  {}},
        ParseCase{"signalStrength",
                  "SignalStrength 10 50.5 100",
                  CommandKind::Signal,
                  "SignalStrength",
                  {10.0, 50.5, 100.0},
                  {}},
        ParseCase{"muteTrue", "MuteChanged true", CommandKind::Signal, "MuteChanged", {true}, {}},
        ParseCase{"muteZero", "MuteChanged 0", CommandKind::Signal, "MuteChanged", {false}, {}},
        ParseCase{"quit", "quit", CommandKind::Quit, {}, {}, {}},
        ParseCase{"help", " help ", CommandKind::Help, {}, {}, {}},
        ParseCase{"blankLine", "   ", CommandKind::Nothing, {}, {}, {}},
        ParseCase{"unknown", "Tune 7", CommandKind::Invalid, {}, {}, "unknown command \"Tune\""},
        ParseCase{"tooFewArguments", "CurrentTime 30", CommandKind::Invalid, {}, {}, "CurrentTime needs 2"},
        ParseCase{"tooManyArguments", "ChannelChange 7 8", CommandKind::Invalid, {}, {}, "ChannelChange needs 1"},
        ParseCase{"notAWholeNumber", "ChannelChange 7.5", CommandKind::Invalid, {}, {}, "a whole number"},
        ParseCase{"notANumber", "SignalStrength 10 lots 100", CommandKind::Invalid, {}, {}, "argument 2"},
        ParseCase{"notABoolean", "MuteChanged maybe", CommandKind::Invalid, {}, {}, "true or false"},
        ParseCase{"quitWithWords", "quit now", CommandKind::Invalid, {}, {}, "no arguments"},
        ParseCase{"openQuote", R"(ChannelData 5 "x)", CommandKind::Invalid, {}, {}, "not closed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseWords, TakesCommandLineArgumentsAsTheyAre)
{
    const Command command = parseWords({"ChannelData", "5", "Rock Hits", "\"Quoted\"", "T", "G"});
    ASSERT_EQ(command.kind, CommandKind::Signal);
    EXPECT_EQ(command.arguments.at(1).toString(), QStringLiteral("Rock Hits"));
    EXPECT_EQ(command.arguments.at(2).toString(), QStringLiteral("\"Quoted\""));
}
