// The Basic conversions: a scanner for numeric text as the old runtime read it, the integer and
// floating conversions built on it, and the '0'/'#' number formats.
#include "base/basic.h"

#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace basic {
namespace {

// Numeric text as scanned: either decimal digits times a power of ten, or an &H/&O literal.
// Only '.' is a decimal point and only ',' a thousands separator, whatever the machine's locale:
// the files were written with those and must read the same on every machine.
struct ParsedNumber {
    bool negative = false;
    bool radix = false; // an &H or &O literal, held in radixValue
    quint64 radixValue = 0;
    QByteArray digits; // without leading zeros; empty for zero
    int exponent = 0;  // value = digits x 10^exponent
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0xA0);
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int radixDigit(QChar c, int bits)
{
    const char16_t u = c.unicode();
    int d = 99;
    if (u >= u'0' && u <= u'9')
        d = u - u'0';
    else if (u >= u'a' && u <= u'f')
        d = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        d = u - u'A' + 10;
    return d < (1 << bits) ? d : -1;
}

// Reads the whole text as one number: blanks around it, one sign before or after the digits,
// thousands separators after the first digit, a decimal point, an exponent, or an &H/&O
// literal. Anything left over means the text is not a number.
class NumberScanner {
public:
    explicit NumberScanner(QStringView text)
        : m_text(text)
    {
    }
    std::optional<ParsedNumber> scan();

private:
    QChar peek(qsizetype ahead = 0) const { return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : QChar(); }
    void skipBlanks();
    bool takeSign();
    bool scanRadix();
    bool scanDecimal();
    bool scanExponent();

    QStringView m_text;
    qsizetype m_pos = 0;
    ParsedNumber m_number;
};

std::optional<ParsedNumber> NumberScanner::scan()
{
    skipBlanks();
    const bool leadingSign = takeSign();
    skipBlanks();
    const bool isRadix = peek() == u'&';
    if (isRadix ? (leadingSign || !scanRadix()) : !(scanDecimal() && scanExponent()))
        return std::nullopt;
    skipBlanks();
    if (!leadingSign && !isRadix && takeSign())
        skipBlanks();
    if (m_pos != m_text.size())
        return std::nullopt;
    return m_number;
}

void NumberScanner::skipBlanks()
{
    while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
        ++m_pos;
}

bool NumberScanner::takeSign()
{
    if (peek() != u'+' && peek() != u'-')
        return false;
    m_number.negative = peek() == u'-';
    ++m_pos;
    return true;
}

bool NumberScanner::scanRadix()
{
    const QChar kind = peek(1).toUpper();
    const int bits = kind == u'H' ? 4 : kind == u'O' ? 3 : 0;
    if (bits == 0)
        return false;
    m_pos += 2;
    const qsizetype first = m_pos;
    for (int d; (d = radixDigit(peek(), bits)) >= 0; ++m_pos) {
        if (m_number.radixValue > (std::numeric_limits<quint64>::max() >> bits))
            return false;
        m_number.radixValue = (m_number.radixValue << bits) | quint64(d);
    }
    m_number.radix = true;
    return m_pos > first;
}

bool NumberScanner::scanDecimal()
{
    bool sawDigit = false;
    for (;; ++m_pos) {
        if (isDigit(peek())) {
            if (!m_number.digits.isEmpty() || peek() != u'0')
                m_number.digits += char(peek().unicode());
            sawDigit = true;
        } else if (peek() != u',' || !sawDigit) {
            break;
        }
    }
    if (peek() != u'.')
        return sawDigit;
    for (++m_pos; isDigit(peek()); ++m_pos) {
        if (!m_number.digits.isEmpty() || peek() != u'0')
            m_number.digits += char(peek().unicode());
        --m_number.exponent;
        sawDigit = true;
    }
    return sawDigit;
}

bool NumberScanner::scanExponent()
{
    if (peek() != u'e' && peek() != u'E')
        return true;
    ++m_pos;
    const bool negative = peek() == u'-';
    if (peek() == u'-' || peek() == u'+')
        ++m_pos;
    if (!isDigit(peek()))
        return false;
    int value = 0;
    for (; isDigit(peek()); ++m_pos)
        value = std::min(value * 10 + (peek().unicode() - u'0'), 100000);
    m_number.exponent += negative ? -value : value;
    return true;
}

std::optional<ParsedNumber> parse(const QString& text)
{
    return NumberScanner(text).scan();
}

// The magnitude of a decimal number rounded to an integer, a half to the even neighbour, decided
// on the written digits (so "2.5000001" is 3); nothing past 18 digits, beyond every target type.
std::optional<quint64> roundedMagnitude(const ParsedNumber& n)
{
    const qsizetype whole = n.digits.size() + n.exponent;
    if (whole > 18)
        return std::nullopt;
    quint64 value = 0;
    for (qsizetype i = 0; i < whole; ++i)
        value = value * 10 + quint64(i < n.digits.size() ? n.digits[i] - '0' : 0);
    if (whole < 0 || whole >= n.digits.size())
        return value;
    const char first = n.digits[whole];
    const bool moreAfterHalf = n.digits.mid(whole + 1).count('0') != n.digits.size() - whole - 1;
    if (first > '5' || (first == '5' && (moreAfterHalf || (value & 1))))
        ++value;
    return value;
}

template <typename T> std::optional<T> integerFromText(const QString& text)
{
    const std::optional<ParsedNumber> n = parse(text);
    if (!n)
        return std::nullopt;
    using Unsigned = std::make_unsigned_t<T>;
    if (n->radix) {
        // &HFFFF is -1 as an Integer and 65535 as a Long: the literal fills the type's bits.
        if (n->radixValue > std::numeric_limits<Unsigned>::max())
            return std::nullopt;
        return T(Unsigned(n->radixValue));
    }
    const std::optional<quint64> magnitude = roundedMagnitude(*n);
    if (!magnitude)
        return std::nullopt;
    const qint64 value = n->negative ? -qint64(*magnitude) : qint64(*magnitude);
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        return std::nullopt;
    return T(value);
}

template <typename T> std::optional<T> floatingFromText(const QString& text)
{
    const std::optional<ParsedNumber> n = parse(text);
    if (!n)
        return std::nullopt;
    if (n->radix) {
        if (n->radixValue > std::numeric_limits<quint32>::max())
            return std::nullopt;
        return T(qint32(quint32(n->radixValue)));
    }
    if (n->digits.isEmpty())
        return T(0);
    const QByteArray written = n->digits + 'e' + QByteArray::number(n->exponent);
    T value = 0;
    const auto [end, error] = std::from_chars(written.constBegin(), written.constEnd(), value);
    if (error == std::errc::result_out_of_range)
        return n->digits.size() + n->exponent <= 0 ? std::optional<T>(T(0)) : std::nullopt;
    if (error != std::errc() || end != written.constEnd())
        return std::nullopt;
    return n->negative ? -value : value;
}

template <typename T> std::optional<T> integerFromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<T>::min() || rounded > std::numeric_limits<T>::max())
        return std::nullopt;
    return T(rounded);
}

} // namespace

