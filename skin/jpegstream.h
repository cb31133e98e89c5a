// A JPEG brought to a surface size while it is decoded, a few rows at a time, so that a picture
// that must be stretched is never held whole: at full HD that is 6 MB less per decode, and the
// three state images can decode side by side on both cores. Rows come out of the decoder in the
// surface's own pixel format, with no pass to convert them.
#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace skin {

// Decodes the JPEG at path at 1/reduction of its size (1, 2, 4 or 8) straight into an RGB32
// surface of the given size, stretching it bilinearly as it goes where the sizes differ. Gives no value for a file it
// leaves to Qt's decoder (CMYK pictures); a file that cannot be decoded gives a null image and an error naming the
// file.
std::optional<QImage> StreamJpegToSize(const QString& path, int reduction, QSize size, QString* error);

} // namespace skin
