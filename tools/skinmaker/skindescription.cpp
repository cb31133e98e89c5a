// The layouts of the default skins, drawn up in pixels of the 800 x 480 design window and held in
// percent, the unit of the skin file. Both layouts are made of the same parts in the same styles;
// a layout's table says only where its parts stand and how large their texts are.
#include "skindescription.h"

#include <algorithm>
#include <cmath>

namespace skinmaker {

namespace {

constexpr double DesignWidth = 800;
constexpr double DesignHeight = 480;

const QString Sans = QStringLiteral("DejaVu Sans");
const QString Condensed = QStringLiteral("DejaVu Sans Condensed");

// The skin file holds four decimals; the drawing uses the very same rounded values.
double roundPercent(double value)
{
    return std::round(value * 10000.0) / 10000.0;
}

// A rectangle in design pixels: left, top, width, height.
struct Box {
    double x, y, w, h;
};

PercentRect design(Box b)
{
    return {roundPercent(b.x * 100 / DesignWidth), roundPercent(b.y * 100 / DesignHeight),
            roundPercent(b.w * 100 / DesignWidth), roundPercent(b.h * 100 / DesignHeight)};
}

// The smallest rectangle that holds all the given ones, grown by design pixels on each side.
PercentRect around(std::initializer_list<PercentRect> rects, double left, double top, double right, double bottom)
{
    double x0 = 100, y0 = 100, x1 = 0, y1 = 0;
    for (const PercentRect& r : rects) {
        x0 = std::min(x0, r.left);
        y0 = std::min(y0, r.top);
        x1 = std::max(x1, r.right());
        y1 = std::max(y1, r.bottom());
    }
    x0 -= left * 100 / DesignWidth;
    y0 -= top * 100 / DesignHeight;
    x1 += right * 100 / DesignWidth;
    y1 += bottom * 100 / DesignHeight;
    return {x0, y0, x1 - x0, y1 - y0};
}

TextStyle style(const QString& font, double size, const QColor& colour, Alignment align = Alignment::Left)
{
    TextStyle s;
    s.font = font;
    s.fontSize = size;
    s.colour = colour;
    s.align = align;
    return s;
}

// A text's look; its size comes from the layout.
TextStyle look(const QString& font, const QColor& colour, Alignment align = Alignment::Left)
{
    return style(font, 0, colour, align);
}

TextStyle bold(TextStyle s)
{
    s.bold = true;
    return s;
}

TextStyle italic(TextStyle s)
{
    s.italic = true;
    return s;
}

ButtonFace button(const QString& name, Box box, Icon icon, const QString& caption = {})
{
    ButtonFace face;
    face.name = name;
    face.rect = design(box);
    face.icon = icon;
    face.caption = caption;
    return face;
}

ButtonFace track(const QString& name, Box box, FaceKind kind)
{
    ButtonFace face;
    face.name = name;
    face.rect = design(box);
    face.kind = kind;
    return face;
}

// ---- what a layout decides ----------------------------------------------------------------

// A text's place and its font size in points at the design height.
struct TextPlace {
    Box box;
    double size;
};

// Where a layout puts every part, in design pixels, and how large it makes the texts.
struct Places {
    Box exit, mute, tune, volumeDown, volumeUp;
    double tuneCaptionSize;

    TextPlace artistTitle, artist, station, title, channel, genre, currentTime, totalTime, volume, time, date;

    // The signal bars: one row each, pitch apart, a caption and its bar side by side.
    double signalTop, signalPitch, signalRowHeight;
    double signalCaptionLeft, signalCaptionWidth, signalBarLeft;

    // The presets: in one row, pitch apart; the label in percent of the button.
    Box firstPreset;
    double presetPitch;
    PercentRect presetLabel;
    double presetLabelSize;
    bool presetCaptionIsNumber; // "1" instead of "PRESET 1"
    double presetCaptionSize;
    PercentRect presetCaptionBox;

    Box list, scrollUp, listTrack, scrollDown;
    double listThumbWidth, listThumbHeight, listTextSize;

