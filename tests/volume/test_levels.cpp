// The level arithmetic on its own: a control's raw range onto the window's full scale, and the
// input meter's peak of 8-bit samples.
#include "volume/alsamixer.h"
#include "volume/rawlevel.h"

#include <gtest/gtest.h>
#include <vector>

using volume::PeakOfSamples;
using volume::ToFullScale;

struct ScaleCase {
    const char* name;
    long raw, minimum, maximum;
    qint32 level;
};

class FullScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(FullScale, MapsTheRawRangeToTheNearestLevel)
{
    const ScaleCase& c = GetParam();
    EXPECT_EQ(ToFullScale(c.raw, c.minimum, c.maximum), c.level);
}

INSTANTIATE_TEST_SUITE_P(
    Data, FullScale,
    ::testing::Values(ScaleCase{"cardTop", 31, 0, 31, 65535}, ScaleCase{"cardStepRoundsDown", 15, 0, 31, 31710},
                      ScaleCase{"cardStepRoundsUp", 16, 0, 31, 33825},
                      ScaleCase{"serverMiddle", 32768, 0, 65536, 32768}, ScaleCase{"serverTop", 65536, 0, 65536, 65535},
                      ScaleCase{"negativeRangeMiddle", -3000, -6000, 0, 32768},
                      ScaleCase{"aboveTheRangeIsTheTop", 40, 0, 31, 65535},
                      ScaleCase{"belowTheRangeIsTheBottom", -5, 0, 31, 0}, ScaleCase{"emptyRange", 5, 5, 5, 0},
                      ScaleCase{"reversedRange", 5, 31, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct PeakCase {
    const char* name;
    std::vector<unsigned char> samples;
    long count;
    qint32 peak;
};

class Peak : public ::testing::TestWithParam<PeakCase> {};

TEST_P(Peak, IsTheLargestSwingFromSilence)
{
    const PeakCase& c = GetParam();
    EXPECT_EQ(PeakOfSamples(c.samples.data(), c.count), c.peak);
}

INSTANTIATE_TEST_SUITE_P(
    Data, Peak,
    ::testing::Values(PeakCase{"silence", {128, 128, 128}, 3, 0}, PeakCase{"upSwing", {128, 200, 130}, 3, 72},
                      PeakCase{"largerDownSwingWins", {100, 160}, 2, 32},
                      PeakCase{"lowestSampleIsCappedAt127", {0}, 1, 127}, PeakCase{"highestSample", {255}, 1, 127},
                      PeakCase{"onlyTheCountIsRead", {128, 255}, 1, 0}, PeakCase{"noSamples", {}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });
