// The day/night skin choice on its own: the day test on "hh:mm:ss" texts, and which skin of the
// pair stands in for the other.
#include "app/skinchoice.h"

#include <gtest/gtest.h>

struct DayCase {
    const char* name;
    const char *now, *day, *night;
    bool daytime;
};

class Daytime : public ::testing::TestWithParam<DayCase> {};

TEST_P(Daytime, IsStrictlyBetweenTheSwitchTimes)
{
    const DayCase& c = GetParam();
    EXPECT_EQ(IsDaytime(QString::fromLatin1(c.now), QString::fromLatin1(c.day), QString::fromLatin1(c.night)),
              c.daytime);
}

INSTANTIATE_TEST_SUITE_P(Data, Daytime,
                         ::testing::Values(DayCase{"atTheDaySwitch", "07:00:00", "07:00:00", "19:00:00", false},
                                           DayCase{"aSecondAfterIt", "07:00:01", "07:00:00", "19:00:00", true},
                                           DayCase{"atTheNightSwitch", "19:00:00", "07:00:00", "19:00:00", false},
                                           DayCase{"beforeDawn", "06:59:59", "07:00:00", "19:00:00", false},
                                           DayCase{"lateEvening", "23:00:00", "07:00:00", "19:00:00", false},
                                           DayCase{"nightSwitchBeforeDaySwitch", "12:00:00", "19:00:00", "07:00:00",
                                                   false},
                                           DayCase{"timesCompareAsText", "12:00:00", "8:00:00", "19:00:00", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PairCase {
    const char* name;
    bool autoSwitch;
    const char *day, *night, *skin;
    std::optional<QString> other;
};

class OtherSkin : public ::testing::TestWithParam<PairCase> {};

TEST_P(OtherSkin, IsThePartnerOfASkinOfThePair)
{
    const PairCase& c = GetParam();
    app::StartupSettings s;
    s.autoSwitchDayNightSkin = c.autoSwitch;
    s.daySkin = QString::fromLatin1(c.day);
    s.nightSkin = QString::fromLatin1(c.night);
    EXPECT_EQ(OtherSkinOfPair(s, QString::fromLatin1(c.skin)), c.other);
}

INSTANTIATE_TEST_SUITE_P(Data, OtherSkin,
                         ::testing::Values(PairCase{"dayHasNight", true, "Day", "Night", "Day", "Night"},
                                           PairCase{"nightHasDay", true, "Day", "Night", "Night", "Day"},
                                           PairCase{"skinsFolderIsASkinToo", true, "", "Night", "", "Night"},
                                           PairCase{"notOfThePair", true, "Day", "Night", "Other", std::nullopt},
                                           PairCase{"switchingOff", false, "Day", "Night", "Day", std::nullopt},
                                           PairCase{"oneSkinForBoth", true, "Day", "Day", "Day", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });
