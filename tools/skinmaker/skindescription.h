// A skin as data: every placed element with its rectangle in percent of the window and its
// style. The skin file and the three state images are both produced from this one description,
// so a button is always drawn exactly where the file places it.
#pragma once

#include "palette.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace skinmaker {

// A rectangle in percent: left and width of the container's width, top and height of its height.
struct PercentRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    // The pixel rectangle on an area of the given size; each edge is rounded to the nearest
    // pixel, as a loader converting percent to pixels does.
    QRect toPixels(QSize area) const;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
};

// The three state images, in the order the program numbers the states.
enum class ButtonState { Up = 0, Down = 1, On = 2 };
inline constexpr std::array<ButtonState, 3> AllButtonStates{ButtonState::Up, ButtonState::Down, ButtonState::On};

enum class Alignment { Left, Centre, Right };

struct TextStyle {
    QString font;
    double fontSize = 10; // points at the skin's design height
    bool allowResize = true;
    QColor colour;
    Alignment align = Alignment::Left;
    bool bold = false;
    bool italic = false;
    bool underlined = false;
};

enum class FaceKind { Button, VerticalTrack, HorizontalTrack };
enum class Icon { None, Power, Speaker, SpeakerMuted, Minus, Plus, Play, ArrowUp, ArrowDown };

// One area that the program cuts from the state images: a button, a scroll button, a track.
struct ButtonFace {
    QString name; // the skin section (or key prefix) that places it
    PercentRect rect;
    FaceKind kind = FaceKind::Button;
    Icon icon = Icon::None;
    Icon onIcon = Icon::None; // the icon of the on state; None: the same as icon
    QString caption;          // static caption drawn on the face
    double captionSize = 11;  // its font's pixel size at the design height
    // Where the caption stands, in percent of the face; empty: at the top of a face without an
    // icon, below the icon otherwise.
    PercentRect captionBox;
};

// A text section: places one element and styles one label.
struct TextElement {
    QString section;
    PercentRect rect;
    TextStyle style;
    QString extraKey; // "Suffix" (Volume) or "Format" (Time, Date); empty for the others
    QString extraValue;
    QString sample; // what the program typically shows there; used by the preview only
};

struct SignalBar {
    QString section; // "Rock", "Roll", "Ground"
    PercentRect rect;
    QColor back;   // the empty part of the bar
    QColor status; // the filled part
    QString orientation;
    QString caption; // drawn into the background beside the bar
    PercentRect captionRect;
};

struct PresetLabel {
    PercentRect rect; // percent of the preset button, not of the window
    TextStyle style;  // colour is the caption colour while the button is up
    QColor downColour;
    QColor onColour;
    int backColour = -1; // below 0: transparent
};

struct Preset {
    ButtonFace face;
    PresetLabel label;
};

struct ChannelList {
    PercentRect area;
    ButtonFace track;
    ButtonFace scrollUp;
    ButtonFace scrollDown;
    double sliderWidth = 0;  // percent of the window's width
    double sliderHeight = 0; // percent of the window's height
    QString sliderUpImage;
    QString sliderDownImage;
    TextStyle rowStyle;
    QColor selectedBack;
};

struct TimeSlider {
    ButtonFace bar;
    double sliderWidth = 0;
    double sliderHeight = 0;
    QString sliderUpImage;
    QString sliderDownImage;
};

struct SkinDescription {
    Palette palette;
    int defaultWidth = 800;
    int defaultHeight = 480;
    std::vector<ButtonFace> buttons; // Exit, VolumeMute, Tune, VolumeDown, VolumeUp
    std::vector<TextElement> texts;  // in the order of the skin file
    std::array<SignalBar, 3> signalBars;
    std::array<Preset, 3> presets;
    ChannelList list;
    TimeSlider timeSlider;
    // The background's raised cards, then its recessed wells, each painted in this order under
    // whatever lies on it.
    std::vector<PercentRect> cards;
    std::vector<PercentRect> wells;
};

// Left edge and width of the five list columns, as fractions of the list's width: where the
// program puts the columns, so the background can mark the gaps between them.
struct ListColumn {
    double left;
    double width;
};
inline constexpr std::array<ListColumn, 5> ListColumns{
    {{0.0, 0.07}, {0.08, 0.22}, {0.31, 0.24}, {0.56, 0.23}, {0.80, 0.20}}};

// The layouts, both at the 800 x 480 design size. Classic: ten list rows and compact controls,
// for larger panels or whoever wants many rows at a glance. Drive: read and touched at arm's
// length on a 7-inch panel while driving: four list rows, texts with capitals of at least 21
// pixels, every button at least 60 pixels high and 12 pixels from the next, and the power button
// alone in the top right corner, far from the presets and the volume.
enum class Layout { Classic, Drive };

// "classic" or "drive", in any letter case; nothing for any other name.
std::optional<Layout> layoutByName(const QString& name);

SkinDescription describeSkin(const Palette& palette, Layout layout = Layout::Classic);

// Every area that has a face in the three state images: the five buttons, the three presets,
// the scroll buttons, the list's track and the time bar.
std::vector<ButtonFace> allFaces(const SkinDescription& skin);

const TextElement* findText(const SkinDescription& skin, const QString& section);

} // namespace skinmaker
