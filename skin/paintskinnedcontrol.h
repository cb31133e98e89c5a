// Shows a skinned area in a button state: the area shows the piece of the up, down or on surface
// that lies under it. The piece is not copied: the area paints it from the state surface itself.
#pragma once

#include "skin/picturearea.h"

#include <array>

namespace skin {

struct RadioXMControls;

// The whole-window surface for a state, or nothing for a state that has none.
const PictureArea* SurfaceFor(const RadioXMControls& window, qint16 state);

// Gives the target, unscaled, the piece of a whole-window surface that lies under it when placed
// at (windowLeft, windowTop) of the window (twips), as large as the target.
void CopySurfacePiece(const PictureArea& surface, PictureArea& target, float windowLeft, float windowTop,
                      const TwipsScale& scale);

// Gives the target its rectangle of the state's surface and shows it at once.
// The target lies directly in the window or in the background, which covers the window from
// its top left corner, so its Left and Top are window coordinates. A state without a surface
// paints nothing but still refreshes the target.
void PaintSkinnedControl(const RadioXMControls& window, PictureArea& target, qint16 state, const TwipsScale& scale);

// PaintSkinnedControl for the parts that paint buttons: they hold the window's three state
// surfaces and its scale, not the whole inventory.
class ButtonPainter {
public:
    ButtonPainter(const RadioXMControls& window, const TwipsScale& scale);
    void paint(PictureArea& target, qint16 state) const;

private:
    std::array<const PictureArea*, 3> m_surfaces;
    const TwipsScale& m_scale;
};

} // namespace skin
