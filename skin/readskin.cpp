#include "readskin.h"
#include "skin/logging.h"

#include "base/basic.h"
#include "skin/loadskin.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>

namespace skin {
namespace {

// One read of one skin: the conversions fail with a message naming the file, section and key.
class SkinReader {
public:
    explicit SkinReader(const SkinTarget& target)
        : m_target(target)
        , m_path(target.folder + QLatin1String("/radio_xm.ini"))
    {
    }

    LoadedSkin read(StateImageWork& images) const;

private:
    void readDesignSize(const SkinFile& file, LoadedSkin& skin) const;
    void readTexts(const SkinFile& file, LoadedSkin& skin) const;
    SignalStyle signalStyle(const SignalSection& section) const;
    PresetStyle presetStyle(const PresetSection& section, float fontScale) const;
    void readThumbs(const SkinFile& file, LoadedSkin& skin) const;
    TimeBarStyle timeBarStyle(const TimeSliderSection& s) const;
    ListStyle listStyle(const PlaylistSection& s, float fontScale) const;
    void joinStates(StateImageWork& images, LoadedSkin& skin) const;

    float number(const QString& section, const char* key, const QString& text) const;
    bool switchValue(const QString& section, const char* key, const QString& text) const;
    Colour colour(const QString& section, const char* key, float value) const;
    Place place(const QString& section, const GeometryKeys& keys, float width, float height) const;
    // The font size in points, scaled with the window where the skin allows it, and the switches.
    // The size is converted before the colour that follows it, the switches after.
    float fontPoints(const QString& section, const FontKeys& keys, float fontScale) const;
    FontStyle font(const QString& section, const FontKeys& keys, float points, const SwitchKeys& switches) const;
    // A picture of the skin's Images folder, decoded as it is.
    QImage picture(const QString& name) const;

