// The program's icon for desktop menus and media players: the night skin's colours, a dish
// receiving the satellite's waves, and "XM".
#pragma once

#include "palette.h"

#include <QImage>

namespace skinmaker {

// The icon as a square picture of side pixels with a transparent surround.
QImage drawAppIcon(const Palette& palette, int side);

} // namespace skinmaker
