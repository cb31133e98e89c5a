// The Basic conversions as tables of named cases: Booleans, integers with halves to even and
// range checks, floating numbers, number formats and the conversions of ReadSetting's results.
#include "base/basic.h"

#include "testsupport.h"
#include <QLocale>

#include <gtest/gtest.h>

namespace {

template <typename T> struct Case {
    const char* name;
    QString text;
    std::optional<T> expected; // nothing: the text has no value of that type
};

TEST(Conversions, CBool)
{
    const Case<bool> cases[] = {
        {"True", "True", true},
        {"LowerTrue", "true", true},
        {"UpperFalse", "FALSE", false},
        {"BlanksAroundTrue", " True ", true},
        {"MinusOne", "-1", true},
        {"One", "1", true},
        {"Zero", "0", false},
        {"ZeroPointZero", "0.0", false},
        {"Fraction", "0.25", true},
        {"HexZero", "&H0", false},
        {"HashTrue", "#TRUE#", true},
        {"HashTrueIsCaseSensitive", "#true#", {}},
        {"Yes", "Yes", {}},
        {"On", "On", {}},
        {"Empty", "", {}},
        {"Junk", "1x", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(basic::CBool(c.text), c.expected);
    }
}

TEST(Conversions, CInt)
{
    const Case<qint16> cases[] = {
        {"Max", "32767", 32767},
        {"AboveMax", "32768", {}},
        {"Min", "-32768", -32768},
        {"BelowMin", "-32769", {}},
        {"TwoAndHalfToEven", "2.5", 2},
        {"MinusTwoAndHalfToEven", "-2.5", -2},
        {"OneAndHalfToEven", "1.5", 2},
        {"HalfToZero", "0.5", 0},
        {"MinusHalfToZero", "-0.5", 0},
        {"MoreThanHalf", "0.6", 1},
        {"JustAboveHalfByDigits", "2.50000000000000000001", 3},
        {"RangeCheckedAfterRounding", "32767.5", {}},
        {"RoundsDownIntoRange", "-32768.5", -32768},
        {"Blanks", " \t7 ", 7},
        {"Plus", "+7", 7},
        {"BlankAfterSign", "- 7", -7},
        {"TrailingMinus", "7-", -7},
        {"TwoSigns", "-7-", {}},
        {"Thousands", "1,000", 1000},
        {"LeadingThousandsSeparator", ",1", {}},
        {"Exponent", "1.5e1", 15},
        {"NegativeExponent", "25e-1", 2},
        {"ExponentWithoutDigits", "1e", {}},
        {"LeadingPoint", ".5", 0},
        {"LonePoint", ".", {}},
        {"TwoPoints", "1.2.3", {}},
        {"HexFillsSixteenBits", "&HFFFF", -1},
        {"HexLowerCase", "&h7fff", 32767},
        {"HexTooWide", "&H10000", {}},
        {"Octal", "&O17", 15},
        {"OctalBadDigit", "&O8", {}},
        {"Leftover", "12abc", {}},
        {"Empty", "", {}},
        {"Huge", "1e30", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(basic::CInt(c.text), c.expected);
    }
}

TEST(Conversions, CLng)
{
    const Case<qint32> cases[] = {
        {"Max", "2147483647", 2147483647},
        {"AboveMax", "2147483648", {}},
        {"Min", "-2147483648", INT32_MIN},
        {"ThreeAndHalfToEven", "3.5", 4},
        {"HexIsUnsignedWithin32Bits", "&HFFFF", 65535},
        {"HexFills32Bits", "&HFFFFFFFF", -1},
        {"Colour", "16777215", 16777215},
        {"Junk", "white", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(basic::CLng(c.text), c.expected);
    }
}

TEST(Conversions, CDblAndCSngDoNotRound)
{
    const Case<double> cases[] = {
        {"Fraction", "12.5", 12.5},     {"Negative", "-0.25", -0.25}, {"Exponent", "1e-3", 0.001},
        {"Grouped", "1,234.5", 1234.5}, {"Zero", "-0", 0.0},          {"Underflow", "1e-400", 0.0},
        {"Overflow", "1e400", {}},      {"Junk", "12.5 px", {}},      {"Empty", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(basic::CDbl(c.text), c.expected);
    }
    EXPECT_EQ(basic::CSng("16777215"), 16777215.0f);
    EXPECT_EQ(basic::CSng("2.5"), 2.5f);
    EXPECT_EQ(basic::CSng("1e39"), std::nullopt) << "beyond a Single's range";
    EXPECT_EQ(basic::CDbl("1e39"), 1e39);
}

TEST(Conversions, DecimalPointIsAlwaysAPoint)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(basic::CDbl("12.5"), 12.5);
    EXPECT_EQ(basic::CDbl("12,5"), 125.0) << "',' is a thousands separator";
    QLocale::setDefault(previous);
}

TEST(Conversions, RoundingOfDoubles)
{
    const struct {
        const char* name;
        double value;
        double rounded;
        std::optional<qint16> integer;
    } cases[] = {
        {"TwoAndHalf", 2.5, 2, 2},
        {"ThreeAndHalf", 3.5, 4, 4},
        {"MinusTwoAndHalf", -2.5, -2, -2},
        {"MinusThreeAndHalf", -3.5, -4, -4},
        {"Half", 0.5, 0, 0},
        {"BelowHalf", 2.4999, 2, 2},
        {"AboveHalf", 2.5001, 3, 3},
        {"MaxAfterRounding", 32767.4, 32767, 32767},
        {"OverMaxAfterRounding", 32767.5, 32768, {}},
        {"MinAfterRounding", -32768.5, -32768, -32768},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(basic::roundHalfEven(c.value), c.rounded);
        EXPECT_EQ(basic::CInt(c.value), c.integer);
    }
    EXPECT_EQ(basic::CLng(2147483647.5), std::nullopt);
    EXPECT_EQ(basic::CLng(-2147483648.5), INT32_MIN);
    EXPECT_EQ(basic::CInt(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(Formats, Numbers)
{
    const struct {
        const char* name;
        qint64 number;
        QString fmt, expected;
    } cases[] = {
        {"PadsWithZeros", 7, "000", "007"},
        {"ShowsAllDigits", 1234, "000", "1234"},
        {"ZeroAllZeros", 0, "000", "000"},
        {"NegativeGetsSign", -7, "000", "-007"},
        {"HashDropsLeadingZero", 5, "#00", "05"},
        {"HashWithThreeDigits", 100, "#00", "100"},
        {"HashAloneShowsNothingForZero", 0, "#", ""},
        {"Decimals", 7, "0.00", "7.00"},
        {"OptionalDecimals", 7, "0.##", "7."},
        {"Thousands", 1234567, "#,##0", "1,234,567"},
        {"ThousandsSmall", 12, "#,##0", "12"},
        {"Literals", 5, "Ch 000", "Ch 005"},
        {"QuotedLiteral", 5, "\"#\"0", "#5"},
        {"NegativeSection", -7, "0;(0)", "(7)"},
        {"EmptyNegativeSection", -7, "0;", "-7"},
        {"ZeroSection", 0, "0;-0;none", "none"},
        {"Percent", 7, "0%", "700%"},
        {"NoFormat", -42, "", "-42"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(basic::Format(c.number, c.fmt), c.expected);
    }
}

TEST(Formats, Text)
{
    const struct {
        const char* name;
        QString text, fmt, expected;
    } cases[] = {
        {"NumericText", "7", "000", "007"},
        {"Empty", "", "000", ""},
        {"NotANumber", "abc", "000", "abc"},
        {"FractionRoundsHalfUp", "12.5", "000", "013"},
        {"DecimalsRoundHalfUp", "12.345", "0.00", "12.35"},
        {"OptionalDecimalsTrimZeros", "1.50", "0.##", "1.5"},
        {"RoundingCarries", "9.996", "0.00", "10.00"},
        {"SmallFraction", "0.004", "0.00", "0.00"},
        {"Negative", "-7", "000", "-007"},
        {"Blanks", " 42 ", "000", "042"},
        {"NoFormat", "12.50", "", "12.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(basic::Format(c.text, c.fmt), c.expected);
    }
}

TEST(ReadResults, ConvertToTheStoredType)
{
    EXPECT_EQ(basic::toBool(QVariant("True")), true);
    EXPECT_EQ(basic::toBool(QVariant("Yes")), std::nullopt);
    EXPECT_EQ(basic::toBool(QVariant::fromValue<qint16>(0)), false);
    EXPECT_EQ(basic::toBool(QVariant(2.5)), true);
    EXPECT_EQ(basic::toInt16(QVariant(true)), -1) << "True is -1";
    EXPECT_EQ(basic::toInt16(QVariant("0")), 0);
    EXPECT_EQ(basic::toInt16(QVariant::fromValue<qint32>(65280)), std::nullopt);
    EXPECT_EQ(basic::toInt16(QVariant(2.5)), 2);
    EXPECT_EQ(basic::toInt32(QVariant::fromValue<float>(16777215.0f)), 16777215);
    EXPECT_EQ(basic::toInt32(QVariant("abc")), std::nullopt);
    EXPECT_EQ(basic::toDouble(QVariant(false)), 0.0);
    EXPECT_EQ(basic::toDouble(QVariant("12.5")), 12.5);
    EXPECT_EQ(basic::toText(QVariant(true)), "True");
    EXPECT_EQ(basic::toText(QVariant::fromValue<qint16>(7)), "7");
    EXPECT_EQ(basic::toText(QVariant(0.5)), "0.5");
    EXPECT_EQ(basic::toText(QVariant(-0.0)), "0");
    EXPECT_EQ(basic::toText(QVariant(1e20)), "1E+20");
    EXPECT_EQ(basic::toText(QVariant("007")), "007");
}

} // namespace