    const SkinTarget& m_target;
    QString m_path;
};

LoadedSkin SkinReader::read(StateImageWork& images) const
{
    if (!QFileInfo(m_path).isFile())
        throw SkinError(QStringLiteral("The skin file %1 does not exist.").arg(m_path));
    const SkinFile file = ReadSkinFile(m_path, modIni::IniDocument::fromFile(m_path));
    LoadedSkin skin;
    skin.path = m_path;
    skin.windowWidth = m_target.width;
    skin.windowHeight = m_target.height;
    readDesignSize(file, skin);
    // A picture that is missing or not a picture fails the read before any value is converted;
    // the decoding itself is joined last, while the values convert.
    if (const QString unreadable = images.unreadable(); !unreadable.isEmpty())
        throw SkinError(unreadable);
    for (int i = 0; i < ButtonCount; ++i)
        skin.buttons[size_t(i)] = place(QString::fromLatin1(ButtonSectionNames[size_t(i)]), file.buttons[size_t(i)],
                                        m_target.width, m_target.height);
    readTexts(file, skin);
    for (int i = 0; i < 3; ++i)
        skin.signalBars[size_t(i)] = signalStyle(file.signalBars[size_t(i)]);
    for (int i = 0; i < 3; ++i)
        skin.presets[size_t(i)] = presetStyle(file.presets[size_t(i)], skin.fontScale);
    readThumbs(file, skin);
    skin.timeBar = timeBarStyle(file.timeSlider);
    skin.list = listStyle(file.playlist, skin.fontScale);
    joinStates(images, skin);
    return skin;
}

void SkinReader::readDesignSize(const SkinFile& file, LoadedSkin& skin) const
{
    const auto designTwips = [this](const char* key, qint32 pixels, float perPixel) {
        const std::optional<qint16> twips = basic::CInt(double(pixels) * double(perPixel));
        if (!twips)
            throw SkinError(QStringLiteral("The skin file %1, section [General], key %2: %3 pixels is too large.")
                                .arg(m_path, QLatin1String(key))
                                .arg(pixels));
        return *twips;
    };
    skin.designWidth = designTwips("DefaultWidth", file.DefaultWidth, m_target.scale.x);
    skin.designHeight = designTwips("DefaultHeight", file.DefaultHeight, m_target.scale.y);
    if (skin.designHeight == 0)
        throw SkinError(
            QStringLiteral("The skin file %1, section [General]: DefaultHeight is missing or 0.").arg(m_path));
    skin.fontScale = m_target.height / float(skin.designHeight);
}

void SkinReader::readTexts(const SkinFile& file, LoadedSkin& skin) const
{
    for (int i = 0; i < TextSectionCount; ++i) {
        const TextSection& section = file.texts[size_t(i)];
        TextStyle& style = skin.texts[size_t(i)];
        style.place = place(section.name, section.geometry, m_target.width, m_target.height);
        const float points = fontPoints(section.name, section.font, skin.fontScale);
        style.fore = colour(section.name, "FontColour", section.FontColour);
        if (section.name == QLatin1String("Volume"))
            skin.volumeSuffix = section.extra;
        else if (section.name == QLatin1String("Time"))
            skin.timeFormat = section.extra;
        else if (section.name == QLatin1String("Date"))
            skin.dateFormat = section.extra;
        style.align = AlignmentFor(section.Align);
        style.font = font(section.name, section.font, points, section.switches);
    }
}

SignalStyle SkinReader::signalStyle(const SignalSection& section) const
{
    SignalStyle style;
    style.place = place(section.name, section.geometry, m_target.width, m_target.height);
    style.back = colour(section.name, "FontColour", section.FontColour);
    style.orientation = section.Orientation;
    style.level = colour(section.name, "StatusColour", section.StatusColour);
    return style;
}

PresetStyle SkinReader::presetStyle(const PresetSection& section, float fontScale) const
{
    PresetStyle style;
    style.button = place(section.name, section.button, m_target.width, m_target.height);
    // A preset's caption is placed in percent of its own button.
    style.caption = place(section.labelName, section.label, style.button.Width, style.button.Height);
    const float points = fontPoints(section.labelName, section.font, fontScale);
    style.colours = {double(section.UpColour), double(section.DownColour), double(section.OnColour)};
    if (section.BackColour >= 0)
        style.back = Colour(section.BackColour);
    style.align = AlignmentFor(section.Align);
    style.font = font(section.labelName, section.font, points, section.switches);
    style.fore = colour(section.labelName, "UpColour", float(style.colours[0]));
    return style;
}

void SkinReader::readThumbs(const SkinFile& file, LoadedSkin& skin) const
{
    skin.listThumbUp = picture(file.playlist.SliderUpImage);
    skin.listThumbDown = picture(file.playlist.SliderDownImage);
    skin.timeThumbUp = picture(file.timeSlider.SliderUpImage);
    skin.timeThumbDown = picture(file.timeSlider.SliderDownImage);
}

TimeBarStyle SkinReader::timeBarStyle(const TimeSliderSection& s) const
{
    const QString section = QStringLiteral("TimeSlider");
    TimeBarStyle style;
    style.bar = place(section, s.bar, m_target.width, m_target.height);
    style.thumbHeight = Percent(number(section, "SliderHeight", s.SliderHeight), m_target.height);
    style.thumbWidth = Percent(number(section, "SliderWidth", s.SliderWidth), m_target.width);
    return style;
}

ListStyle SkinReader::listStyle(const PlaylistSection& s, float fontScale) const
{
    const QString section = QStringLiteral("CurrentPlaylist");
    const float w = m_target.width, h = m_target.height;
    ListStyle style;
    style.list = place(section, s.list, w, h);
    style.sliderArea = place(section, s.sliderArea, w, h);
    style.thumbWidth = Percent(number(section, "SliderWidth", s.SliderWidth), w);
    style.thumbHeight = Percent(number(section, "SliderHeight", s.SliderHeight), h);
    style.scrollUp = place(section, s.scrollUp, w, h);
    style.scrollDown = place(section, s.scrollDown, w, h);
    const float points = fontPoints(section, s.font, fontScale);
    style.fore = colour(section, "FontColour", s.FontColour);
    style.selectedBack = colour(section, "SelectedBackColour", s.SelectedBackColour);
    style.font = font(section, s.font, points, s.switches);
    return style;
}

void SkinReader::joinStates(StateImageWork& images, LoadedSkin& skin) const
{
    for (int i = 0; i < 3; ++i) {
        StateImageWork::Result& result = images.join(i);
        if (!result.error.isEmpty())
            throw SkinError(result.error);
        StatePicture& state = skin.states[size_t(i)];
        state.surface = std::move(result.surface);
        state.loadWidth = float(result.pictureSize.width()) * m_target.scale.x;
        state.loadHeight = float(result.pictureSize.height()) * m_target.scale.y;
    }
}

// --- conversions of skin values --------------------------------------------------------------

float SkinReader::number(const QString& section, const char* key, const QString& text) const
{
    const std::optional<float> value = basic::CSng(text);
    if (!value)
        throw SkinError(QStringLiteral("The skin file %1, section [%2], key %3: \"%4\" is not a number.")
                            .arg(m_path, section, QLatin1String(key), text));
    return *value;
}

bool SkinReader::switchValue(const QString& section, const char* key, const QString& text) const
{
    const std::optional<bool> value = basic::CBool(text);
    if (!value)
        throw SkinError(QStringLiteral("The skin file %1, section [%2], key %3: \"%4\" is not True or False.")
                            .arg(m_path, section, QLatin1String(key), text));
    return *value;
}

Colour SkinReader::colour(const QString& section, const char* key, float value) const
{
    const std::optional<qint32> rounded = basic::CLng(double(value));
    if (!rounded)
        throw SkinError(QStringLiteral("The skin file %1, section [%2], key %3: %4 is not a colour.")
                            .arg(m_path, section, QLatin1String(key))
                            .arg(double(value)));
    return Colour(quint32(*rounded));
}

Place SkinReader::place(const QString& section, const GeometryKeys& keys, float width, float height) const
{
    Place p;
    p.Left = Percent(number(section, "Left", keys.Left), width);
    p.Top = Percent(number(section, "Top", keys.Top), height);
    p.Width = Percent(number(section, "Width", keys.Width), width);
    p.Height = Percent(number(section, "Height", keys.Height), height);
    return p;
}

float SkinReader::fontPoints(const QString& section, const FontKeys& keys, float fontScale) const
{
    const float points = number(section, "FontSize", keys.FontSize);
    return AllowsResize(keys.AllowResize) ? points * fontScale : points;
}

FontStyle SkinReader::font(const QString& section, const FontKeys& keys, float points, const SwitchKeys& switches) const
{
    FontStyle style;
    style.name = keys.Font;
    style.points = points;
    style.bold = switchValue(section, "Bold", switches.Bold);
    style.italic = switchValue(section, "Italic", switches.Italic);
    style.underline = switchValue(section, "Underlined", switches.Underlined);
    return style;
}

QImage SkinReader::picture(const QString& name) const
{
    const QString path = m_target.folder + QLatin1String("/Images/") + name;
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull()) {
        const QString error = QStringLiteral("The skin image %1 cannot be read: %2.").arg(path, reader.errorString());
        qCWarning(lcSkin).noquote() << error;
        throw SkinError(error);
    }
    return picture;
}

} // namespace

LoadedSkin ReadSkin(const SkinTarget& target, StateImageWork& images)
{
    return SkinReader(target).read(images);
}

} // namespace skin
