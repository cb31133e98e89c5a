// The receiver's framing and replies against the frames captured from a real receiver, and the
// port's words for a device it cannot open.
#include "service/seriallink.h"
#include "service/xmframes.h"
#include "service/xmreplies.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xmservice::xm;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

std::string shown(const QByteArray& bytes)
{
    return bytes.toHex(' ').toStdString();
}

// Every frame the receiver sent in the captures, whole.
const char* const CapturedFrames[] = {
    "5AA5 001B 800100002510292002010000017404052002084142434431323334 004E",
    "5AA5 0001 E0 00E0",
    "5AA5 0013 E3010085140802200274040520022510292002 0002",
    "5AA5 0003 C20100 0000",
    "5AA5 0016 C10103010101000101000534055D1A9000000000D8F5 00F5",
    "5AA5 0016 C1030301010100010100000C004E1A9000000000D9F1 00F1",
    "5AA5 0001 E1 00E1",
    "5AA5 0004 D0010000 0000",
    "5AA5 0004 D0010001 0001",
    "5AA5 0006 900100DE2A00 0000",
    "5AA5 0004 D001002A 002A",
    "5AA5 0017 D10101536972697573584D205072657669657700000000 0000",
    "5AA5 0014 D2011301456E7465727461696E6D656E74202020 0020",
    "5AA5 0023 D301014772656174204F66666572204E6F77213834342D3731312D3838303020202020 0020",
    "5AA5 0009 D60104010129987E15 0015",
    "5AA5 0003 F00100 0000",
};

const char* const CapturedChannelInfo = // shown without its closing bytes
    "5AA5 004D A50309DE6C01536972697573584D20507265766965770113456E7465727461696E6D656E74202020014772656174204F666665"
    "72204E6F77213834342D3731312D383830302020202013000000";

const char* const CapturedExtendedText =
    "A2010001014772656174204F66666572204E6F77210000000000000000000000000000000000000000013834342D3731312D3838303020"
    "2020200000000000000000000000000000000000000000";

QByteArray capturedStream()
{
    QByteArray stream;
    for (const char* frame : CapturedFrames)
        stream += hex(frame);
    return stream;
}

QList<QByteArray> capturedPayloads()
{
    QList<QByteArray> payloads;
    for (const char* frame : CapturedFrames) {
        const QByteArray bytes = hex(frame);
        payloads.append(bytes.mid(4, bytes.size() - 6));
    }
    return payloads;
}

} // namespace

struct EncodeCase {
    const char* name;
    QByteArray payload;
    const char* frame;
};

class Encode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Encode, WrapsThePayloadAsTheReceiverExpects)
{
    EXPECT_EQ(shown(encodeRequest(GetParam().payload)), shown(hex(GetParam().frame)));
}

