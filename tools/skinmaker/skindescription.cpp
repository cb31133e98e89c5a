// The default layout of the skins, drawn up in pixels of the 800 x 480 design window and held in
// percent, the unit of the skin file.
#include "skindescription.h"

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

PercentRect design(double x, double y, double w, double h)
{
    return {roundPercent(x * 100 / DesignWidth), roundPercent(y * 100 / DesignHeight),
            roundPercent(w * 100 / DesignWidth), roundPercent(h * 100 / DesignHeight)};
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

ButtonFace button(const QString& name, PercentRect rect, Icon icon, const QString& caption = {})
{
    ButtonFace face;
    face.name = name;
    face.rect = rect;
    face.icon = icon;
    face.caption = caption;
    return face;
}

ButtonFace track(const QString& name, PercentRect rect, FaceKind kind)
{
    ButtonFace face;
    face.name = name;
    face.rect = rect;
    face.kind = kind;
    return face;
}

// Bottom row: every button at least 60 of 480 pixels high, about 9 mm on a 7-inch screen.
constexpr double RowTop = 404;
constexpr double RowHeight = 68;

std::vector<ButtonFace> describeButtons()
{
    ButtonFace mute = button(QStringLiteral("VolumeMute"), design(516, RowTop, 72, RowHeight), Icon::Speaker);
    mute.onIcon = Icon::SpeakerMuted;
    return {
        button(QStringLiteral("Exit"), design(8, RowTop, 72, RowHeight), Icon::Power),
        mute,
        button(QStringLiteral("Tune"), design(412, RowTop, 88, RowHeight), Icon::Play, QStringLiteral("TUNE")),
        button(QStringLiteral("VolumeDown"), design(604, RowTop, 64, RowHeight), Icon::Minus),
        button(QStringLiteral("VolumeUp"), design(728, RowTop, 64, RowHeight), Icon::Plus),
    };
}

TextElement text(const QString& section, PercentRect rect, TextStyle s, const QString& sample)
{
    TextElement t;
    t.section = section;
    t.rect = rect;
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

std::vector<TextElement> describeTexts(const Palette& p)
{
    const auto centre = Alignment::Centre;
    const auto right = Alignment::Right;
    return {
        text(QStringLiteral("ArtistTrackTitle"), design(200, 345, 576, 20), style(Condensed, 12, p.artistTitle),
             QStringLiteral("Harbour Lights - Evening on the Pier")),
        text(QStringLiteral("Artist"), design(196, 264, 584, 24), style(Sans, 13, p.text),
             QStringLiteral("Harbour Lights")),
        text(QStringLiteral("StationName"), design(196, 234, 584, 28), bold(style(Sans, 15, p.text)),
             QStringLiteral("Coastline Classics")),
        text(QStringLiteral("TrackTitle"), design(196, 290, 584, 24), style(Sans, 13, p.text),
             QStringLiteral("Evening on the Pier")),
        text(QStringLiteral("ChannelNumber"), design(16, 234, 152, 52),
             bold(style(Condensed, 30, p.channelNumber, centre)), QStringLiteral("025")),
        text(QStringLiteral("Genre"), design(196, 316, 380, 22), italic(style(Condensed, 11, p.textDim)),
             QStringLiteral("Soft Rock")),
        text(QStringLiteral("CurrentTrackTime"), design(196, 373, 60, 20), style(Condensed, 11, p.text, right),
             QStringLiteral("1:42")),
        text(QStringLiteral("TotalTrackTime"), design(716, 373, 64, 20), style(Condensed, 11, p.textDim),
             QStringLiteral("4:05")),
        withExtra(text(QStringLiteral("Volume"), design(670, 427, 56, 22), bold(style(Condensed, 13, p.text, centre)),
                       QStringLiteral("65%")),
                  QStringLiteral("Suffix"), QStringLiteral("%")),
        // The program leaves the time and the date empty; their places sit on the plain card.
        withExtra(text(QStringLiteral("Time"), design(588, 316, 92, 22), style(Condensed, 11, p.textDim, right), {}),
                  QStringLiteral("Format"), QStringLiteral("hh:nn")),
        withExtra(text(QStringLiteral("Date"), design(684, 316, 96, 22), style(Condensed, 11, p.textDim, right), {}),
                  QStringLiteral("Format"), QStringLiteral("dd/mm/yyyy")),
    };
}

std::array<SignalBar, 3> describeSignalBars(const Palette& p)
{
    const std::array<QString, 3> sections{QStringLiteral("Rock"), QStringLiteral("Roll"), QStringLiteral("Ground")};
    const std::array<QString, 3> captions{QStringLiteral("SAT 1"), QStringLiteral("SAT 2"), QStringLiteral("TER")};
    std::array<SignalBar, 3> bars;
    for (int i = 0; i < 3; ++i) {
        const double y = 302 + 30 * i;
        bars[i].section = sections[i];
        bars[i].rect = design(70, y + 5, 96, 10);
        bars[i].back = p.signalBack;
        bars[i].status = p.signalLevel;
        bars[i].orientation = QStringLiteral("H");
        bars[i].caption = captions[i];
        bars[i].captionRect = design(16, y, 50, 20);
    }
    return bars;
}

std::array<Preset, 3> describePresets(const Palette& p)
{
    std::array<Preset, 3> presets;
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        presets[i].face = button(QStringLiteral("Preset") + n, design(96 + 102 * i, RowTop, 96, RowHeight), Icon::None,
                                 QStringLiteral("PRESET ") + n);
        PresetLabel& label = presets[i].label;
        label.rect = {4, 40, 92, 52};
        label.style = bold(style(Condensed, 15, p.presetUp, Alignment::Centre));
        label.downColour = p.presetDown;
        label.onColour = p.presetOn;
        label.backColour = -1;
    }
    return presets;
}

ChannelList describeList(const Palette& p)
{
    ChannelList list;
    list.area = design(14, 12, 716, 204);
    list.scrollUp = button(QStringLiteral("ScrollUp"), design(740, 8, 52, 62), Icon::ArrowUp);
    list.track = track(QStringLiteral("SliderArea"), design(750, 74, 32, 80), FaceKind::VerticalTrack);
    list.scrollDown = button(QStringLiteral("ScrollDown"), design(740, 158, 52, 62), Icon::ArrowDown);
    list.sliderWidth = roundPercent(32 * 100 / DesignWidth);
    list.sliderHeight = roundPercent(28 * 100 / DesignHeight);
    list.sliderUpImage = QStringLiteral("ListThumbUp.png");
    list.sliderDownImage = QStringLiteral("ListThumbDown.png");
    list.rowStyle = style(Condensed, 12, p.listText);
    list.selectedBack = p.listSelectedBack;
    return list;
}

TimeSlider describeTimeSlider()
{
    TimeSlider slider;
    slider.bar = track(QStringLiteral("TimeSlider"), design(264, 375, 444, 16), FaceKind::HorizontalTrack);
    slider.sliderWidth = roundPercent(16 * 100 / DesignWidth);
    slider.sliderHeight = roundPercent(16 * 100 / DesignHeight);
    slider.sliderUpImage = QStringLiteral("TimeThumbUp.png");
    slider.sliderDownImage = QStringLiteral("TimeThumbDown.png");
    return slider;
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

SkinDescription describeSkin(const Palette& palette)
{
    SkinDescription skin;
    skin.palette = palette;
    skin.defaultWidth = int(DesignWidth);
    skin.defaultHeight = int(DesignHeight);
    skin.buttons = describeButtons();
    skin.texts = describeTexts(palette);
    skin.signalBars = describeSignalBars(palette);
    skin.presets = describePresets(palette);
    skin.list = describeList(palette);
    skin.timeSlider = describeTimeSlider();
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
