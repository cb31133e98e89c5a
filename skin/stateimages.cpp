#include "stateimages.h"
#include "skin/logging.h"

#include "skin/jpegstream.h"

#include <QImageReader>
#include <QLoggingCategory>
#include <QPainter>
#include <QThreadPool>

namespace skin {

QImage StretchToWindow(const QImage& picture, QSize size, qreal devicePixelRatio)
{
    size = size.expandedTo(QSize(1, 1));
    QImage surface;
    if (!StretchesBilinearly(picture.size(), size))
        surface =
            picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    else {
        surface = QImage(size, QImage::Format_RGB32);
        QPainter p(&surface);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QRect(QPoint(0, 0), size), picture);
    }
    surface.setDevicePixelRatio(devicePixelRatio);
    return surface;
}

bool StretchesBilinearly(QSize picture, QSize size)
{
    return size.width() * 2 >= picture.width() && size.height() * 2 >= picture.height();
}

QSize JpegDecodeSize(QSize picture, QSize size)
{
    for (const int reduction : {8, 4, 2}) {
        if (picture.width() % reduction == 0 && picture.height() % reduction == 0 &&
            picture.width() / reduction >= size.width() && picture.height() / reduction >= size.height())
            return picture / reduction;
    }
    return picture;
}

namespace {

// Decodes that go through a whole picture take turns: two whole pictures at once would raise the
// program's peak memory by a picture (6 MB at full HD) for a few milliseconds gained. A JPEG
// that stretches bilinearly is never held whole, and needs no turn.
QSemaphore WholePictureTurn(1);

} // namespace

QImage DecodeAtSize(const QString& path, QSize size, qreal devicePixelRatio, QSize* pictureSize, QString* error)
{
    size = size.expandedTo(QSize(1, 1));
    QImageReader reader(path);
    *pictureSize = reader.size().expandedTo(QSize(0, 0));
    const bool jpeg = reader.format() == "jpeg" && pictureSize->isValid();
    const QSize decoded = jpeg ? JpegDecodeSize(*pictureSize, size) : *pictureSize;
    if (jpeg && StretchesBilinearly(decoded, size)) {
        const int reduction = pictureSize->width() / decoded.width();
        if (std::optional<QImage> surface = StreamJpegToSize(path, reduction, size, error)) {
            if (surface->isNull())
                qCWarning(lcSkin).noquote() << *error;
            surface->setDevicePixelRatio(devicePixelRatio);
            return *std::move(surface);
        }
    }
    if (decoded != *pictureSize)
        reader.setScaledSize(decoded);
    const bool wholePicture = decoded != size;
    if (wholePicture)
        WholePictureTurn.acquire();
    const QSemaphoreReleaser turn(wholePicture ? &WholePictureTurn : nullptr);
    QImage image = reader.read();
    if (image.isNull()) {
        *error = QStringLiteral("The skin image %1 cannot be read: %2.").arg(path, reader.errorString());
        qCWarning(lcSkin).noquote() << *error;
        return {};
    }
    if (image.size() != size)
        return StretchToWindow(image, size, devicePixelRatio);
    // Grey or indexed files: the surfaces are RGB32, which the areas show without converting.
    if (image.format() != QImage::Format_RGB32)
        image = std::move(image).convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

// --- StateImageWork ------------------------------------------------------------------------

StateImageWork::StateImageWork(const QString& skinFolder, QSize size, qreal devicePixelRatio)
    : m_folder(skinFolder)
    , m_size(size)
    , m_dpr(devicePixelRatio)
{
    const char* const names[3] = {"Radio_XM_Up.jpg", "Radio_XM_Down.jpg", "Radio_XM_On.jpg"};
    for (int i = 0; i < 3; ++i)
        m_results[size_t(i)].path = skinFolder + QLatin1String("/Images/") + QLatin1String(names[i]);
}

StateImageWork::~StateImageWork()
{
    // The decodes still running write into this object.
    for (int i = 0; i < 3; ++i)
        if (m_started[size_t(i)])
            join(i);
}

void StateImageWork::start(int state)
{
    if (std::exchange(m_started[size_t(state)], true))
        return;
    QThreadPool::globalInstance()->start([this, state] { decode(state); });
}

void StateImageWork::startAll()
{
    for (int i = 0; i < 3; ++i)
        start(i);
}

QString StateImageWork::unreadable() const
{
    for (const Result& result : m_results) {
        QImageReader reader(result.path);
        if (!reader.canRead())
            return QStringLiteral("The skin image %1 cannot be read: %2.").arg(result.path, reader.errorString());
    }
    return {};
}

bool StateImageWork::isFor(const QString& skinFolder, QSize size, qreal devicePixelRatio) const
{
    return m_folder == skinFolder && m_size == size && m_dpr == devicePixelRatio;
}

void StateImageWork::decode(int state)
{
    Result& result = m_results[size_t(state)];
    result.surface = DecodeAtSize(result.path, m_size, m_dpr, &result.pictureSize, &result.error);
    m_done[size_t(state)].release();
}

StateImageWork::Result& StateImageWork::join(int state)
{
    start(state);
    if (!m_joined[size_t(state)]) {
        m_done[size_t(state)].acquire();
        m_joined[size_t(state)] = true;
    }
    return m_results[size_t(state)];
}

} // namespace skin
