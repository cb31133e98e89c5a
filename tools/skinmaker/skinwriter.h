// Lays out a skin folder: the skin file, the three state images and the thumb pictures.
#pragma once

#include "skindescription.h"
#include "skinpainter.h"

#include <QSize>
#include <QString>

namespace skinmaker {

inline const QString SkinFileName = QStringLiteral("radio_xm.ini");
inline const QString ImagesFolder = QStringLiteral("Images");
inline const QString UpImageName = QStringLiteral("Radio_XM_Up.jpg");
inline const QString DownImageName = QStringLiteral("Radio_XM_Down.jpg");
inline const QString OnImageName = QStringLiteral("Radio_XM_On.jpg");
// The state images' quality: the one the start-up and skin load figures are measured with; 92
// makes each picture about 30 % larger.
inline constexpr int JpegQuality = 75;

// Paints the skin at the given image size and writes it into folder, creating folders as
// needed and replacing files that are there. On failure returns false and says why in error.
bool writeSkin(const SkinDescription& skin, const QString& folder, QSize imageSize, QString* error);

bool writeSkinFolder(const SkinDescription& skin, const SkinImages& images, const QString& folder, QString* error);

// Writes a picture as a file, in the format its name's suffix gives.
bool writeImage(const QImage& image, const QString& path, QString* error);

} // namespace skinmaker
