// Reading a written skin back for the tests.
#include "skintestsupport.h"

#include "base/basic.h"

#include <cmath>

namespace skintest {

QRect Rect::toPixels(QSize area) const
{
    const int x0 = int(std::lround(left * area.width() / 100));
    const int y0 = int(std::lround(top * area.height() / 100));
    const int x1 = int(std::lround((left + width) * area.width() / 100));
    const int y1 = int(std::lround((top + height) * area.height() / 100));
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

std::vector<SectionKeys> sectionsInOrder(const QByteArray& ini)
{
    std::vector<SectionKeys> sections;
    for (const QByteArray& raw : ini.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.startsWith('[') && line.endsWith(']'))
            sections.push_back({line.mid(1, line.size() - 2), {}});
        else if (line.contains('=') && !sections.empty())
            sections.back().keys << line.left(line.indexOf('='));
    }
    return sections;
}

std::optional<double> number(const modIni::IniDocument& doc, const QString& section, const QString& key)
{
    if (!doc.value(section, key))
        return std::nullopt;
    return basic::toDouble(modIni::ReadSetting(doc, section, key, modIni::AsNumberText));
}

std::optional<qint64> colourValue(const modIni::IniDocument& doc, const QString& section, const QString& key)
{
    if (!doc.value(section, key))
        return std::nullopt;
    const std::optional<double> value = basic::toDouble(modIni::ReadSetting(doc, section, key, modIni::AsSingle));
    if (!value)
        return std::nullopt;
    return qint64(std::llround(*value));
}

QColor toColour(qint64 bbggrr)
{
    return QColor(int(bbggrr & 0xff), int((bbggrr >> 8) & 0xff), int((bbggrr >> 16) & 0xff));
}

std::optional<Rect> rectOf(const modIni::IniDocument& doc, const QString& section, const QString& prefix)
{
    const QString topKey = prefix == QLatin1String("SliderArea") ? QStringLiteral("SliderAreatop") : prefix + "Top";
    const auto left = number(doc, section, prefix + "Left");
    const auto top = number(doc, section, topKey);
    const auto width = number(doc, section, prefix + "Width");
    const auto height = number(doc, section, prefix + "Height");
    if (!left || !top || !width || !height)
        return std::nullopt;
    return Rect{*left, *top, *width, *height};
}

const std::vector<Face>& buttonFaces()
{
    static const std::vector<Face> faces{
        {"Exit", ""},
        {"VolumeMute", ""},
        {"Tune", ""},
        {"VolumeDown", ""},
        {"VolumeUp", ""},
        {"Preset1", ""},
        {"Preset2", ""},
        {"Preset3", ""},
        {"CurrentPlaylist", "ScrollUp"},
        {"CurrentPlaylist", "ScrollDown"},
        {"CurrentPlaylist", "SliderArea"},
        {"TimeSlider", ""},
    };
    return faces;
}

double luminance(const QColor& colour)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor meanColour(const QImage& image, const QRect& rect)
{
    const QRect r = rect.intersected(image.rect());
    double red = 0, green = 0, blue = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb px = image.pixel(x, y);
            red += qRed(px);
            green += qGreen(px);
            blue += qBlue(px);
        }
    }
    const double n = std::max<qint64>(1, qint64(r.width()) * r.height());
    return QColor(int(std::lround(red / n)), int(std::lround(green / n)), int(std::lround(blue / n)));
}

} // namespace skintest
