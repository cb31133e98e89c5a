// The Basic conversion rules that our settings and skin files were written for: Booleans,
// integers rounded half to even with range checks, number formats such as "000" and "#00".
// Text is read with '.' as the decimal point whatever the machine's locale, so a file reads the
// same everywhere.
#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace basic {

// "True"/"False" in any letter case, or a number (0 is false, any other number true).
// Anything else has no Boolean value.
std::optional<bool> CBool(const QString& text);

// Numeric text (surrounding blanks, a sign, a decimal point, an exponent) converted and rounded
// to the nearest integer, a half to the even neighbour; no value when the text is not a whole
// number or the result is out of the type's range.
std::optional<qint16> CInt(const QString& text);
std::optional<qint32> CLng(const QString& text);
std::optional<float> CSng(const QString& text);
std::optional<double> CDbl(const QString& text);

// A double rounded to the nearest integer, a half to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2); no value outside the type's range.
std::optional<qint16> CInt(double value);
std::optional<qint32> CLng(double value);
double roundHalfEven(double value);

// Format(number, fmt) for the digit formats the program uses: '0' shows a digit or 0, '#' a
// digit or nothing; more integer digits than placeholders are all shown; a negative number gets
// a leading '-'. Format(7, "000") is "007", Format(1234, "000") is "1234", Format(5, "#00") is
// "05".
QString Format(qint64 number, const QString& fmt);

// Format with a text argument: numeric text is formatted as its number ("7" -> "007");
// text that is not a number comes back unchanged ("" -> "").
QString Format(const QString& text, const QString& fmt);

// Conversions of a value returned by ReadSetting (text, Boolean or number) to the type the
// caller stores. Text is converted by the rules above; no value when it does not convert.
std::optional<bool> toBool(const QVariant& value);
std::optional<qint16> toInt16(const QVariant& value);
std::optional<qint32> toInt32(const QVariant& value);
std::optional<double> toDouble(const QVariant& value);
QString toText(const QVariant& value);

} // namespace basic
