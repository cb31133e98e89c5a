// The real xm-radio-service executable on a private session bus, watched by a bus client the way
// the window watches it.
#include "busrecorder.h"
#include "service/lineup.h"
#include "testsupport.h"

#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

using testsupport::Process;
using testsupport::pump;
using testsupport::waitUntil;

namespace {

const QString ServicePath = QStringLiteral(VANTO_PROGRAM_DIR "/xm-radio-service");

Process startService(const QStringList& arguments)
{
    Process process(new QProcess);
    process->start(ServicePath, arguments);
    process->waitForStarted(3000);
    return process;
}

// Starts the service and waits until it owns the name.
Process startedService(const QStringList& arguments = {"--seed", "1"})
{
    Process process = startService(arguments);
    EXPECT_TRUE(waitUntil(&radioNameOwned, 5000)) << process->readAllStandardError().toStdString();
    return process;
}

QList<int> numbersOf(const QList<BusSignal>& received)
{
    QList<int> numbers;
    for (const BusSignal& signal : received)
        numbers.append(signal.arguments.at(0).toInt());
    return numbers;
}

} // namespace

struct ListingCase {
    const char* name;
    QStringList arguments;
    int channels;
    int intervalMs;
};

class Listing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(Listing, CyclesThroughTheWholeLineupAtTheInterval)
{
    const ListingCase& c = GetParam();
    const xmservice::Lineup lineup = xmservice::Lineup::withSize(c.channels);
    BusRecorder recorder;
    Process service = startedService(c.arguments);
    ASSERT_TRUE(waitUntil([&] { return recorder.count("ChannelData") > 2 * c.channels; }, 10000));

    const QList<BusSignal> listing = recorder.received("ChannelData");
    const QList<int> numbers = numbersOf(listing);
    const int start = lineup.indexOf(numbers.first());
    ASSERT_GE(start, 0);
    for (int k = 0; k <= 2 * c.channels; ++k)
        ASSERT_EQ(numbers.at(k), lineup.at((start + k) % c.channels).number) << "listing entry " << k;
    const BusSignal& first = listing.at(0);
    EXPECT_EQ(first.arguments.at(1).toString(), lineup.at(start).station);
    EXPECT_EQ(first.arguments.at(4).toString(), lineup.at(start).genre);

    const qint64 cycleMs = listing.at(2 * c.channels).arrivedMs - listing.at(c.channels).arrivedMs;
    const qint64 expectedMs = qint64(c.channels) * c.intervalMs;
    EXPECT_GE(cycleMs, expectedMs * 8 / 10);
    EXPECT_LE(cycleMs, expectedMs * 3);
}

INSTANTIATE_TEST_SUITE_P(
    Data, Listing,
    ::testing::Values(ListingCase{"wholeLineupFast", {"--interval", "5"}, xmservice::Lineup::builtIn().size(), 5},
                      ListingCase{"defaultInterval", {"--channels", "20"}, 20, 40}),
    [](const auto& info) { return std::string(info.param.name); });

struct TuneCase {
    const char* name;
    int channel;
    QString station;
    bool timed;
};

class Tune : public ::testing::TestWithParam<TuneCase> {};

TEST_P(Tune, AKnownChannelGivesChannelChangeThenItsData)
{
    const TuneCase& c = GetParam();
    BusRecorder recorder;
    Process service = startedService();
    ASSERT_TRUE(callRadio("Channel", c.channel));
    ASSERT_TRUE(waitUntil([&] { return recorder.indexOf("CurrentChannelData", c.channel) >= 0; }, 3000));

    const int change = recorder.indexOf("ChannelChange", c.channel);
    const int data = recorder.indexOf("CurrentChannelData", c.channel);
    ASSERT_GE(change, 0);
    EXPECT_LT(change, data);
    EXPECT_EQ(recorder.all().at(data).arguments.at(1).toString(), c.station);

    ASSERT_TRUE(waitUntil([&] { return recorder.all().size() > data + 1; }, 3000));
    const BusSignal time = recorder.all().at(data + 1);
    ASSERT_EQ(time.member, QStringLiteral("CurrentTime"));
    const int position = time.arguments.at(0).toInt();
    const int duration = time.arguments.at(1).toInt();
    if (c.timed) {
        EXPECT_GE(position, 0);
        EXPECT_LT(position, duration);
        EXPECT_GE(duration, 120);
        EXPECT_LE(duration, 480);
    } else {
        EXPECT_EQ(position, -1);
        EXPECT_EQ(duration, -1);
    }
}