INSTANTIATE_TEST_SUITE_P(
    Data, Encode,
    ::testing::Values(EncodeCase{"capturedPowerOn", request::powerOn(), "5AA5 0005 0010101001 EDED"},
                      EncodeCase{"capturedSignalPushOn", request::signalPush(true), "5AA5 0002 4201 EDED"},
                      EncodeCase{"signalPushOff", request::signalPush(false), "5AA5 0002 4200 EDED"},
                      EncodeCase{"capturedMonitorOff", request::monitorOff(), "5AA5 0006 500000000000 EDED"},
                      EncodeCase{"capturedMonitorChannel1", request::monitor(1, 1), "5AA5 0006 500101010101 EDED"},
                      EncodeCase{"capturedChannelInfo222", request::channelInfo(222), "5AA5 0004 2508DE00 EDED"},
                      EncodeCase{"nextChannelFromStart", request::nextChannelInfo(0), "5AA5 0004 25090000 EDED"},
                      EncodeCase{"nextChannelAfter250", request::nextChannelInfo(250), "5AA5 0004 2509FA00 EDED"},
                      EncodeCase{"tuneChannel200", request::tuneChannel(200), "5AA5 0006 1002C8000001 EDED"},
                      EncodeCase{"mute", request::setMute(true), "5AA5 0002 1301 EDED"},
                      EncodeCase{"unmute", request::setMute(false), "5AA5 0002 1300 EDED"},
                      EncodeCase{"extendedText", request::extendedText(1), "5AA5 0002 2201 EDED"},
                      EncodeCase{"signalPoll", request::signalPoll(), "5AA5 0001 43 EDED"},
                      EncodeCase{"wakeUpListen", request::wakeUp().at(0), "5AA5 0003 740001 EDED"},
                      EncodeCase{"wakeUpPower", request::wakeUp().at(1), "5AA5 0004 74020101 EDED"},
                      EncodeCase{"wakeUpUnmute", request::wakeUp().at(2), "5AA5 0003 740B00 EDED"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameDecoder, GivesEveryCapturedPayloadByteForByte)
{
    FrameDecoder decoder;
    const QList<QByteArray> payloads = decoder.feed(capturedStream());
    ASSERT_EQ(payloads.size(), capturedPayloads().size());
    for (int i = 0; i < payloads.size(); ++i)
        EXPECT_EQ(shown(payloads.at(i)), shown(capturedPayloads().at(i))) << "frame " << i;
    EXPECT_EQ(decoder.pendingBytes(), 0);
    EXPECT_EQ(decoder.skippedBytes(), 0);
}

TEST(FrameDecoder, GivesTheSameFramesHoweverTheReadsSplitTheStream)
{
    const QByteArray stream = capturedStream();
    const QList<QByteArray> whole = capturedPayloads();
    for (qsizetype split = 1; split < stream.size(); ++split) {
        FrameDecoder decoder;
        QList<QByteArray> payloads = decoder.feed(stream.first(split));
        payloads += decoder.feed(stream.sliced(split));
        ASSERT_EQ(payloads, whole) << "split at " << split;
    }
    FrameDecoder bytewise;
    QList<QByteArray> payloads;
    for (char byte : stream)
        payloads += bytewise.feed(QByteArrayView(&byte, 1));
    EXPECT_EQ(payloads, whole);
}

struct ResyncCase {
    const char* name;
    const char* bytes;    // fed in one read
    const char* payloads; // the payloads found, in hex, separated by '|'
};

class Resync : public ::testing::TestWithParam<ResyncCase> {};

TEST_P(Resync, FindsTheFramesAroundJunk)
{
    FrameDecoder decoder;
    QStringList found;
    for (const QByteArray& payload : decoder.feed(hex(GetParam().bytes)))
        found << QString::fromLatin1(payload.toHex().toUpper());
    EXPECT_EQ(found.join('|').toStdString(), GetParam().payloads);
}

INSTANTIATE_TEST_SUITE_P(
    Data, Resync,
    ::testing::Values(ResyncCase{"junkBefore", "0011FFA55A 5AA5 0001 E0 00E0", "E0"},
                      ResyncCase{"doubledSyncByte", "5A5AA5 0001 E1 00E1", "E1"},
                      ResyncCase{"zeroLength", "5AA5 0000 5AA5 0001 E0 00E0", "E0"},
                      ResyncCase{"impossibleLength", "5AA5 FFFF 00 5AA5 0003 C20100 0000", "C20100"},
                      ResyncCase{"longerThanAnyReply", "5AA5 004F E0 5AA5 0001 E1 00E1", "E1"},
                      ResyncCase{"notTheLengthOfItsCode", "5AA5 004E A5 5AA5 0003 C20100 0000", "C20100"},
                      ResyncCase{"bareStatusAnswer", "5AA5 0003 A50710 0010 5AA5 0001 E0 00E0", "A50710|E0"},
                      ResyncCase{"oddTrailer", "5AA5 0003 C20100 1234 5AA5 0001 E0 ABCD", "C20100|E0"},
                      ResyncCase{"missingTrailer", "5AA5 0001 E1 5AA5 0001 E0 00E0", "E1|E0"},
                      ResyncCase{"incompleteFrameWaits", "5AA5 0004 D001", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameDecoder, TheCapturedChannelInfoWithoutClosingBytesDecodesAtOnce)
{
    FrameDecoder decoder;
    const QList<QByteArray> payloads = decoder.feed(hex(CapturedChannelInfo));
    ASSERT_EQ(payloads.size(), 1);
    EXPECT_EQ(payloads.at(0).size(), 77);
    EXPECT_EQ(decoder.feed(hex("5AA5 0001 E0 00E0")), QList<QByteArray>{hex("E0")});
    EXPECT_EQ(decoder.skippedBytes(), 0);
}

// A reply cut short on the line, with whole frames straight behind it: wherever the cut falls,
// the cut frame is dropped and the frames behind it come out whole, however the bytes arrive.
TEST(FrameDecoder, ACutFrameIsDroppedAndTheFramesBehindItKept)
{
    const QByteArray cut = hex(CapturedChannelInfo) + hex("0000");
    QByteArray first = hex(CapturedChannelInfo).sliced(4);
    first[3] = '\x01';
    const QByteArray behind = hex("5AA5 004D") + first + hex("0000") + hex("5AA5 0009 D60104010129987E15 0015");
    const QList<QByteArray> whole{first, hex("D60104010129987E15")};
    for (qsizetype length = 1; length < cut.size(); ++length) {
        const QByteArray stream = cut.first(length) + behind;
        QList<QByteArray> expected = whole;
        if (length >= 4 + 77) // only closing bytes missing: the frame itself is whole
            expected.prepend(cut.sliced(4, 77));
        FrameDecoder decoder;
        EXPECT_EQ(decoder.feed(stream), expected) << "cut after " << length << " bytes";
        FrameDecoder bytewise;
        QList<QByteArray> payloads;
        for (char byte : stream)
            payloads += bytewise.feed(QByteArrayView(&byte, 1));
        EXPECT_EQ(payloads, expected) << "cut after " << length << " bytes, fed byte by byte";
    }
}

TEST(FrameDecoder, APayloadEndingInWhatCouldBeASyncWaitsForTheNextByteOrTheQuietLine)
{
    FrameDecoder decoder;
    EXPECT_TRUE(decoder.feed(hex("5AA5 0003 C2015A")).isEmpty());
    EXPECT_TRUE(decoder.holdsPayload());
    EXPECT_EQ(decoder.flush(), QList<QByteArray>{hex("C2015A")});
    EXPECT_FALSE(decoder.holdsPayload());

    FrameDecoder trailed;
    trailed.feed(hex("5AA5 0003 C2015A"));
    EXPECT_EQ(trailed.feed(hex("005A 5AA5 0001 E0")), (QList<QByteArray>{hex("C2015A"), hex("E0")}));
    EXPECT_EQ(trailed.skippedBytes(), 0);
}

TEST(FrameDecoder, ResetDropsAPartialFrame)
{
    FrameDecoder decoder;
    decoder.feed(hex("5AA5 004D A5 0100"));
    decoder.reset();
    EXPECT_EQ(decoder.feed(hex("5AA5 0001 E0 00E0")).size(), 1);
}

TEST(Replies, TheCapturedChannelInfoReadsAsThePreviewChannel)
{
    const auto info = parseChannelInfo(hex(CapturedChannelInfo).sliced(4));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->status, NotSubscribed);
    EXPECT_EQ(info->channel, 222);
    EXPECT_EQ(info->serviceId, 0x6C);
    EXPECT_EQ(info->name, "SiriusXM Preview");
    EXPECT_EQ(info->category, "Entertainment");
    EXPECT_EQ(info->artist, "Great Offer Now!");
    EXPECT_EQ(info->title, "844-711-8800");
    EXPECT_FALSE(parseChannelInfo(hex(CapturedChannelInfo).sliced(4, 60))) << "cut short";
}

TEST(Replies, TheCapturedPowerUpTuneAndExtendedTextRead)
{
    const auto power = parsePowerUp(capturedPayloads().at(0));
    ASSERT_TRUE(power);
    EXPECT_TRUE(power->activated);
    EXPECT_EQ(power->radioId, "ABCD1234");

    const auto tuned = parseTune(capturedPayloads().at(9));
    ASSERT_TRUE(tuned);
    EXPECT_TRUE(tuned->status.ok());
    EXPECT_EQ(tuned->serviceId, 222);
    EXPECT_EQ(tuned->channel, 42);

    const auto text = parseExtendedText(hex(CapturedExtendedText));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->channel, 1);
    EXPECT_EQ(text->artist, "Great Offer Now!") << "zero padding cut off";
    EXPECT_EQ(text->title, "844-711-8800");
}

struct EventCase {
    int frame; // in CapturedFrames
    const char* first;
    const char* second;
};

class MonitorEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(MonitorEvents, TheCapturedEventsGiveTheirTexts)
{
    const auto text = parseMonitorText(capturedPayloads().at(GetParam().frame));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->first, GetParam().first);
    EXPECT_EQ(text->second, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Data, MonitorEvents,
                         ::testing::Values(EventCase{11, "SiriusXM Preview", ""}, EventCase{12, "Entertainment", ""},
                                           EventCase{13, "Great Offer Now!", "844-711-8800"}));

struct SongTimeCase {
    const char* name;
    std::vector<std::pair<int, int>> counters; // of the events, in order
    std::vector<int> durations;                // read from each
};

class SongTimes : public ::testing::TestWithParam<SongTimeCase> {};

TEST_P(SongTimes, TheSecondCounterIsReadAsTheEventsShowIt)
{
    SongTimeReader reader;
    std::vector<int> durations;
    for (const auto& [first, second] : GetParam().counters) {
        const QByteArray event =
            hex("D6 01 04 01 01") + char(first >> 8) + char(first) + char(second >> 8) + char(second);
        const SongTime time = reader.read(event);
        EXPECT_EQ(time.position, first);
        durations.push_back(time.duration);
    }
    EXPECT_EQ(durations, GetParam().durations);
}

INSTANTIATE_TEST_SUITE_P(
    Data, SongTimes,
    ::testing::Values(SongTimeCase{"endsInCountsDown", {{10, 190}, {11, 189}, {13, 187}}, {200, 200, 200}},
                      SongTimeCase{"lengthStaysAndIsKeptForTheNextSong",
                                   {{10, 200}, {11, 200}, {12, 200}, {0, 180}, {1, 180}},
                                   {210, 200, 200, 180, 180}},
                      SongTimeCase{"aRepeatedEventTellsNothing", {{10, 200}, {10, 200}, {11, 199}}, {210, 210, 210}}),
    [](const auto& info) { return info.param.name; });

TEST(Replies, TheCapturedSongTimeCountsFromTheStartAndToTheEnd)
{
    SongTimeReader reader;
    const SongTime time = reader.read(capturedPayloads().at(14));
    EXPECT_EQ(time.position, 10648);
    EXPECT_EQ(time.duration, 10648 + 32277);
    EXPECT_EQ(reader.read(hex("D6 01 04 00 00 2998 7E15")).position, -1) << "marked invalid";
    EXPECT_EQ(reader.read(hex("D6 01 04 01 01 2998")).duration, -1) << "cut short";
}

TEST(Replies, FieldsAreLatin1AndLoseTheirPaddingAndControlBytes)
{
    EXPECT_EQ(fieldText(hex("4361 66E9 2020 2020")), QStringLiteral("Café"));
    EXPECT_EQ(fieldText(hex("20 4DFC 6E63 6865 6E 00 41")), QStringLiteral("München"));
    EXPECT_EQ(fieldText(hex("2020 2020")), QString());
    // 01-1F, 7F and 80-9F, an escape sequence's ESC and tabs among them, become single blanks.
    EXPECT_EQ(fieldText(hex("09 41 01 42 1B5B33316D 43 0909 44 7F 85 9F 45 0A 00 46")),
              QStringLiteral("A B [31mC D E"));
    EXPECT_EQ(fieldText(hex("A0 DF FF")), QStringLiteral("ßÿ")) << "a no-break blank is a blank";
}

TEST(Replies, TheCapturedPushedSignalReportsRead)
{
    const auto fair = parseSignal(capturedPayloads().at(4));
    const auto excellent = parseSignal(capturedPayloads().at(5));
    ASSERT_TRUE(fair && excellent);
    EXPECT_EQ(fair->satellite, 1);
    EXPECT_TRUE(fair->antenna);
    EXPECT_EQ(fair->terrestrial, 1);
    EXPECT_FALSE(fair->carrierToNoise1) << "pushed reports carry no carrier-to-noise";
    EXPECT_EQ(excellent->satellite, 3);
}

struct PercentCase {
    const char* name;
    const char* report; // a polled C3 report
    double rock, roll, ground;
};

class SignalPercent : public ::testing::TestWithParam<PercentCase> {};

TEST_P(SignalPercent, MapsTheReportToTheThreeBars)
{
    const auto report = parseSignal(hex(GetParam().report));
    ASSERT_TRUE(report);
    const SignalLevels levels = signalPercentages(*report);
    EXPECT_DOUBLE_EQ(levels.rock, GetParam().rock);
    EXPECT_DOUBLE_EQ(levels.roll, GetParam().roll);
    EXPECT_DOUBLE_EQ(levels.ground, GetParam().ground);
}

// Byte 4 antenna, 5 terrestrial quality, 8 terrestrial lock, 16-17 its error rate, 24-25 C/N.
INSTANTIATE_TEST_SUITE_P(
    Data, SignalPercent,
    ::testing::Values(
        PercentCase{"strongAndWeak", "C3 0100 03 03 02 010101 010101 0000 0000 0044 0000 0000 0000 40 30", 100, 80, 90},
        PercentCase{"between12And16dB", "C3 0100 03 03 02 010101 010101 0000 0000 0000 0000 0000 0000 38 00", 90, 0,
                    100},
        PercentCase{"lowRatio", "C3 0100 01 03 00 010100 010100 0000 0000 0000 0000 0000 0000 18 0C", 40, 20, 0},
        PercentCase{"manyErrorsBottomOut", "C3 0100 03 03 01 010101 010101 0000 0000 0400 0000 0000 0000 40 40", 100,
                    100, 0},
        PercentCase{"noRepeaterLockNoGroundBar", "C3 0100 03 03 01 010100 010100 0000 0000 0000 0000 0000 0000 40 40",
                    100, 100, 0},
        PercentCase{"noAntennaAllZero", "C3 0100 03 00 02 010101 010101 0000 0000 0000 0000 0000 0000 40 40", 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct OpenFailureCase {
    const char* name;
    bool exists;
    QSerialPort::SerialPortError error;
    const char* says;
};

class OpenFailure : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(OpenFailure, NamesThePathAndWhatToDo)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("ttyUSB0");
    if (GetParam().exists)
        testsupport::writeFile(path, {});
    const QString reason = xmservice::openFailureReason(path, GetParam().error, "Permission denied");
    EXPECT_TRUE(reason.contains(path)) << reason.toStdString();
    EXPECT_TRUE(reason.contains(GetParam().says)) << reason.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Data, OpenFailure,
    ::testing::Values(OpenFailureCase{"missing", false, QSerialPort::DeviceNotFoundError, "no such device"},
                      OpenFailureCase{"noPermission", true, QSerialPort::PermissionError, "dialout"},
                      OpenFailureCase{"busy", true, QSerialPort::OpenError, "Permission denied"}),
    [](const auto& info) { return std::string(info.param.name); });
