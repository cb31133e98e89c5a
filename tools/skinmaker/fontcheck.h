// Checks that the fonts a skin names are installed, so that a skin is not drawn and previewed
// in a substitute font without anyone noticing.
#pragma once

#include "skindescription.h"

#include <QStringList>

namespace skinmaker {

// The font families the skin uses that this system does not have; each is logged once.
QStringList missingFonts(const SkinDescription& skin);

} // namespace skinmaker