INSTANTIATE_TEST_SUITE_P(Data, Tune,
                         ::testing::Values(TuneCase{"music", 70, QStringLiteral("Jazz 'Round Midnight"), true},
                                           TuneCase{"threeDigitNews", 120, QStringLiteral("World News Desk"), false},
                                           TuneCase{"accentedStation", 83, QStringLiteral("Élan Classique"), true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ServiceBus, AChannelOutsideTheLineupChangesNothing)
{
    BusRecorder recorder;
    Process service = startedService();
    ASSERT_TRUE(callRadio("Channel", 3));
    ASSERT_TRUE(callRadio("Channel", 999));
    recorder.clear();
    pump(1300);
    EXPECT_EQ(recorder.count("ChannelChange"), 0);
    const QList<int> reported = numbersOf(recorder.received("CurrentChannelData"));
    ASSERT_FALSE(reported.isEmpty());
    for (int number : reported)
        EXPECT_EQ(number, 1) << "the lineup's first channel stays tuned";
}

TEST(ServiceBus, SetMuteIsAnsweredWithMuteChanged)
{
    BusRecorder recorder;
    Process service = startedService();
    ASSERT_TRUE(callRadio("SetMute", true));
    ASSERT_TRUE(callRadio("SetMute", false));
    ASSERT_TRUE(waitUntil([&] { return recorder.count("MuteChanged") == 2; }, 3000));
    const QList<BusSignal> changes = recorder.received("MuteChanged");
    EXPECT_TRUE(changes.at(0).arguments.at(0).toBool());
    EXPECT_FALSE(changes.at(1).arguments.at(0).toBool());
}

TEST(ServiceBus, SignalStrengthArrivesEverySecondWithinZeroToHundred)
{
    BusRecorder recorder;
    Process service = startedService();
    ASSERT_TRUE(waitUntil([&] { return recorder.count("SignalStrength") >= 3; }, 4500));
    for (const BusSignal& reading : recorder.received("SignalStrength")) {
        ASSERT_EQ(reading.arguments.size(), 3);
        for (const QVariant& value : reading.arguments) {
            EXPECT_EQ(value.typeId(), QMetaType::Double);
            EXPECT_GE(value.toDouble(), 0.0);
            EXPECT_LE(value.toDouble(), 100.0);
        }
    }
}

TEST(ServiceBus, ASecondInstanceExitsWithAMessageWhileTheFirstRunsOn)
{
    BusRecorder recorder;
    Process first = startedService();
    Process second = startService({});
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(second->exitCode(), 0);
    EXPECT_TRUE(second->readAllStandardError().contains("org.vanto.XMRadio is already owned on the session bus"));

    const int listed = recorder.count("ChannelData");
    ASSERT_TRUE(waitUntil([&] { return recorder.count("ChannelData") > listed + 5; }, 3000));
    EXPECT_EQ(first->state(), QProcess::Running);
}

class EndsOn : public ::testing::TestWithParam<int> {};

TEST_P(EndsOn, TheSignalEndsTheServiceWithCodeZero)
{
    Process service = startedService();
    ::kill(pid_t(service->processId()), GetParam());
    ASSERT_TRUE(service->waitForFinished(3000));
    EXPECT_EQ(service->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(service->exitCode(), 0);
    EXPECT_TRUE(waitUntil([] { return !radioNameOwned(); }, 2000));
}

INSTANTIATE_TEST_SUITE_P(Data, EndsOn, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT"); });

TEST(ServiceBus, WithoutASessionBusItExitsWithAMessage)
{
    QProcess service;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    service.setProcessEnvironment(environment);
    service.start(ServicePath, {});
    ASSERT_TRUE(service.waitForFinished(5000));
    EXPECT_NE(service.exitCode(), 0);
    EXPECT_TRUE(service.readAllStandardError().contains("cannot connect to the D-Bus session bus"));
}