    Box timeBar;
};

// The signal bars and the time bar's thumb are the same size in both layouts.
constexpr double SignalBarWidth = 96;
constexpr double SignalBarHeight = 10;
constexpr double TimeThumbSize = 16;

// Bottom row: every button at least 60 of 480 pixels high, about 9 mm on a 7-inch screen.
constexpr double ClassicRowTop = 404;
constexpr double ClassicRowHeight = 68;

const Places Classic{
    .exit = {8, ClassicRowTop, 72, ClassicRowHeight},
    .mute = {516, ClassicRowTop, 72, ClassicRowHeight},
    .tune = {412, ClassicRowTop, 88, ClassicRowHeight},
    .volumeDown = {604, ClassicRowTop, 64, ClassicRowHeight},
    .volumeUp = {728, ClassicRowTop, 64, ClassicRowHeight},
    .tuneCaptionSize = 11,

    .artistTitle = {{200, 345, 576, 20}, 12},
    .artist = {{196, 264, 584, 24}, 13},
    .station = {{196, 234, 584, 28}, 15},
    .title = {{196, 290, 584, 24}, 13},
    .channel = {{16, 234, 152, 52}, 30},
    .genre = {{196, 316, 380, 22}, 11},
    .currentTime = {{196, 373, 60, 20}, 11},
    .totalTime = {{716, 373, 64, 20}, 11},
    .volume = {{670, 427, 56, 22}, 13},
    .time = {{588, 316, 92, 22}, 11},
    .date = {{684, 316, 96, 22}, 11},

    .signalTop = 302,
    .signalPitch = 30,
    .signalRowHeight = 20,
    .signalCaptionLeft = 16,
    .signalCaptionWidth = 50,
    .signalBarLeft = 70,

    .firstPreset = {96, ClassicRowTop, 96, ClassicRowHeight},
    .presetPitch = 102,
    .presetLabel = {4, 40, 92, 52},
    .presetLabelSize = 15,
    .presetCaptionIsNumber = false,
    .presetCaptionSize = 11,
    .presetCaptionBox = {},

    .list = {14, 12, 716, 204},
    .scrollUp = {740, 8, 52, 62},
    .listTrack = {750, 74, 32, 80},
    .scrollDown = {740, 158, 52, 62},
    .listThumbWidth = 32,
    .listThumbHeight = 28,
    .listTextSize = 12,

    .timeBar = {264, 375, 444, 16},
};

// Texts a driver reads at 23 points or more: DejaVu's capitals are then 22 pixels high at 800 x
// 480, and a list row, one line of its font, 37 pixels. The list spans the window: its first
// column, 7 % of its width, must hold a three-digit channel number at that size. So the list's
// scroll buttons and track stand beside the now-playing texts below it, and the power button
// has the top right corner to itself.
constexpr double DriveRowTop = 406;
constexpr double DriveRowHeight = 66;

const Places Drive{
    .exit = {728, 4, 64, 60},
    .mute = {516, DriveRowTop, 64, DriveRowHeight},
    .tune = {420, DriveRowTop, 80, DriveRowHeight},
    .volumeDown = {596, DriveRowTop, 64, DriveRowHeight},
    .volumeUp = {728, DriveRowTop, 64, DriveRowHeight},
    .tuneCaptionSize = 14,

    .artistTitle = {{18, 336, 628, 36}, 23},
    .artist = {{12, 240, 640, 36}, 23},
    .station = {{144, 18, 412, 38}, 23},
    .title = {{12, 288, 640, 36}, 23},
    .channel = {{12, 10, 120, 54}, 30},
    .genre = {{420, 378, 110, 18}, 11},
    .currentTime = {{12, 378, 48, 18}, 11},
    .totalTime = {{360, 378, 48, 18}, 11},
    .volume = {{662, 427, 64, 28}, 16},
    .time = {{536, 378, 42, 18}, 11},
    .date = {{580, 378, 72, 18}, 11},

    .signalTop = 9,
    .signalPitch = 18,
    .signalRowHeight = 18,
    .signalCaptionLeft = 568,
    .signalCaptionWidth = 44,
    .signalBarLeft = 616,

    .firstPreset = {8, DriveRowTop, 124, DriveRowHeight},
    .presetPitch = 136,
    .presetLabel = {30, 21, 66, 58},
    .presetLabelSize = 23,
    .presetCaptionIsNumber = true,
    .presetCaptionSize = 30,
    .presetCaptionBox = {0, 0, 30, 100},

    .list = {10, 76, 780, 150},
    .scrollUp = {668, 240, 64, 66},
    .listTrack = {744, 240, 48, 144},
    .scrollDown = {668, 318, 64, 66},
    .listThumbWidth = 48,
    .listThumbHeight = 44,
    .listTextSize = 23,

    .timeBar = {66, 379, 288, 16},
};

// ---- the parts, in the shared styles --------------------------------------------------------

std::vector<ButtonFace> describeButtons(const Places& at)
{
    ButtonFace mute = button(QStringLiteral("VolumeMute"), at.mute, Icon::Speaker);
    mute.onIcon = Icon::SpeakerMuted;
    ButtonFace tune = button(QStringLiteral("Tune"), at.tune, Icon::Play, QStringLiteral("TUNE"));
    tune.captionSize = at.tuneCaptionSize;
    return {
        button(QStringLiteral("Exit"), at.exit, Icon::Power),
        mute,
        tune,
        button(QStringLiteral("VolumeDown"), at.volumeDown, Icon::Minus),
        button(QStringLiteral("VolumeUp"), at.volumeUp, Icon::Plus),
    };
}

TextElement text(const QString& section, const TextPlace& place, TextStyle s, const QString& sample)
{
    TextElement t;
    t.section = section;
    t.rect = design(place.box);
    s.fontSize = place.size;
    t.style = std::move(s);
    t.sample = sample;
    return t;
}

TextElement withExtra(TextElement t, const QString& key, const QString& value)
{
    t.extraKey = key;
    t.extraValue = value;
    return t;
}

std::vector<TextElement> describeTexts(const Palette& p, const Places& at)
{
    const auto centre = Alignment::Centre;
    const auto right = Alignment::Right;
    return {
        text(QStringLiteral("ArtistTrackTitle"), at.artistTitle, look(Condensed, p.artistTitle),
             QStringLiteral("Harbour Lights - Evening on the Pier")),
        text(QStringLiteral("Artist"), at.artist, look(Sans, p.text), QStringLiteral("Harbour Lights")),
        text(QStringLiteral("StationName"), at.station, bold(look(Sans, p.text)), QStringLiteral("Coastline Classics")),
        text(QStringLiteral("TrackTitle"), at.title, look(Sans, p.text), QStringLiteral("Evening on the Pier")),
        text(QStringLiteral("ChannelNumber"), at.channel, bold(look(Condensed, p.channelNumber, centre)),
             QStringLiteral("025")),
        text(QStringLiteral("Genre"), at.genre, italic(look(Condensed, p.textDim)), QStringLiteral("Soft Rock")),
        text(QStringLiteral("CurrentTrackTime"), at.currentTime, look(Condensed, p.text, right),
             QStringLiteral("1:42")),
        text(QStringLiteral("TotalTrackTime"), at.totalTime, look(Condensed, p.textDim), QStringLiteral("4:05")),
        withExtra(
            text(QStringLiteral("Volume"), at.volume, bold(look(Condensed, p.text, centre)), QStringLiteral("65%")),
            QStringLiteral("Suffix"), QStringLiteral("%")),
        // The program leaves the time and the date empty; their places sit on the plain card.
        withExtra(text(QStringLiteral("Time"), at.time, look(Condensed, p.textDim, right), {}),
                  QStringLiteral("Format"), QStringLiteral("hh:nn")),
        withExtra(text(QStringLiteral("Date"), at.date, look(Condensed, p.textDim, right), {}),
                  QStringLiteral("Format"), QStringLiteral("dd/mm/yyyy")),
    };
}

std::array<SignalBar, 3> describeSignalBars(const Palette& p, const Places& at)
{
    const std::array<QString, 3> sections{QStringLiteral("Rock"), QStringLiteral("Roll"), QStringLiteral("Ground")};
    const std::array<QString, 3> captions{QStringLiteral("SAT 1"), QStringLiteral("SAT 2"), QStringLiteral("TER")};
    std::array<SignalBar, 3> bars;
    for (int i = 0; i < 3; ++i) {
        const double y = at.signalTop + at.signalPitch * i;
        bars[i].section = sections[i];
        bars[i].rect =
            design({at.signalBarLeft, y + (at.signalRowHeight - SignalBarHeight) / 2, SignalBarWidth, SignalBarHeight});
        bars[i].back = p.signalBack;
        bars[i].status = p.signalLevel;
        bars[i].orientation = QStringLiteral("H");
        bars[i].caption = captions[i];
        bars[i].captionRect = design({at.signalCaptionLeft, y, at.signalCaptionWidth, at.signalRowHeight});
    }
    return bars;
}

std::array<Preset, 3> describePresets(const Palette& p, const Places& at)
{
    std::array<Preset, 3> presets;
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        Box box = at.firstPreset;
        box.x += at.presetPitch * i;
        ButtonFace& face = presets[i].face;
        face = button(QStringLiteral("Preset") + n, box, Icon::None,
                      at.presetCaptionIsNumber ? n : QStringLiteral("PRESET ") + n);
        face.captionSize = at.presetCaptionSize;
        face.captionBox = at.presetCaptionBox;
        PresetLabel& label = presets[i].label;
        label.rect = at.presetLabel;
        label.style = bold(style(Condensed, at.presetLabelSize, p.presetUp, Alignment::Centre));
        label.downColour = p.presetDown;
        label.onColour = p.presetOn;
        label.backColour = -1;
    }
    return presets;
}

ChannelList describeList(const Palette& p, const Places& at)
{
    ChannelList list;
    list.area = design(at.list);
    list.scrollUp = button(QStringLiteral("ScrollUp"), at.scrollUp, Icon::ArrowUp);
    list.track = track(QStringLiteral("SliderArea"), at.listTrack, FaceKind::VerticalTrack);
    list.scrollDown = button(QStringLiteral("ScrollDown"), at.scrollDown, Icon::ArrowDown);
    list.sliderWidth = roundPercent(at.listThumbWidth * 100 / DesignWidth);
    list.sliderHeight = roundPercent(at.listThumbHeight * 100 / DesignHeight);
    list.sliderUpImage = QStringLiteral("ListThumbUp.png");
    list.sliderDownImage = QStringLiteral("ListThumbDown.png");
    list.rowStyle = style(Condensed, at.listTextSize, p.listText);
    list.selectedBack = p.listSelectedBack;
    return list;
}

TimeSlider describeTimeSlider(const Places& at)
{
    TimeSlider slider;
    slider.bar = track(QStringLiteral("TimeSlider"), at.timeBar, FaceKind::HorizontalTrack);
    slider.sliderWidth = roundPercent(TimeThumbSize * 100 / DesignWidth);
    slider.sliderHeight = roundPercent(TimeThumbSize * 100 / DesignHeight);
    slider.sliderUpImage = QStringLiteral("TimeThumbUp.png");
    slider.sliderDownImage = QStringLiteral("TimeThumbDown.png");
    return slider;
}

PercentRect textRect(const SkinDescription& skin, const char* section)
{
    const TextElement* t = findText(skin, QString::fromLatin1(section));
    return t ? t->rect : PercentRect{};
}

// Classic: the list with its scroll buttons on one card; below it two cards of one height, the
// channel number with the signal bars and the now-playing texts with the time bar.
void classicBackground(SkinDescription& skin)
{
    const ChannelList& list = skin.list;
    skin.cards.push_back(around({list.area, list.scrollUp.rect, list.track.rect, list.scrollDown.rect}, 4, 3, 4, 3));
    PercentRect left = textRect(skin, "ChannelNumber");
    for (const SignalBar& bar : skin.signalBars)
        left = around({left, bar.rect, bar.captionRect}, 0, 0, 0, 0);
    PercentRect right = skin.timeSlider.bar.rect;
    for (const char* section : {"StationName", "Artist", "TrackTitle", "Genre", "Time", "Date", "ArtistTrackTitle",
                                "CurrentTrackTime", "TotalTrackTime"})
        right = around({right, textRect(skin, section)}, 0, 0, 0, 0);
    const PercentRect both = around({left, right}, 0, 8, 0, 6);
    skin.cards.push_back(around({{left.left, both.top, left.width, both.height}}, 8, 0, 10, 0));
    skin.cards.push_back(around({{right.left, both.top, right.width, both.height}}, 12, 0, 12, 0));
    skin.wells.push_back(around({textRect(skin, "ArtistTrackTitle")}, 6, 3, 6, 3));
    skin.wells.push_back(around({textRect(skin, "Volume")}, -1, 9, -1, 9));
}

// Drive: a card for the tuned channel's head line, one for the list, one for what plays with
// the list's scroll buttons; the power button stands alone on the window.
void driveBackground(SkinDescription& skin)
{
    PercentRect head = around({textRect(skin, "ChannelNumber"), textRect(skin, "StationName")}, 0, 0, 0, 0);
    for (const SignalBar& bar : skin.signalBars)
        head = around({head, bar.rect, bar.captionRect}, 0, 0, 0, 0);
    skin.cards.push_back(around({head}, 8, 6, 4, 2));
    skin.cards.push_back(around({skin.list.area}, 4, 3, 4, 3));
    const ChannelList& list = skin.list;
    skin.cards.push_back(around(
        {textRect(skin, "Artist"), textRect(skin, "Date"), list.scrollUp.rect, list.track.rect, list.scrollDown.rect},
        8, 6, 4, 4));
    skin.wells.push_back(around({textRect(skin, "ArtistTrackTitle")}, 6, 2, 6, 2));
    skin.wells.push_back(around({textRect(skin, "Volume")}, 0, 17, 0, 14));
}

} // namespace

QRect PercentRect::toPixels(QSize area) const
{
    const int x0 = int(std::lround(left * area.width() / 100));
    const int y0 = int(std::lround(top * area.height() / 100));
    const int x1 = int(std::lround(right() * area.width() / 100));
    const int y1 = int(std::lround(bottom() * area.height() / 100));
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

std::optional<Layout> layoutByName(const QString& name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("classic"))
        return Layout::Classic;
    if (lower == QLatin1String("drive"))
        return Layout::Drive;
    return std::nullopt;
}

SkinDescription describeSkin(const Palette& palette, Layout layout)
{
    const Places& at = layout == Layout::Drive ? Drive : Classic;
    SkinDescription skin;
    skin.palette = palette;
    skin.defaultWidth = int(DesignWidth);
    skin.defaultHeight = int(DesignHeight);
    skin.buttons = describeButtons(at);
    skin.texts = describeTexts(palette, at);
    skin.signalBars = describeSignalBars(palette, at);
    skin.presets = describePresets(palette, at);
    skin.list = describeList(palette, at);
    skin.timeSlider = describeTimeSlider(at);
    if (layout == Layout::Drive)
        driveBackground(skin);
    else
        classicBackground(skin);
    return skin;
}

std::vector<ButtonFace> allFaces(const SkinDescription& skin)
{
    std::vector<ButtonFace> faces = skin.buttons;
    for (const Preset& preset : skin.presets)
        faces.push_back(preset.face);
    faces.push_back(skin.list.scrollUp);
    faces.push_back(skin.list.scrollDown);
    faces.push_back(skin.list.track);
    faces.push_back(skin.timeSlider.bar);
    return faces;
}

const TextElement* findText(const SkinDescription& skin, const QString& section)
{
    for (const TextElement& t : skin.texts) {
        if (t.section == section)
            return &t;
    }
    return nullptr;
}

} // namespace skinmaker
