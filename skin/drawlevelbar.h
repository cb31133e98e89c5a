// Level bars: a front label sized over a back label in proportion to a value within a range,
// horizontally (growing from the left or the right) or vertically (growing from the bottom).
#pragma once

#include "skin/label.h"

#include <optional>

namespace skin {

// The share of the bar a value fills: |value - minimum| / range, where the range is maximum
// when minimum is 1, else |maximum - minimum|, plus 1 when minimum is above 1. No value for an
// empty range.
std::optional<double> LevelShare(qint32 minimum, qint32 maximum, qint32 value);

// Sizes front over back for value in minimum..maximum. Orientation "H" or "V" (exact case);
// any other orientation leaves both labels as they are. Side "Right" grows a horizontal bar
// from the right edge. The value is not clamped. The bar is only invalidated, not painted at
// once, so no other handler runs in the middle.
void DrawLevelBar(Label& back, Label& front, qint32 minimum, qint32 maximum, qint32 value, const QString& orientation,
                  const QString& side);

} // namespace skin
