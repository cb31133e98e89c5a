// Parsing of the image size argument.
#include "imagesize.h"

#include <QRegularExpression>

namespace skinmaker {

std::optional<QSize> parseImageSize(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,5})\\s*[xX]\\s*(\\d{1,5})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    constexpr int Largest = 8192;
    if (width < 1 || height < 1 || width > Largest || height > Largest)
        return std::nullopt;
    return QSize(width, height);
}

} // namespace skinmaker
