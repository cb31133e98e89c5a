// A picture of the skin as the program would show it: the up image with sample texts at the
// label rectangles in the skin's fonts and colours, a filled channel list, the signal bars and
// the thumbs, so that a layout can be judged without running the program.
#pragma once

#include "skindescription.h"
#include "skinpainter.h"

#include <QImage>

namespace skinmaker {

// Font size in pixels of a label on a window of the given height: points at 96 dots per inch,
// scaled with the window's height when the style allows it.
double fontPixelSize(const TextStyle& style, int defaultHeight, int windowHeight);

// Height of one list row in pixels on a window of the given height, and how many rows fit.
int listRowHeight(const SkinDescription& skin, QSize windowSize);
int listRowCount(const SkinDescription& skin, QSize windowSize);

QImage paintPreview(const SkinDescription& skin, const SkinImages& images);

} // namespace skinmaker
