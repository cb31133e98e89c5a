// A skin read for one window size: every value of radio_xm.ini converted, in twips and colours,
// and every picture decoded. Nothing of it is on screen until the loader applies it whole.
#pragma once

#include "skin/controls.h"
#include "skin/label.h"
#include "skin/skinfile.h"

#include <QImage>
#include <QString>
#include <array>
#include <optional>

namespace skin {

// A control's rectangle in twips.
struct Place {
    float Left = 0, Top = 0, Width = 0, Height = 0;
};

struct FontStyle {
    QString name;
    float points = 0; // scaled with the window where the skin allows it
    bool bold = false, italic = false, underline = false;
};

struct TextStyle {
    Place place;
    FontStyle font;
    Colour fore = 0;
    std::optional<Alignment> align; // none leaves the label's alignment as it is
};

struct SignalStyle {
    Place place;
    Colour back = 0;
    QString orientation;
    Colour level = 0;
};

struct PresetStyle {
    Place button;
    Place caption; // in twips, from percent of the button
    FontStyle font;
    std::array<double, 3> colours{}; // up, down, on
    std::optional<Colour> back;      // none: transparent
    std::optional<Alignment> align;
    Colour fore = 0;
};

struct ListStyle {
    Place list, sliderArea, scrollUp, scrollDown;
    float thumbWidth = 0, thumbHeight = 0;
    FontStyle font;
    Colour fore = 0, selectedBack = 0;
};

struct TimeBarStyle {
    Place bar;
    float thumbWidth = 0, thumbHeight = 0;
};

// A state image at the window's size, and the size its load area takes (the file's, in twips).
struct StatePicture {
    QImage surface;
    float loadWidth = 0, loadHeight = 0;
};

struct LoadedSkin {
    QString path; // radio_xm.ini, for messages
    float windowWidth = 0, windowHeight = 0;
    qint16 designWidth = 0, designHeight = 0;
    float fontScale = 1.0f;
    std::array<Place, ButtonCount> buttons;
    std::array<TextStyle, TextSectionCount> texts;
    QString volumeSuffix, timeFormat, dateFormat;
    std::array<SignalStyle, 3> signalBars;
    std::array<PresetStyle, 3> presets;
    ListStyle list;
    TimeBarStyle timeBar;
    QImage listThumbUp, listThumbDown, timeThumbUp, timeThumbDown;
    std::array<StatePicture, 3> states; // up, down, on
};

} // namespace skin
