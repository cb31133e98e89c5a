#include "appicon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace skinmaker {

QImage drawAppIcon(const Palette& palette, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side, side); // everything below in units of the icon's side

    // A rounded tile with the skin's button gradient.
    QLinearGradient back(0, 0, 0, 1);
    back.setColorAt(0, palette.buttonTop);
    back.setColorAt(1, palette.buttonBottom);
    p.setBrush(back);
    p.setPen(QPen(palette.buttonBorder, 0.02));
    p.drawRoundedRect(QRectF(0.04, 0.04, 0.92, 0.92), 0.18, 0.18);

    // The waves, from the top right corner towards the dish.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette.glow, 0.045, Qt::SolidLine, Qt::RoundCap));
    for (double r : {0.12, 0.22, 0.32})
        p.drawArc(QRectF(0.80 - r, 0.20 - r, 2 * r, 2 * r), 180 * 16, 90 * 16);

    // The dish: a bowl tilted towards the waves, on a short post.
    QPainterPath bowl;
    bowl.moveTo(0.14, 0.34);
    bowl.quadTo(0.20, 0.70, 0.56, 0.74);
    bowl.closeSubpath();
    p.setPen(QPen(palette.icon, 0.03, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(palette.icon);
    p.drawPath(bowl);
    p.drawLine(QPointF(0.35, 0.54), QPointF(0.52, 0.40));
    p.drawLine(QPointF(0.30, 0.62), QPointF(0.26, 0.84));

    // "XM" in the lower right.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(1, side / 4));
    p.resetTransform();
    p.setFont(font);
    p.setPen(palette.channelNumber);
    p.drawText(QRectF(side * 0.40, side * 0.58, side * 0.50, side * 0.32), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("XM"));
    return image;
}

} // namespace skinmaker