std::optional<bool> CBool(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(u"True", Qt::CaseInsensitive) == 0 || text == u"#TRUE#")
        return true;
    if (word.compare(u"False", Qt::CaseInsensitive) == 0 || text == u"#FALSE#")
        return false;
    const std::optional<double> number = CDbl(text);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

std::optional<qint16> CInt(const QString& text)
{
    return integerFromText<qint16>(text);
}
std::optional<qint32> CLng(const QString& text)
{
    return integerFromText<qint32>(text);
}
std::optional<float> CSng(const QString& text)
{
    return floatingFromText<float>(text);
}
std::optional<double> CDbl(const QString& text)
{
    return floatingFromText<double>(text);
}
std::optional<qint16> CInt(double value)
{
    return integerFromDouble<qint16>(value);
}
std::optional<qint32> CLng(double value)
{
    return integerFromDouble<qint32>(value);
}

double roundHalfEven(double value)
{
    const double nearest = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return nearest;
}

// --- Formats ----------------------------------------------------------------------------------

namespace {

// A format section as placeholders and literal text, split at its decimal point.
struct FormatToken {
    enum Kind { Zero, Hash, Point, Comma, Percent, Literal } kind;
    QString text;
};

bool isPlaceholder(const FormatToken& t)
{
    return t.kind == FormatToken::Zero || t.kind == FormatToken::Hash;
}

QList<FormatToken> tokenize(QStringView section)
{
    QList<FormatToken> tokens;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'0' || c == u'#' || c == u'.' || c == u',' || c == u'%') {
            const auto kind = c == u'0'   ? FormatToken::Zero
                              : c == u'#' ? FormatToken::Hash
                              : c == u'.' ? FormatToken::Point
                              : c == u',' ? FormatToken::Comma
                                          : FormatToken::Percent;
            tokens.append({kind, QString(c)});
        } else if (c == u'\\' && i + 1 < section.size()) {
            tokens.append({FormatToken::Literal, QString(section[++i])});
        } else if (c == u'"') {
            const qsizetype close = section.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? section.size() : close;
            tokens.append({FormatToken::Literal, section.mid(i + 1, end - i - 1).toString()});
            i = end;
        } else {
            tokens.append({FormatToken::Literal, QString(c)});
        }
    }
    return tokens;
}

