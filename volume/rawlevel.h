// A control's own range of raw values (0..31 on many bare cards, 0..65536 on a sound server)
// mapped onto the 0..65535 scale of the window's levels, and back.
#pragma once

#include <QtGlobal>

namespace volume {

// Maps a value of a control's own range onto 0..FullScale and back, rounding to the nearest.
// A level above full scale is taken as full scale; an empty range gives 0.
qint32 ToFullScale(long raw, long minimum, long maximum);
long FromFullScale(qint32 level, long minimum, long maximum);

// The raw value that a level written over a control now holding raw sets: the nearest one, but
// a level above the control's present level moves it at least one raw step up, and one below at
// least one step down, within its range. On a control with fewer steps than the volume buttons'
// 1 % steps the nearest value is often the present one, and a press would change nothing.
long RawForLevel(qint32 level, long raw, long minimum, long maximum);

} // namespace volume
