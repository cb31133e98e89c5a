// PictureArea: an area that paints a piece of the skin or its own surface; ImageControl: a
// windowless picture holder that stretches its picture to its rectangle.
#include "picturearea.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <utility>

namespace skin {

PictureArea::PictureArea(QString name, int index, QWidget* container, const TwipsScale& scale)
    : Control(std::move(name), index, new ControlWidget(container, scale), scale)
{
    widget()->windowed = true;
    // Not marked opaque, although it paints every pixel: with many opaque children Qt spends
    // more on working out what they cover than on painting the few pixels beneath them.
    widget()->show();
}

QWidget* PictureArea::container() const
{
    return widget();
}

void PictureArea::paint(QPaintEvent* event)
{
    const QRect r = event->rect();
    QPainter p(widget());
    if (m_image.isNull()) {
        p.fillRect(r, toQColor(m_backColor));
        return;
    }
    fitSurface();
    const qreal dpr = m_image.devicePixelRatio();
    p.drawImage(r, m_image, QRectF(QPointF(m_piece.topLeft()) + QPointF(r.topLeft()) * dpr, QSizeF(r.size()) * dpr));
}

void PictureArea::setBackColor(Colour colour)
{
    // The fill covers everything: the area keeps no pixels until something is drawn into it.
    m_backColor = colour;
    m_image = QImage();
    m_piece = QRect();
    widget()->update();
}

QImage PictureArea::filled(QSize size, qreal dpr) const
{
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(toQColor(m_backColor));
    return image;
}

QImage PictureArea::surface() const
{
    if (m_image.isNull())
        return filled(surfaceSize(widget()->devicePixelRatioF()), widget()->devicePixelRatioF());
    fitSurface();
    if (showsWholeImage())
        return m_image;
    QImage piece = m_image.copy(m_piece);
    piece.setDevicePixelRatio(m_image.devicePixelRatio());
    return piece;
}

void PictureArea::setSurface(QImage image)
{
    m_image = std::move(image);
    m_piece = m_image.rect();
    widget()->update();
}

bool PictureArea::showsPieceOf(const QImage& image) const
{
    return !image.isNull() && m_image.cacheKey() == image.cacheKey();
}

void PictureArea::drawFrom(const QImage& source, const QRect& sourceRect)
{
    const qreal dpr = widget()->devicePixelRatioF();
    const QSize wanted = surfaceSize(dpr);
    if (sourceRect.size() == wanted && source.rect().contains(sourceRect) && source.devicePixelRatio() == dpr &&
        source.format() == QImage::Format_RGB32) {
        // Nothing of what was there stays visible: the area shows the piece from the source.
        m_image = source;
        m_piece = sourceRect;
        return;
    }
    if (sourceRect.size() == wanted && m_piece.size() != wanted) {
        // The copy covers the whole surface: nothing of what was there is kept. Where the source
        // is smaller (a skin that never loaded), the rest shows the back colour, not stray memory.
        m_image = QImage(wanted, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(dpr);
        m_piece = m_image.rect();
        if (!source.rect().contains(sourceRect))
            m_image.fill(toQColor(m_backColor));
    }
    if (m_image.isNull()) {
        m_image = filled(wanted, dpr);
        m_piece = m_image.rect();
    }
    fitSurface();
    ownSurface();
    QPainter p(&m_image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(sourceRect.size()) / dpr), source, sourceRect);
}

void PictureArea::Refresh()
{
    // The area paints every pixel of its rectangle, so a repaint of the area alone needs nothing
    // beneath it: marked opaque for just this repaint, Qt skips the background and the window
    // under it, which halves the cost of a button press. Other repaints keep it unmarked.
    widget()->setAttribute(Qt::WA_OpaquePaintEvent, true);
    widget()->repaint();
    widget()->setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QSize PictureArea::surfaceSize(qreal dpr) const
{
    return (QSizeF(pixelRect().size()) * dpr).toSize().expandedTo(QSize(1, 1));
}

void PictureArea::ownSurface()
{
    if (showsWholeImage())
        return;
    QImage piece = m_image.copy(m_piece);
    piece.setDevicePixelRatio(m_image.devicePixelRatio());
    m_image = std::move(piece);
    m_piece = m_image.rect();
}

void PictureArea::fitSurface() const
{
    // What was drawn stays at its place; new parts show the back colour. An area with nothing
    // drawn into it shows only the back colour, at any size.
    const qreal dpr = widget()->devicePixelRatioF();
    const QSize size = surfaceSize(dpr);
    if (m_image.isNull() || (m_piece.size() == size && qFuzzyCompare(m_image.devicePixelRatio(), dpr)))
        return;
    QImage next = filled(size, dpr);
    QPainter p(&next);
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(m_piece.size()) / m_image.devicePixelRatio()), m_image, m_piece);
    p.end();
    m_image = std::move(next);
    m_piece = m_image.rect();
}

// --- ImageControl --------------------------------------------------------------------------

ImageControl::ImageControl(QString name, int index, QWidget* container, const TwipsScale& scale)
    : Control(std::move(name), index, new ControlWidget(container, scale), scale)
{
    widget()->stackAsWindowless();
    widget()->show();
}

void ImageControl::paint(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter p(widget());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(widget()->rect(), m_picture);
}

void ImageControl::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    widget()->update();
}

} // namespace skin
