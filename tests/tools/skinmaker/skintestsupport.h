// Reading a written skin back the way the program does: the skin file through modIni, the
// pictures from disk. Shared by the skin maker's tests.
#pragma once

#include "base/modini.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace skintest {

// A rectangle as the skin file gives it, in percent.
struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    // Edges rounded to the nearest pixel of an area of the given size.
    QRect toPixels(QSize area) const;
};

struct SectionKeys {
    QString section;
    QStringList keys;
};

// Section headers and key names in the order they stand in the file.
std::vector<SectionKeys> sectionsInOrder(const QByteArray& ini);

// A number key (code 4, converted with '.' as the decimal point), or nothing.
std::optional<double> number(const modIni::IniDocument& doc, const QString& section, const QString& key);
// A colour key (code 5) as a 0x00BBGGRR value, or nothing when it does not convert.
std::optional<qint64> colourValue(const modIni::IniDocument& doc, const QString& section, const QString& key);
QColor toColour(qint64 bbggrr);

// The four geometry keys prefix+"Left", +"Top", +"Width", +"Height" of a section. The list
// track's top is spelled "SliderAreatop" in the skin file.
std::optional<Rect> rectOf(const modIni::IniDocument& doc, const QString& section, const QString& prefix = {});

// An area the program cuts from the state images, named by its section and key prefix.
struct Face {
    QString section;
    QString prefix;
    QString name() const { return prefix.isEmpty() ? section : section + '/' + prefix; }
};
const std::vector<Face>& buttonFaces();

// WCAG relative luminance and contrast ratio (1 to 21).
double luminance(const QColor& colour);
double contrast(const QColor& a, const QColor& b);

// Mean colour of the image over rect.
QColor meanColour(const QImage& image, const QRect& rect);

} // namespace skintest
