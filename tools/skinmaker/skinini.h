// Writes a skin description as the skin file radio_xm.ini: every section and key in reading
// order, CRLF line ends, numbers with a '.' decimal point, colours as decimal 0x00BBGGRR values.
#pragma once

#include "skindescription.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace skinmaker {

struct IniKey {
    QString key;
    QString value;
};

struct IniSection {
    QString name;
    std::vector<IniKey> keys;
};

std::vector<IniSection> skinIniSections(const SkinDescription& skin);

// "[Section]" and "Key=Value" lines, each ended by CRLF, with a blank line between sections.
QByteArray iniBytes(const std::vector<IniSection>& sections);

QByteArray skinIniText(const SkinDescription& skin);

// A decimal number with '.' whatever the locale, at most four decimals, no trailing zeros.
QString formatNumber(double value);

// The colour as the program stores it: red in the low byte, then green, then blue.
qint64 colourValue(const QColor& colour);

QString alignmentText(Alignment align);

} // namespace skinmaker
