// The skin folder writer.
#include "skinwriter.h"

#include "logging.h"
#include "skinini.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace skinmaker {

namespace {

bool fail(QString* error, const QString& message)
{
    qCWarning(lcSkinMaker).noquote() << message;
    if (error)
        *error = message;
    return false;
}

bool writeBytes(const QByteArray& bytes, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

} // namespace

bool writeImage(const QImage& image, const QString& path, QString* error)
{
    // A writer made from a file name alone reports no format until it writes: the suffix says it.
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    QImageWriter writer(path, format);
    if (format == "jpg" || format == "jpeg")
        writer.setQuality(JpegQuality);
    // A JPEG has no alpha channel; the thumbs and the icon keep theirs, so that what lies under
    // their rounded corners shows through.
    const QImage toWrite = format == "png" ? image : image.convertToFormat(QImage::Format_RGB32);
    if (!writer.write(toWrite))
        return fail(error, QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
    return true;
}

bool writeSkinFolder(const SkinDescription& skin, const SkinImages& images, const QString& folder, QString* error)
{
    const QDir dir(folder);
    if (!QDir().mkpath(dir.filePath(ImagesFolder)))
        return fail(error, QStringLiteral("cannot create %1").arg(dir.filePath(ImagesFolder)));
    const QDir imagesDir(dir.filePath(ImagesFolder));
    const std::array<std::pair<const QImage*, QString>, 7> pictures{{
        {&images.up, UpImageName},
        {&images.down, DownImageName},
        {&images.on, OnImageName},
        {&images.listThumbUp, skin.list.sliderUpImage},
        {&images.listThumbDown, skin.list.sliderDownImage},
        {&images.timeThumbUp, skin.timeSlider.sliderUpImage},
        {&images.timeThumbDown, skin.timeSlider.sliderDownImage},
    }};
    for (const auto& [image, name] : pictures) {
        if (!writeImage(*image, imagesDir.filePath(name), error))
            return false;
    }
    // The skin file last: a folder with a skin file is a complete skin.
    return writeBytes(skinIniText(skin), dir.filePath(SkinFileName), error);
}

bool writeSkin(const SkinDescription& skin, const QString& folder, QSize imageSize, QString* error)
{
    if (imageSize.width() < 1 || imageSize.height() < 1)
        return fail(error, QStringLiteral("image size %1x%2 is empty").arg(imageSize.width()).arg(imageSize.height()));
    return writeSkinFolder(skin, renderSkin(skin, imageSize), folder, error);
}

} // namespace skinmaker
