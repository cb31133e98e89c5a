// The sound's parts without a sound server: which input Source=auto takes, and the simulator's
// programme frame by frame.
#include "service/sound/lineinput.h"
#include "service/sound/programme.h"
#include "testsupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <pulse/def.h>

using namespace sound;

struct PortCase {
    const char* name;
    int type;
    const char* port;
    InputKind kind;
};

class PortKind : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortKind, ComesFromTheServersTypeOrElseTheName)
{
    EXPECT_EQ(kindOfPort(GetParam().type, QString::fromLatin1(GetParam().port)), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Data, PortKind,
    ::testing::Values(PortCase{"typedLine", PA_DEVICE_PORT_TYPE_LINE, "analog-input", InputKind::Line},
                      PortCase{"typedMic", PA_DEVICE_PORT_TYPE_MIC, "analog-input-linein", InputKind::Microphone},
                      PortCase{"headset", PA_DEVICE_PORT_TYPE_HEADSET, "analog-input-headset", InputKind::Microphone},
                      PortCase{"untypedLineIn", 0, "analog-input-linein", InputKind::Line},
                      PortCase{"untypedRearMic", 0, "analog-input-rear-mic", InputKind::Microphone},
                      PortCase{"usbAdapterLine", 0, "Line-In", InputKind::Line},
                      PortCase{"somethingElse", 0, "analog-input-dock", InputKind::Other}),
    [](const auto& info) { return info.param.name; });

TEST(LineInput, IsTheFirstLineInputInUseNeverAMicrophoneOrAMonitor)
{
    const CaptureDevice mic{"pulse:card", "Card: Microphone", InputKind::Microphone, true};
    const CaptureDevice idleLine{"pulse:card", "Card: Line In", InputKind::Line, false};
    const CaptureDevice monitor{"pulse:card.monitor", "Monitor", InputKind::Monitor, true};
    const CaptureDevice usbLine{"pulse:usb", "USB: Line In", InputKind::Line, true};
    EXPECT_FALSE(chooseLineInput({mic, idleLine, monitor}));
    ASSERT_TRUE(chooseLineInput({mic, idleLine, monitor, usbLine}));
    EXPECT_EQ(chooseLineInput({mic, idleLine, monitor, usbLine})->device, "pulse:usb");
}

namespace {

// The programme's next frames, the left channel.
std::vector<Sample> next(Programme& programme, long frames)
{
    std::vector<Sample> samples(std::size_t(frames) * Channels);
    EXPECT_EQ(programme.read(samples.data(), frames, 0).frames, frames);
    std::vector<Sample> left;
    for (long i = 0; i < frames; ++i)
        left.push_back(samples[std::size_t(2 * i)]);
    return left;
}

long silentFrames(const std::vector<Sample>& samples)
{
    return long(std::find_if(samples.begin(), samples.end(), [](Sample s) { return s != 0; }) - samples.begin());
}

} // namespace

TEST(Programme, ANewSongOnTheChannelComesAfterASecondOfSilenceAnotherChannelAtOnce)
{
    Programme programme;
    ASSERT_TRUE(programme.open(DefaultRate).isEmpty());
    EXPECT_EQ(silentFrames(next(programme, 4800)), 4800) << "nothing reported yet";

    programme.follow(7, songSeed(7, "Artist", "First"));
    const std::vector<Sample> first = next(programme, 48000);
    EXPECT_LT(silentFrames(first), 480) << "a tuned channel plays at once";
    const Sample loudest = *std::max_element(first.begin(), first.end());
    EXPECT_GT(loudest, 3000);
    EXPECT_LT(loudest, 13000) << "quiet: below -8 dBFS";

    programme.follow(7, songSeed(7, "Artist", "First"));
    EXPECT_EQ(silentFrames(next(programme, 480)), 0) << "the same song goes on";
    programme.follow(7, songSeed(7, "Artist", "Second"));
    const long gap = silentFrames(next(programme, 2 * 48000));
    EXPECT_GE(gap, 48000);
    EXPECT_LT(gap, 48000 + 480);

    programme.follow(9, songSeed(9, "Artist", "Third"));
    EXPECT_LT(silentFrames(next(programme, 4800)), 480);
}