// Splits at ';' outside quotes and escapes: positive;negative;zero.
QStringList splitSections(const QString& fmt)
{
    QStringList sections{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt[i];
        if (c == u';' && !quoted) {
            sections.append(QString());
            continue;
        }
        if (c == u'"')
            quoted = !quoted;
        sections.last() += c;
        if (c == u'\\' && i + 1 < fmt.size())
            sections.last() += fmt[++i];
    }
    return sections;
}

// Adds one to a string of decimal digits.
QByteArray incremented(QByteArray digits)
{
    qsizetype i = digits.size() - 1;
    for (; i >= 0 && digits[i] == '9'; --i)
        digits[i] = '0';
    if (i < 0)
        digits.prepend('1');
    else
        ++digits[i];
    return digits;
}

// The magnitude rounded to `places` decimals, a half rounded up as Format does, split into its
// integer digits (no leading zeros) and exactly `places` fraction digits.
std::pair<QByteArray, QByteArray> roundedDigits(const ParsedNumber& n, int places)
{
    const qsizetype shift = qsizetype(n.exponent) + places;
    QByteArray scaled;
    if (shift >= 0) {
        scaled = n.digits + QByteArray(shift, '0');
    } else {
        const qsizetype kept = n.digits.size() + shift;
        scaled = kept > 0 ? n.digits.left(kept) : QByteArray();
        if (kept >= 0 && kept < n.digits.size() && n.digits[kept] >= '5')
            scaled = incremented(scaled);
    }
    if (scaled.size() < places + 1)
        scaled.prepend(QByteArray(places + 1 - scaled.size(), '0'));
    QByteArray whole = scaled.left(scaled.size() - places);
    while (!whole.isEmpty() && whole.front() == '0')
        whole.remove(0, 1);
    return {whole, scaled.right(places)};
}

QByteArray grouped(const QByteArray& digits)
{
    QByteArray out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// Formats the magnitude of n with one section's tokens.
class SectionFormatter {
public:
    SectionFormatter(const QList<FormatToken>& tokens, ParsedNumber n);
    QString result() const;

private:
    QString integerPart() const;
    QString fractionPart() const;

    QList<FormatToken> m_integer, m_fraction;
    bool m_point = false;
    bool m_grouping = false;
    QByteArray m_whole, m_fractionDigits;
};

SectionFormatter::SectionFormatter(const QList<FormatToken>& tokens, ParsedNumber n)
{
    for (const FormatToken& t : tokens) {
        if (t.kind == FormatToken::Point && !m_point)
            m_point = true;
        else if (t.kind == FormatToken::Percent)
            n.exponent += 2;
        (m_point && t.kind != FormatToken::Point ? m_fraction : m_integer).append(t);
    }
    m_integer.removeIf([](const FormatToken& t) { return t.kind == FormatToken::Point; });
    // A ',' between integer placeholders asks for thousands separators.
    const auto first = std::find_if(m_integer.begin(), m_integer.end(), isPlaceholder);
    const auto last = std::find_if(m_integer.rbegin(), m_integer.rend(), isPlaceholder);
    for (auto it = first; first != m_integer.end() && it < last.base(); ++it)
        m_grouping |= it->kind == FormatToken::Comma;
    if (m_grouping)
        m_integer.removeIf([](const FormatToken& t) { return t.kind == FormatToken::Comma; });
    const int places = int(std::count_if(m_fraction.begin(), m_fraction.end(), isPlaceholder));
    std::tie(m_whole, m_fractionDigits) = roundedDigits(n, places);
}

QString SectionFormatter::result() const
{
    return integerPart() + fractionPart();
}

// Digits fill the placeholders from the right; the first placeholder takes every digit that is
// left over, so 1234 with "000" shows all four. '0' placeholders pad with zeros from the first
// '0' on, so 5 with "#00" is "05".
QString SectionFormatter::integerPart() const
{
    const qsizetype placeholderCount = std::count_if(m_integer.begin(), m_integer.end(), isPlaceholder);
    const auto firstZero = std::find_if(m_integer.begin(), m_integer.end(),
                                        [](const FormatToken& t) { return t.kind == FormatToken::Zero; });
    const qsizetype padded = std::count_if(firstZero, m_integer.end(), isPlaceholder);
    QByteArray digits = m_whole;
    if (digits.size() < padded)
        digits.prepend(QByteArray(padded - digits.size(), '0'));
    const qsizetype offset = digits.size() - placeholderCount; // digits beyond the placeholders
    QString out;
    qsizetype slot = 0;
    for (const FormatToken& t : m_integer) {
        if (!isPlaceholder(t))
            out += t.text;
        else if (m_grouping && slot == 0)
            out += QString::fromLatin1(grouped(digits));
        else if (!m_grouping && slot == 0)
            out += QString::fromLatin1(digits.left(std::max<qsizetype>(offset + 1, 0)));
        else if (!m_grouping && slot + offset >= 0)
            out += QChar::fromLatin1(digits[slot + offset]);
        slot += isPlaceholder(t);
    }
    return out;
}

// '0' shows a decimal or 0; '#' shows it unless it is a trailing zero.
QString SectionFormatter::fractionPart() const
{
    if (!m_point)
        return QString();
    qsizetype keep = m_fractionDigits.size();
    qsizetype place = 0, lastZeroPlace = -1;
    for (const FormatToken& t : m_fraction) {
        lastZeroPlace = t.kind == FormatToken::Zero ? place : lastZeroPlace;
        place += isPlaceholder(t);
    }
    while (keep > lastZeroPlace + 1 && m_fractionDigits[keep - 1] == '0')
        --keep;
    QString out = QStringLiteral(".");
    place = 0;
    for (const FormatToken& t : m_fraction) {
        if (!isPlaceholder(t))
            out += t.text;
        else if (place++ < keep)
            out += QChar::fromLatin1(m_fractionDigits[place - 1]);
    }
    return out;
}

QString formatParsed(ParsedNumber n, const QString& fmt)
{
    if (n.radix) {
        n.digits = QByteArray::number(n.radixValue);
        n.radix = false;
    }
    const bool zero = n.digits.isEmpty();
    const QStringList sections = splitSections(fmt);
    // A negative value with its own section shows that section without a sign; an empty
    // section falls back to the first one.
    qsizetype chosen = 0;
    if (n.negative && !zero && sections.size() > 1 && !sections[1].isEmpty())
        chosen = 1;
    else if (zero && sections.size() > 2 && !sections[2].isEmpty())
        chosen = 2;
    const bool sign = n.negative && !zero && chosen == 0;
    return (sign ? QStringLiteral("-") : QString()) + SectionFormatter(tokenize(sections[chosen]), n).result();
}

} // namespace

QString Format(qint64 number, const QString& fmt)
{
    if (fmt.isEmpty())
        return QString::number(number);
    ParsedNumber n;
    n.negative = number < 0;
    const quint64 magnitude = n.negative ? 0 - quint64(number) : quint64(number);
    n.digits = magnitude == 0 ? QByteArray() : QByteArray::number(magnitude);
    return formatParsed(n, fmt);
}

QString Format(const QString& text, const QString& fmt)
{
    const std::optional<ParsedNumber> n = parse(text);
    if (!n)
        return text;
    if (fmt.isEmpty()) {
        const std::optional<double> number = CDbl(text);
        return number ? toText(*number) : text;
    }
    return formatParsed(*n, fmt);
}

// --- Values returned by ReadSetting -------------------------------------------------------------

namespace {

bool isText(const QVariant& v)
{
    return v.typeId() == QMetaType::QString;
}
bool isBoolean(const QVariant& v)
{
    return v.typeId() == QMetaType::Bool;
}

} // namespace

// An invalid QVariant plays the part of Basic's Empty: false, 0 and the empty text.
std::optional<bool> toBool(const QVariant& value)
{
    if (isText(value))
        return CBool(value.toString());
    if (!value.isValid())
        return false;
    const std::optional<double> number = toDouble(value);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

std::optional<qint16> toInt16(const QVariant& value)
{
    if (isText(value))
        return CInt(value.toString());
    const std::optional<double> number = toDouble(value);
    return number ? CInt(*number) : std::nullopt;
}

std::optional<qint32> toInt32(const QVariant& value)
{
    if (isText(value))
        return CLng(value.toString());
    const std::optional<double> number = toDouble(value);
    return number ? CLng(*number) : std::nullopt;
}

std::optional<double> toDouble(const QVariant& value)
{
    if (isText(value))
        return CDbl(value.toString());
    if (!value.isValid())
        return 0.0;
    if (isBoolean(value))
        return value.toBool() ? -1.0 : 0.0; // Basic's True is -1
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

// Numbers as CStr shows them: the shortest form with 15 significant digits for a Double and 7 for
// a Single, an upper-case exponent, no leading blank, and no "-0".
QString toText(const QVariant& value)
{
    if (isBoolean(value))
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    const int id = value.typeId();
    if (id != QMetaType::Double && id != QMetaType::Float)
        return value.toString();
    const double number = value.toDouble();
    if (number == 0)
        return QStringLiteral("0");
    return QString::number(number, 'g', id == QMetaType::Float ? 7 : 15).toUpper();
}

} // namespace basic
