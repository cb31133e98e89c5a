// The list window's arithmetic on its own: which rows are inner rows, and where the window's top
// goes when a channel is highlighted, with the 16-bit sums the window keeps.
#include "channellist/highlight.h"

#include <gtest/gtest.h>

using channellist::HighlightTop;
using channellist::IsInnerRow;

struct InnerRowCase {
    const char* name;
    qint32 i;
    qint16 top, v;
    std::optional<bool> inner;
};

class InnerRow : public ::testing::TestWithParam<InnerRowCase> {};

TEST_P(InnerRow, IsRowsTwoToVMinusTwo)
{
    const InnerRowCase& c = GetParam();
    EXPECT_EQ(IsInnerRow(c.i, c.top, c.v), c.inner);
}

// Rows 0..7 of a window at 10 show table positions 10..17; its inner rows are 12..15.
INSTANTIATE_TEST_SUITE_P(Data, InnerRow,
                         ::testing::Values(InnerRowCase{"secondRow", 11, 10, 7, false},
                                           InnerRowCase{"thirdRow", 12, 10, 7, true},
                                           InnerRowCase{"thirdRowFromTheEnd", 15, 10, 7, true},
                                           InnerRowCase{"secondRowFromTheEnd", 16, 10, 7, false},
                                           InnerRowCase{"aboveTheWindow", 3, 10, 7, false},
                                           InnerRowCase{"windowEndingAt32767", 32763, 32760, 7, true},
                                           InnerRowCase{"windowEndPast32767", 32763, 32761, 7, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TopCase {
    const char* name;
    qint32 k, n;
    qint16 top, v;
    std::optional<qint32> newTop;
};

class NewTop : public ::testing::TestWithParam<TopCase> {};

TEST_P(NewTop, KeepsTheHighlightInViewWithItsMargins)
{
    const TopCase& c = GetParam();
    EXPECT_EQ(HighlightTop(c.k, c.n, c.top, c.v), c.newTop);
}

// k is 1-based: channel k sits at table position k - 1. The window at 10 shows positions 10..17.
INSTANTIATE_TEST_SUITE_P(Data, NewTop,
                         ::testing::Values(TopCase{"nearTheEndLandsOnTheLastRow", 95, 100, 0, 7, 87},
                                           TopCase{"lastRowKeepsTheWindow", 18, 100, 10, 7, 10},
                                           TopCase{"jumpBelowLandsHalfAWindowDown", 41, 100, 10, 7, 38},
                                           TopCase{"halfRowsRoundToEven", 40, 100, 10, 7, 36},
                                           TopCase{"secondLastRowKeepsTwoRowsBelow", 17, 100, 10, 7, 11},
                                           TopCase{"secondLastRowAtTheTableEndKeepsTheWindow", 17, 18, 10, 7, 10},
                                           TopCase{"firstRowKeepsOneRowAbove", 11, 100, 10, 7, 9},
                                           TopCase{"secondRowKeepsOneRowAbove", 12, 100, 10, 7, 10},
                                           TopCase{"jumpAboveLandsHalfAWindowDown", 5, 100, 10, 7, 2},
                                           TopCase{"neverAboveTheTableStart", 2, 100, 10, 7, 0},
                                           TopCase{"windowEndPast32767", 5, 100, 32767, 1, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });
