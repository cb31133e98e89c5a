// The colours of a skin: one palette for daylight (light, high contrast in sunlight) and one for
// the night (dark, low glare, dim accent). Every colour the painter and the skin file use is here.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace skinmaker {

struct Palette {
    QString name; // "day" or "night"

    // Window and panels.
    QColor windowTop, windowBottom;
    QColor panel, panelBorder;
    QColor well, wellBorder; // recessed boxes: the artist-title line, the volume read-out
    QColor separator;        // thin lines between the list's columns

    // Texts.
    QColor text, textDim, caption, channelNumber, artistTitle;

    // Button faces in their three states.
    QColor buttonTop, buttonBottom, buttonBorder, buttonHighlight, icon;
    QColor pressedTop, pressedBottom, pressedBorder, pressedIcon;
    QColor onTop, onBottom, onBorder, onIcon, glow;

    // Tracks of the list scroll bar and the time bar, and their thumbs.
    QColor groove, pressedGroove, onGroove;
    QColor thumbTop, thumbBottom, thumbBorder, thumbGrip;
    QColor heldThumbTop, heldThumbBottom, heldThumbBorder, heldThumbGrip;

    // The channel list and the signal bars.
    QColor listBack, listText, listSelectedBack;
    QColor signalBack, signalLevel;

    // Preset captions by state.
    QColor presetUp, presetDown, presetOn;
};

Palette dayPalette();
Palette nightPalette();

// "day" or "night", in any letter case; nothing for any other name.
std::optional<Palette> paletteByName(const QString& name);

} // namespace skinmaker
