// The three signal bars: the two satellites and the terrestrial repeater, in percent.
#pragma once

#include "skin/radioxmcontrols.h"

namespace nowplaying {

// The three bars, each a back label and the front label that fills it.
struct SignalBars {
    skin::ControlArray<skin::Label>& lblSignalBack;
    skin::ControlArray<skin::Label>& lblSignalFront;

    static SignalBars of(skin::RadioXMControls& window) { return {window.lblSignalBack, window.lblSignalFront}; }
};

// Draws bar i for the strengths rock, roll and ground, each rounded half to even; a value that
// does not fit an integer leaves its bar as it was.
void SignalStrength(const SignalBars& c, float rock, float roll, float ground);

} // namespace nowplaying
