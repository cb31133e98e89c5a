// The button icons, drawn as vector paths so that they stay sharp at any image size.
#pragma once

#include "skindescription.h"

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace skinmaker {

// Draws the icon centred in box, as large as the box's shorter side allows.
void drawIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour);

} // namespace skinmaker
