// Reading a skin aside: radio_xm.ini and its pictures into a LoadedSkin, with every value
// converted and every picture decoded, and nothing on screen touched. A skin that fails here
// leaves the window's skin as it was.
#pragma once

#include "skin/controls.h"
#include "skin/loadedskin.h"
#include "skin/stateimages.h"

#include <QString>

namespace skin {

// The window a skin is read for.
struct SkinTarget {
    QString folder;              // the skin's folder
    float width = 0, height = 0; // the window, in twips
    TwipsScale scale;
};

// Reads the skin in target.folder, with the state images of images. The first value that does
// not convert or picture that does not load fails the read with a SkinError naming the file, the
// section and the key, in the order the loader applies them.
LoadedSkin ReadSkin(const SkinTarget& target, StateImageWork& images);

} // namespace skin
