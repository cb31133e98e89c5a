// What the skin on screen gives the rest of the window: its name, its design size and font
// scale, the list's rows, the presets' caption colours and the texts it sets. The skin loader
// owns it and writes it when a skin is applied; the other parts read it.
#pragma once

#include <QString>
#include <array>

namespace skin {

struct SkinState {
    // The skin the next load reads: a folder under Skins, or the empty name for Skins itself.
    QString CurrentSkin;
    bool LoadingSkin = false;
    qint16 SkinDesignWidth = 0;
    qint16 SkinDesignHeight = 0;
    float FontScale = 1.0f;
    // The list's rows are 0..VisibleItems.
    qint16 VisibleItems = 0;
    // Preset caption colours by preset (0..2) and state (up, down, on).
    std::array<std::array<double, 3>, 3> PresetColour{};
    QString VolumeSuffix, TimeFormat, DateFormat;
};

} // namespace skin
