// The simulator's parts without a bus: the lineup and its awkward names, the catalogue, the
// running orders, the signal levels, the command line and the receiver's answers.
#include "service/catalogue.h"
#include "service/lineup.h"
#include "service/receiversimulator.h"
#include "service/schedule.h"
#include "service/serviceoptions.h"
#include "service/signalmodel.h"
#include "testsupport.h"

#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace xmservice;

namespace {

// Every text the built-in lineup can show: station names, artists and titles.
QStringList allShownTexts()
{
    QStringList texts;
    QSet<QString> genres;
    const Lineup lineup = Lineup::builtIn();
    for (const ChannelInfo& channel : lineup.channels()) {
        texts.append(channel.station);
        genres.insert(channel.genre);
    }
    for (const QString& genre : genres) {
        for (const Track& track : Catalogue::tracksFor(genre))
            texts << track.artist << track.title;
    }
    return texts;
}

} // namespace

TEST(Lineup, HasAtLeast150UniqueAscendingNumbersWithGapsAndThreeDigitChannels)
{
    const Lineup lineup = Lineup::builtIn();
    ASSERT_GE(lineup.size(), 150);
    int gaps = 0;
    int threeDigit = 0;
    for (int i = 0; i < lineup.size(); ++i) {
        const int number = lineup.at(i).number;
        EXPECT_GE(number, 1);
        if (i > 0) {
            EXPECT_GT(number, lineup.at(i - 1).number) << "at " << i;
            gaps += number - lineup.at(i - 1).number - 1;
        }
        threeDigit += number >= 100 ? 1 : 0;
    }
    EXPECT_GE(gaps, 10);
    EXPECT_GE(threeDigit, 20);
}

TEST(Lineup, TalkGenresHaveNoTrackTimeAndMusicGenresHave)
{
    const Lineup lineup = Lineup::builtIn();
    EXPECT_FALSE(lineup.at(lineup.indexOf(120)).hasTrackTime) << "news";
    EXPECT_FALSE(lineup.at(lineup.indexOf(150)).hasTrackTime) << "sports";
    EXPECT_TRUE(lineup.at(lineup.indexOf(30)).hasTrackTime) << "rock";
    EXPECT_EQ(lineup.indexOf(3), -1) << "a gap";
}

TEST(Lineup, EveryGenreHasItsOwnCatalogueOfTwoToEightMinuteTracks)
{
    const Lineup lineup = Lineup::withSize(400);
    for (const ChannelInfo& channel : lineup.channels()) {
        ASSERT_TRUE(Catalogue::hasGenre(channel.genre)) << channel.genre.toStdString();
        const QList<Track>& tracks = Catalogue::tracksFor(channel.genre);
        ASSERT_GE(tracks.size(), 10);
        for (const Track& track : tracks) {
            EXPECT_GE(track.seconds, 120) << track.title.toStdString();
            EXPECT_LE(track.seconds, 480) << track.title.toStdString();
            EXPECT_FALSE(track.artist.isEmpty() || track.title.isEmpty());
        }
    }
}

struct AwkwardCase {
    const char* name;
    std::function<bool(const QString&)> matches;
};

class AwkwardNames : public ::testing::TestWithParam<AwkwardCase> {};

TEST_P(AwkwardNames, AppearInTheShownTexts)
{
    const QStringList texts = allShownTexts();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), GetParam().matches));
}

