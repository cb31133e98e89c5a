// Paints a skin's pictures: the whole window in the up, down and on state, and the thumbs of
// the list's scroll bar and the time bar. Outside the button faces the three state images are
// identical, so a button's face can be cut from any of them by its rectangle alone.
#pragma once

#include "skindescription.h"

#include <QImage>
#include <QSize>

namespace skinmaker {

struct SkinImages {
    QImage up;
    QImage down;
    QImage on;
    QImage listThumbUp;
    QImage listThumbDown;
    QImage timeThumbUp;
    QImage timeThumbDown;

    const QImage& state(ButtonState s) const;
};

// The whole window, size pixels large, with every face drawn in the given state.
QImage paintStateImage(const SkinDescription& skin, ButtonState state, QSize size);

// The thumb pictures at the size they take on a window of the given size.
QImage paintListThumb(const SkinDescription& skin, bool held, QSize windowSize);
QImage paintTimeThumb(const SkinDescription& skin, bool held, QSize windowSize);

SkinImages renderSkin(const SkinDescription& skin, QSize size);

} // namespace skinmaker
