// The tuned channel: one change signal per step, naming every part that changed, and a track
// time kept only once it can belong to the channel.
#include "radio/tunedchannel.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using radio::TunedChannel;

namespace {

struct Tuned : ::testing::Test {
    TunedChannel tuned;
    QSignalSpy changes{&tuned, &TunedChannel::changed};

    // The parts of each change signalled since the last call.
    std::vector<int> taken()
    {
        std::vector<int> parts;
        for (const QList<QVariant>& change : changes)
            parts.push_back(int(change.front().value<TunedChannel::Parts>()));
        changes.clear();
        return parts;
    }
};

constexpr int Number = TunedChannel::Number, Texts = TunedChannel::Texts, Time = TunedChannel::Time;
const radio::ChannelTexts Rock{"Rock Hits", "Artist", "Title", "Rock"};
const radio::ChannelTexts Jazz{"Jazz Café", "Other", "Song", "Jazz"};

} // namespace

TEST_F(Tuned, AChangeIsOneSignalAndATimeIsKeptOnlyOnceTheRadioHasNamedTheChannel)
{
    EXPECT_EQ(tuned.numberText(), "") << "nothing tuned";
    tuned.report(0, Rock);
    EXPECT_EQ(tuned.numberText(), "0") << "channel 0 is a channel";
    tuned.setTime({10, 200});
    tuned.choose(6, Jazz);
    EXPECT_EQ(taken(), (std::vector<int>{Number | Texts, Time, Number | Texts | Time}));
    tuned.setTime({11, 200}); // on its way while the window tuned: channel 0's
    EXPECT_FALSE(tuned.time());

    tuned.report(6, Jazz);
    EXPECT_TRUE(taken().empty()) << "the radio confirming what is shown changes nothing";
    tuned.setTime({0, 240});
    tuned.setTexts(Rock);
    EXPECT_EQ(taken(), (std::vector<int>{Time, Texts}));
    EXPECT_EQ(tuned.time(), (radio::TrackTime{0, 240})) << "a new song's texts keep the channel's time";
}

// Quick presses against the real bus are in the media player's tests; here the confirmation and
// the time limit.
TEST_F(Tuned, AnOlderReportChangesNothingUntilTheRadioConfirmsTheChoiceOrTwoSecondsPass)
{
    tuned.report(8, Rock);
    tuned.choose(9, Jazz);
    taken();
    tuned.report(8, Rock); // a once-a-second report of the channel before
    EXPECT_EQ(tuned.numberText(), "9");
    EXPECT_TRUE(taken().empty());
    tuned.report(9, Rock);
    tuned.report(11, Rock);
    EXPECT_EQ(tuned.numberText(), "11") << "once confirmed, a change made elsewhere shows";

    tuned.choose(12, Jazz); // a channel the radio never tunes
    QTest::qWait(TunedChannel::ChoiceWaitMs + 100);
    tuned.report(11, Rock);
    EXPECT_EQ(tuned.numberText(), "11") << "after two seconds what the radio plays shows again";
}