INSTANTIATE_TEST_SUITE_P(
    Data, AwkwardNames,
    ::testing::Values(AwkwardCase{"comma", [](const QString& t) { return t.contains(QLatin1Char(',')); }},
                      AwkwardCase{"apostrophe", [](const QString& t) { return t.contains(QLatin1Char('\'')); }},
                      AwkwardCase{"doubleQuote", [](const QString& t) { return t.contains(QLatin1Char('"')); }},
                      AwkwardCase{"accentedLetter",
                                  [](const QString& t) {
                                      return std::any_of(t.begin(), t.end(),
                                                         [](QChar c) { return c.unicode() > 127 && c.isLetter(); });
                                  }},
                      AwkwardCase{"longerThan254", [](const QString& t) { return t.size() > 254; }},
                      AwkwardCase{"commaInStation",
                                  [](const QString& t) { return t == QStringLiteral("Bluegrass, Banjos & Beyond"); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct SizeCase {
    const char* name;
    int requested;
    int expected;
};

class LineupSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(LineupSize, CutsOrExtendsTheBuiltInLineupKeepingNumbersUnique)
{
    const Lineup builtIn = Lineup::builtIn();
    const Lineup lineup = Lineup::withSize(GetParam().requested);
    ASSERT_EQ(lineup.size(), GetParam().expected);
    QSet<int> numbers;
    QSet<QString> stations;
    for (int i = 0; i < lineup.size(); ++i) {
        if (i < builtIn.size()) {
            EXPECT_EQ(lineup.at(i).station, builtIn.at(i).station);
        }
        if (i > 0) {
            EXPECT_GT(lineup.at(i).number, lineup.at(i - 1).number);
        }
        numbers.insert(lineup.at(i).number);
        stations.insert(lineup.at(i).station);
    }
    EXPECT_EQ(numbers.size(), lineup.size());
    EXPECT_EQ(stations.size(), lineup.size());
}

INSTANTIATE_TEST_SUITE_P(Data, LineupSize,
                         ::testing::Values(SizeCase{"one", 1, 1}, SizeCase{"belowOne", -5, 1},
                                           SizeCase{"subset", 20, 20}, SizeCase{"extended", 900, 900}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PlayoutCase {
    const char* name;
    qint64 startOffset;
    qint64 second;
    int orderIndex;
    int position;
};

class Playout : public ::testing::TestWithParam<PlayoutCase> {};

// Three tracks of 2, 3 and 4 minutes: a cycle of 540 seconds.
TEST_P(Playout, FindsTheTrackAndPositionAtASecond)
{
    const ChannelPlayout playout({{"A", "a", 120}, {"B", "b", 180}, {"C", "c", 240}}, GetParam().startOffset);
    const NowPlaying playing = playout.at(GetParam().second);
    EXPECT_EQ(playing.orderIndex, GetParam().orderIndex);
    EXPECT_EQ(playing.position, GetParam().position);
    EXPECT_EQ(playing.track.artist, playout.order().at(playing.orderIndex).artist);
}

INSTANTIATE_TEST_SUITE_P(
    Data, Playout,
    ::testing::Values(PlayoutCase{"start", 0, 0, 0, 0}, PlayoutCase{"lastSecondOfFirst", 0, 119, 0, 119},
                      PlayoutCase{"secondTrack", 0, 120, 1, 0}, PlayoutCase{"thirdTrack", 0, 539, 2, 239},
                      PlayoutCase{"wrapsAround", 0, 540 * 3 + 5, 0, 5}, PlayoutCase{"enteredMidway", 130, 0, 1, 10},
                      PlayoutCase{"offsetBeyondCycle", 540 + 300, 0, 2, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Schedule, SameSeedGivesSameRunningOrdersAndOtherSeedDiffers)
{
    const Lineup lineup = Lineup::builtIn();
    const Schedule first(lineup, 42);
    const Schedule again(lineup, 42);
    const Schedule other(lineup, 43);
    int differences = 0;
    for (int i = 0; i < lineup.size(); ++i) {
        for (qint64 second : {0, 777, 86400}) {
            EXPECT_EQ(first.at(i, second).track.title, again.at(i, second).track.title);
            EXPECT_EQ(first.at(i, second).position, again.at(i, second).position);
            differences += first.at(i, second).track.title != other.at(i, second).track.title ? 1 : 0;
        }
    }
    EXPECT_GT(differences, lineup.size());
}

TEST(Schedule, EveryChannelMovesOnWithTime)
{
    const Lineup lineup = Lineup::builtIn();
    const Schedule schedule(lineup, 7);
    for (int i = 0; i < lineup.size(); ++i) {
        const NowPlaying now = schedule.at(i, 1000);
        const NowPlaying later = schedule.at(i, 1010);
        if (later.orderIndex == now.orderIndex) {
            EXPECT_EQ(later.position, now.position + 10);
        }
        // No track is longer than 8 minutes, so another one plays 481 seconds later.
        EXPECT_NE(schedule.at(i, 1000 + 481).orderIndex, now.orderIndex) << lineup.at(i).number;
    }
}

TEST(SignalModel, StaysInRangeDropsOutNowAndThenAndRepeatsWithTheSeed)
{
    SignalModel model(5);
    SignalModel again(5);
    SignalModel other(6);
    double lowest[3] = {100, 100, 100};
    int jumps = 0;
    int differences = 0;
    SignalLevels previous = model.next();
    again.next();
    other.next();
    constexpr int Seconds = 3600;
    for (int i = 0; i < Seconds; ++i) {
        const SignalLevels levels = model.next();
        const SignalLevels repeated = again.next();
        ASSERT_EQ(levels.rock, repeated.rock);
        ASSERT_EQ(levels.ground, repeated.ground);
        differences += other.next().roll != levels.roll ? 1 : 0;
        const double values[3] = {levels.rock, levels.roll, levels.ground};
        for (int s = 0; s < 3; ++s) {
            ASSERT_GE(values[s], 0.0);
            ASSERT_LE(values[s], 100.0);
            lowest[s] = std::min(lowest[s], values[s]);
        }
        jumps += std::abs(levels.rock - previous.rock) > 15 ? 1 : 0;
        previous = levels;
    }
    EXPECT_LT(lowest[0], 10) << "rock never dropped out";
    EXPECT_LT(lowest[1], 10) << "roll never dropped out";
    EXPECT_LT(lowest[2], 10) << "ground never dropped out";
    EXPECT_LT(jumps, Seconds / 20) << "the levels jump instead of drifting";
    EXPECT_GT(differences, Seconds / 2);
}

struct OptionsCase {
    const char* name;
    QStringList arguments;
    QString errorPart; // empty: no error
    int interval;
    int channels;
    std::optional<quint32> seed;
};

class Options : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(Options, ParseOrExplainTheFault)
{
    const OptionsCase& c = GetParam();
    const ParsedServiceOptions parsed = parseServiceOptions(QStringList{"xm-radio-service"} + c.arguments);
    if (!c.errorPart.isEmpty()) {
        EXPECT_TRUE(parsed.error.contains(c.errorPart)) << parsed.error.toStdString();
        return;
    }
    EXPECT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    EXPECT_EQ(parsed.options.listingIntervalMs, c.interval);
    EXPECT_EQ(parsed.options.channelCount, c.channels);
    EXPECT_EQ(parsed.options.seed, c.seed);
}

INSTANTIATE_TEST_SUITE_P(Data, Options,
                         ::testing::Values(OptionsCase{"defaults", {}, {}, 40, 0, std::nullopt},
                                           OptionsCase{"allGiven",
                                                       {"--seed", "4294967295", "--interval", "5", "--channels", "300"},
                                                       {},
                                                       5,
                                                       300,
                                                       4294967295u},
                                           OptionsCase{"equalsForm", {"--seed=0"}, {}, 40, 0, 0u},
                                           OptionsCase{"zeroChannels", {"--channels", "0"}, "--channels", 0, 0, {}},
                                           OptionsCase{"wordInterval", {"--interval", "fast"}, "--interval", 0, 0, {}},
                                           OptionsCase{"blankSource", {"--source", "Line In"}, "--source", 0, 0, {}},
                                           OptionsCase{"negativeSeed", {"--seed", "-1"}, "--seed", 0, 0, {}},
                                           OptionsCase{"seedTooLarge", {"--seed", "4294967296"}, "--seed", 0, 0, {}},
                                           OptionsCase{"missingValue", {"--channels"}, "channels", 0, 0, {}},
                                           OptionsCase{"unknownOption", {"--volume", "3"}, "volume", 0, 0, {}},
                                           OptionsCase{"strayArgument", {"now"}, "now", 0, 0, {}},
                                           OptionsCase{"unknownModel", {"--model", "USB"}, "--model", 0, 0, {}},
                                           OptionsCase{"emptyDevice", {"--device", ""}, "--device", 0, 0, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReceiverSimulator, TuningAKnownChannelReportsTheChangeThenItsDataAndTime)
{
    ReceiverSimulator receiver(Lineup::builtIn(), 1);
    QList<QString> order;
    QObject::connect(&receiver, &ReceiverSimulator::ChannelChange,
                     [&](int n) { order << QStringLiteral("change %1").arg(n); });
    QObject::connect(&receiver, &ReceiverSimulator::CurrentChannelData,
                     [&](int n, const QString& station) { order << QStringLiteral("data %1 %2").arg(n).arg(station); });
    QObject::connect(&receiver, &ReceiverSimulator::CurrentTime, [&](int position, int duration) {
        order << QStringLiteral("time %1 %2").arg(position).arg(duration);
    });

    receiver.Channel(120);
    receiver.Channel(3);   // a gap in the lineup
    receiver.Channel(999); // beyond it

    ASSERT_EQ(order.size(), 3);
    EXPECT_EQ(order.at(0), QStringLiteral("change 120"));
    EXPECT_EQ(order.at(1), QStringLiteral("data 120 World News Desk"));
    EXPECT_EQ(order.at(2), QStringLiteral("time -1 -1")) << "news has no track time";
    EXPECT_EQ(receiver.tunedChannel(), 120);
}

TEST(ReceiverSimulator, TheFirstCallOfAClientStartsTheListingOverAtTheLowestChannel)
{
    ReceiverSimulator receiver(Lineup::withSize(20), 1, 1);
    const int lowest = receiver.lineup().at(0).number;
    QList<int> listed;
    QObject::connect(&receiver, &ReceiverSimulator::ChannelData, [&](int number) { listed << number; });
    receiver.start();
    ASSERT_TRUE(testsupport::waitUntil([&] { return listed.size() >= 5; }));
    EXPECT_EQ(listed.first(), lowest);

    listed.clear();
    receiver.Channel(receiver.lineup().at(3).number);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !listed.isEmpty(); }));
    EXPECT_EQ(listed.first(), lowest) << "the client's first pass starts at the lowest channel";

    // Later calls leave the listing where it stands.
    ASSERT_TRUE(testsupport::waitUntil([&] { return listed.size() >= 3; }));
    const int next = receiver.lineup().at((receiver.lineup().indexOf(listed.last()) + 1) % 20).number;
    listed.clear();
    receiver.SetMute(true);
    receiver.Channel(receiver.lineup().at(5).number);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !listed.isEmpty(); }));
    EXPECT_EQ(listed.first(), next);
}

TEST(ReceiverSimulator, AMusicChannelReportsAPositionWithinItsTrack)
{
    ReceiverSimulator receiver(Lineup::builtIn(), 1);
    QSignalSpy spy(&receiver, &ReceiverSimulator::CurrentTime);
    receiver.Channel(30);
    ASSERT_EQ(spy.size(), 1);
    const int position = spy.at(0).at(0).toInt();
    const int duration = spy.at(0).at(1).toInt();
    EXPECT_GE(position, 0);
    EXPECT_LT(position, duration);
    EXPECT_GE(duration, Catalogue::ShortestTrack);
    EXPECT_LE(duration, Catalogue::LongestTrack);
}

TEST(ReceiverSimulator, ReportsTheMuteStateItIsGiven)
{
    ReceiverSimulator receiver(Lineup::builtIn(), 1);
    QSignalSpy spy(&receiver, &ReceiverSimulator::MuteChanged);
    QSignalSpy silenced(&receiver, &ReceiverSimulator::muteRequested);
    receiver.SetMute(true);
    receiver.SetMute(false);
    ASSERT_EQ(spy.size(), 2);
    ASSERT_EQ(silenced.size(), 2) << "the sound hears of each mute at once";
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    EXPECT_FALSE(spy.at(1).at(0).toBool());
    EXPECT_FALSE(receiver.isMuted());
}

struct ChoiceCase {
    const char* name;
    QByteArray file; // xm-radio-service.ini; empty: no file
    QStringList arguments;
    QString device; // empty: the simulator
    ReceiverModel model;
    int baud;
    int warnings;
    QString source = QStringLiteral("auto");
    int timeShiftMinutes = 60;
};

class ReceiverChoiceFromFile : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ReceiverChoiceFromFile, TheCommandLineWinsOverTheFile)
{
    const ChoiceCase& c = GetParam();
    QTemporaryDir folder;
    const QString path = folder.filePath("xm-radio-service.ini");
    if (!c.file.isEmpty())
        testsupport::writeFile(path, c.file);
    const ParsedServiceOptions parsed = parseServiceOptions(QStringList{"xm-radio-service"} + c.arguments);
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    const ReceiverChoice choice = chooseReceiver(parsed.options, path);
    EXPECT_EQ(choice.device, c.device);
    EXPECT_EQ(choice.model, c.model);
    EXPECT_EQ(choice.baud, c.baud);
    EXPECT_EQ(choice.soundSource, c.source);
    EXPECT_EQ(choice.timeShiftMinutes, c.timeShiftMinutes);
    EXPECT_EQ(choice.warnings.size(), c.warnings) << choice.warnings.join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Data, ReceiverChoiceFromFile,
    ::testing::Values(
        ChoiceCase{"noFile", {}, {}, {}, ReceiverModel::Pcr, 9600, 0},
        ChoiceCase{"shippedDefault",
                   "[Receiver]\r\nDevice=simulator\r\nModel=PCR\r\nBaud=9600\r\n",
                   {},
                   {},
                   ReceiverModel::Pcr,
                   9600,
                   0},
        ChoiceCase{"directOnAPort",
                   "[receiver]\r\n device = \"/dev/ttyUSB0\" \r\nmodel=direct\r\nBaud=19200\r\n",
                   {},
                   "/dev/ttyUSB0",
                   ReceiverModel::Direct,
                   19200,
                   0},
        ChoiceCase{"commandLineOverrides",
                   "[Receiver]\r\nDevice=/dev/ttyUSB0\r\nModel=Direct\r\n",
                   {"--device", "/dev/ttyS1", "--model", "pcr"},
                   "/dev/ttyS1",
                   ReceiverModel::Pcr,
                   9600,
                   0},
        ChoiceCase{"commandLineSimulator",
                   "[Receiver]\r\nDevice=/dev/ttyUSB0\r\n",
                   {"--device", "Simulator"},
                   {},
                   ReceiverModel::Pcr,
                   9600,
                   0},
        ChoiceCase{
            "badValuesFallBack", "[Receiver]\r\nModel=Walkman\r\nBaud=fast\r\n", {}, {}, ReceiverModel::Pcr, 9600, 2},
        ChoiceCase{"soundFromADevice",
                   "[Audio]\r\nSource=pulse:alsa_input.usb-0d8c_USB_Sound-00.analog-stereo\r\n",
                   {},
                   {},
                   ReceiverModel::Pcr,
                   9600,
                   0,
                   "pulse:alsa_input.usb-0d8c_USB_Sound-00.analog-stereo"},
        ChoiceCase{"soundOffInAnyCase", "[audio]\r\nsource=NONE\r\n", {}, {}, ReceiverModel::Pcr, 9600, 0, "none"},
        ChoiceCase{"soundCommandLineOverrides",
                   "[Audio]\r\nSource=none\r\n",
                   {"--source", "vanto_line_in"},
                   {},
                   ReceiverModel::Pcr,
                   9600,
                   0,
                   "vanto_line_in"},
        ChoiceCase{
            "soundNameWithBlanksFallsBackToAuto", "[Audio]\r\nSource=Line In\r\n", {}, {}, ReceiverModel::Pcr, 9600, 1},
        ChoiceCase{"timeShiftOff", "[TimeShift]\r\nMinutes=0\r\n", {}, {}, ReceiverModel::Pcr, 9600, 0, "auto", 0},
        ChoiceCase{"timeShiftLongerThanADayFallsBackToAnHour",
                   "[TimeShift]\r\nMinutes=100000\r\n",
                   {},
                   {},
                   ReceiverModel::Pcr,
                   9600,
                   1}),
    [](const auto& info) { return std::string(info.param.name); });
