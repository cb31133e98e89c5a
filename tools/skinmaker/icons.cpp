// Icon shapes in a unit square (0..1 on both axes), scaled into the box when drawn. Strokes
// use round caps; solid shapes are filled.
#include "icons.h"

#include <QPainterPath>
#include <QTransform>

namespace skinmaker {

namespace {

struct Shape {
    QPainterPath stroked;
    QPainterPath filled;
    double strokeWidth = 0.1; // in units of the box
};

Shape power()
{
    Shape s;
    // A circle open at the top, with the bar standing in the opening.
    s.stroked.arcMoveTo(QRectF(0.16, 0.2, 0.68, 0.68), 60);
    s.stroked.arcTo(QRectF(0.16, 0.2, 0.68, 0.68), 60, -300);
    s.stroked.moveTo(0.5, 0.1);
    s.stroked.lineTo(0.5, 0.5);
    return s;
}

QPainterPath speakerBody(double dx)
{
    QPainterPath body;
    body.moveTo(0.10 + dx, 0.38);
    body.lineTo(0.26 + dx, 0.38);
    body.lineTo(0.48 + dx, 0.18);
    body.lineTo(0.48 + dx, 0.82);
    body.lineTo(0.26 + dx, 0.62);
    body.lineTo(0.10 + dx, 0.62);
    body.closeSubpath();
    return body;
}

Shape speaker()
{
    Shape s;
    s.filled = speakerBody(0.0);
    s.stroked.arcMoveTo(QRectF(0.38, 0.34, 0.24, 0.32), -45);
    s.stroked.arcTo(QRectF(0.38, 0.34, 0.24, 0.32), -45, 90);
    s.stroked.arcMoveTo(QRectF(0.30, 0.20, 0.52, 0.60), -50);
    s.stroked.arcTo(QRectF(0.30, 0.20, 0.52, 0.60), -50, 100);
    s.strokeWidth = 0.075;
    return s;
}

Shape speakerMuted()
{
    Shape s;
    s.filled = speakerBody(0.0);
    s.stroked.moveTo(0.62, 0.36);
    s.stroked.lineTo(0.90, 0.64);
    s.stroked.moveTo(0.90, 0.36);
    s.stroked.lineTo(0.62, 0.64);
    s.strokeWidth = 0.08;
    return s;
}

Shape minus()
{
    Shape s;
    s.stroked.moveTo(0.2, 0.5);
    s.stroked.lineTo(0.8, 0.5);
    s.strokeWidth = 0.12;
    return s;
}

Shape plus()
{
    Shape s = minus();
    s.stroked.moveTo(0.5, 0.2);
    s.stroked.lineTo(0.5, 0.8);
    return s;
}

Shape play()
{
    Shape s;
    s.filled.moveTo(0.30, 0.18);
    s.filled.lineTo(0.82, 0.50);
    s.filled.lineTo(0.30, 0.82);
    s.filled.closeSubpath();
    return s;
}

Shape arrow(bool up)
{
    Shape s;
    const double tip = up ? 0.22 : 0.78;
    const double base = up ? 0.70 : 0.30;
    s.filled.moveTo(0.5, tip);
    s.filled.lineTo(0.86, base);
    s.filled.lineTo(0.14, base);
    s.filled.closeSubpath();
    return s;
}

Shape shapeOf(Icon icon)
{
    switch (icon) {
    case Icon::Power: return power();
    case Icon::Speaker: return speaker();
    case Icon::SpeakerMuted: return speakerMuted();
    case Icon::Minus: return minus();
    case Icon::Plus: return plus();
    case Icon::Play: return play();
    case Icon::ArrowUp: return arrow(true);
    case Icon::ArrowDown: return arrow(false);
    case Icon::None: break;
    }
    return {};
}

} // namespace

void drawIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour)
{
    if (icon == Icon::None)
        return;
    const Shape shape = shapeOf(icon);
    const double side = std::min(box.width(), box.height());
    QTransform toBox;
    toBox.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    toBox.scale(side, side);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!shape.filled.isEmpty()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(toBox.map(shape.filled));
    }
    if (!shape.stroked.isEmpty()) {
        QPen pen(colour, shape.strokeWidth * side, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(toBox.map(shape.stroked));
    }
    painter.restore();
}

} // namespace skinmaker
