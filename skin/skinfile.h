// The skin description radio_xm.ini as plain data: every section and key, read with its type
// code through the settings store. Values that are converted only when applied (numbers,
// switches, font sizes) stay text here, so reading never fails; applying them may.
#pragma once

#include "base/modini.h"

#include <QString>
#include <array>
#include <stdexcept>

namespace skin {

// A skin that cannot be applied: names the file (or image) and what is wrong with it.
class SkinError : public std::runtime_error {
public:
    explicit SkinError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// Left, Top, Width, Height as percent texts.
struct GeometryKeys {
    QString Left, Top, Width, Height;
};

// The style keys shared by text sections, preset labels and the list rows.
struct FontKeys {
    QString Font;
    QString AllowResize;
    QString FontSize;
};

struct SwitchKeys {
    QString Bold, Italic, Underlined;
};

struct TextSection {
    QString name; // section name, for messages
    GeometryKeys geometry;
    FontKeys font;
    float FontColour = 0;
    QString extra; // Suffix of Volume, Format of Time and Date
    QString Align;
    SwitchKeys switches;
};

struct SignalSection {
    QString name;
    GeometryKeys geometry;
    float FontColour = 0;
    QString Orientation;
    float StatusColour = 0;
};

struct PresetSection {
    QString name;      // "Preset1"
    QString labelName; // "Preset1Label"
    GeometryKeys button;
    GeometryKeys label;
    FontKeys font;
    float UpColour = 0, DownColour = 0, OnColour = 0;
    qint16 BackColour = 0;
    QString Align;
    SwitchKeys switches;
};

struct PlaylistSection {
    QString SliderUpImage, SliderDownImage;
    GeometryKeys list;
    GeometryKeys sliderArea;
    QString SliderWidth, SliderHeight;
    GeometryKeys scrollUp, scrollDown;
    FontKeys font;
    float FontColour = 0;
    float SelectedBackColour = 0;
    SwitchKeys switches;
};

struct TimeSliderSection {
    QString SliderUpImage, SliderDownImage;
    GeometryKeys bar;
    QString SliderHeight, SliderWidth;
};

// Button sections in loading order: Exit, VolumeMute, Tune, VolumeDown, VolumeUp.
inline constexpr int ButtonCount = 5;
// Text sections in loading order: ArtistTrackTitle, Artist, StationName, TrackTitle,
// ChannelNumber, Genre, CurrentTrackTime, TotalTrackTime, Volume, Time, Date.
inline constexpr int TextSectionCount = 11;

struct SkinFile {
    QString path;
    qint32 DefaultWidth = 0;
    qint32 DefaultHeight = 0;
    std::array<GeometryKeys, ButtonCount> buttons;
    std::array<TextSection, TextSectionCount> texts;
    std::array<SignalSection, 3> signalBars;
    std::array<PresetSection, 3> presets;
    PlaylistSection playlist;
    TimeSliderSection timeSlider;
};

extern const std::array<const char*, ButtonCount> ButtonSectionNames;
extern const std::array<const char*, TextSectionCount> TextSectionNames;

SkinFile ReadSkinFile(const QString& path, const modIni::IniDocument& doc);

} // namespace skin
