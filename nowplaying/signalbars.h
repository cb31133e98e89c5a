// The three signal bars: the two satellites and the terrestrial repeater, in percent.
#pragma once

#include "skin/radioxmcontrols.h"

namespace radio {

// Draws bar i for the strengths rock, roll and ground, each rounded half to even; a value that
// does not fit an integer leaves its bar as it was.
void SignalStrength(skin::RadioXMControls& controls, float rock, float roll, float ground);

} // namespace radio
