#include "firstpicture.h"

#include <QPaintEvent>
#include <QPainter>

namespace app {

FirstPicture::FirstPicture(QWidget& window, QImage picture)
    : QWidget(&window)
    , m_picture(std::move(picture))
{
    // Opaque and on top: nothing beneath it is painted, so the first picture needs no fonts.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(window.rect());
    raise();
    show();
}

void FirstPicture::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    const qreal dpr = m_picture.devicePixelRatio();
    p.drawImage(r, m_picture, QRectF(QPointF(r.topLeft()) * dpr, QSizeF(r.size()) * dpr));
}

} // namespace app
