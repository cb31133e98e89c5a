// PictureArea: a child window with a retained drawing surface that shows a piece of the skin or
// its own pixels; ImageControl: a windowless picture holder that stretches its picture.
#pragma once

#include "skin/controls.h"

#include <QImage>
#include <QRect>

namespace skin {

// A child window with its own drawing surface: what is drawn into the surface stays there,
// also while the area is hidden or covered, until it is drawn over again. Refresh shows it.
//
// An area that shows a whole piece of a larger image (a button cut from a state surface) keeps
// no pixels of its own: it holds the image, which is implicitly shared, and where the piece lies
// in it, and paints straight from there. Only when something else is drawn into it (a fill, a
// copy that covers part of it, a change of its size) does it take a surface of its own, made
// from the piece it showed.
class PictureArea : public Control {
public:
    PictureArea(QString name, int index, QWidget* container, const TwipsScale& scale);

    Colour BackColor() const { return m_backColor; }
    void setBackColor(Colour colour);

    // What the area shows, in device pixels of its current size. For an area that shows a piece
    // of another image, this is that piece, cut out for the caller alone.
    QImage surface() const;
    // Replaces the surface (used for the window-sized skin surfaces).
    void setSurface(QImage image);
    // Copies a rectangle of another image into the surface at (0, 0), unscaled. A rectangle of
    // an RGB32 image at the area's pixel density that lies wholly inside the image and is exactly
    // the area's size is not copied: the area shows it from the image itself.
    void drawFrom(const QImage& source, const QRect& sourceRect);
    void Refresh();
    // True while the area shows a piece of this image (or of a shallow copy of it) without
    // pixels of its own.
    bool showsPieceOf(const QImage& image) const;
    // False while the area shows only its back colour.
    bool holdsPixels() const { return !m_image.isNull(); }

    // A loaded picture (the load areas keep the decoded image file here).
    const QImage& Picture() const { return m_picture; }
    void setPicture(QImage picture) { m_picture = std::move(picture); }

    QWidget* container() const;

protected:
    void paint(QPaintEvent* event) override;

private:
    // The surface follows the area's size when it is next used, not at every move: a skin load
    // moves most areas several times before anything is drawn.
    void fitSurface() const;
    // Turns a piece shown from another image into a surface of the area's own.
    void ownSurface();
    QImage filled(QSize size, qreal dpr) const;
    bool showsWholeImage() const { return m_piece == m_image.rect(); }
    QSize surfaceSize(qreal devicePixelRatio) const;

    Colour m_backColor = SystemWindowBackground;
    // The pixels shown are m_piece of m_image (device pixels). While m_piece is the whole image,
    // the image is the area's own surface, although it may still share its pixels. A null
    // image shows the back colour all over.
    mutable QImage m_image;
    mutable QRect m_piece;
    QImage m_picture;
};

// A windowless picture holder that stretches its picture to its rectangle.
class ImageControl : public Control {
public:
    ImageControl(QString name, int index, QWidget* container, const TwipsScale& scale);
    const QImage& Picture() const { return m_picture; }
    void setPicture(QImage picture);

protected:
    void paint(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace skin
