// The skin file writer: turns the description into sections and keys, then into bytes.
#include "skinini.h"

namespace skinmaker {

namespace {

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString colourText(const QColor& colour)
{
    return QString::number(colourValue(colour));
}

void addGeometry(std::vector<IniKey>& keys, const PercentRect& rect, const QString& prefix = {})
{
    keys.push_back({prefix + QStringLiteral("Left"), formatNumber(rect.left)});
    keys.push_back({prefix + QStringLiteral("Top"), formatNumber(rect.top)});
    keys.push_back({prefix + QStringLiteral("Width"), formatNumber(rect.width)});
    keys.push_back({prefix + QStringLiteral("Height"), formatNumber(rect.height)});
}

void addFont(std::vector<IniKey>& keys, const TextStyle& style)
{
    keys.push_back({QStringLiteral("Font"), style.font});
    keys.push_back({QStringLiteral("AllowResize"), boolText(style.allowResize)});
    keys.push_back({QStringLiteral("FontSize"), formatNumber(style.fontSize)});
}

void addFontFlags(std::vector<IniKey>& keys, const TextStyle& style)
{
    keys.push_back({QStringLiteral("Bold"), boolText(style.bold)});
    keys.push_back({QStringLiteral("Italic"), boolText(style.italic)});
    keys.push_back({QStringLiteral("Underlined"), boolText(style.underlined)});
}

IniSection generalSection(const SkinDescription& skin)
{
    return {QStringLiteral("General"),
            {{QStringLiteral("DefaultWidth"), QString::number(skin.defaultWidth)},
             {QStringLiteral("DefaultHeight"), QString::number(skin.defaultHeight)}}};
}

IniSection buttonSection(const ButtonFace& face)
{
    IniSection section{face.name, {}};
    addGeometry(section.keys, face.rect);
    return section;
}

IniSection textSection(const TextElement& text)
{
    IniSection section{text.section, {}};
    addGeometry(section.keys, text.rect);
    addFont(section.keys, text.style);
    section.keys.push_back({QStringLiteral("FontColour"), colourText(text.style.colour)});
    if (!text.extraKey.isEmpty())
        section.keys.push_back({text.extraKey, text.extraValue});
    section.keys.push_back({QStringLiteral("Align"), alignmentText(text.style.align)});
    addFontFlags(section.keys, text.style);
    return section;
}

IniSection signalSection(const SignalBar& bar)
{
    IniSection section{bar.section, {}};
    addGeometry(section.keys, bar.rect);
    section.keys.push_back({QStringLiteral("FontColour"), colourText(bar.back)});
    section.keys.push_back({QStringLiteral("Orientation"), bar.orientation});
    section.keys.push_back({QStringLiteral("StatusColour"), colourText(bar.status)});
    return section;
}

IniSection presetLabelSection(const Preset& preset)
{
    const PresetLabel& label = preset.label;
    IniSection section{preset.face.name + QStringLiteral("Label"), {}};
    addGeometry(section.keys, label.rect);
    addFont(section.keys, label.style);
    section.keys.push_back({QStringLiteral("UpColour"), colourText(label.style.colour)});
    section.keys.push_back({QStringLiteral("DownColour"), colourText(label.downColour)});
    section.keys.push_back({QStringLiteral("OnColour"), colourText(label.onColour)});
    section.keys.push_back({QStringLiteral("BackColour"), QString::number(label.backColour)});
    section.keys.push_back({QStringLiteral("Align"), alignmentText(label.style.align)});
    addFontFlags(section.keys, label.style);
    return section;
}

IniSection listSection(const ChannelList& list)
{
    IniSection section{QStringLiteral("CurrentPlaylist"), {}};
    auto& keys = section.keys;
    keys.push_back({QStringLiteral("SliderUpImage"), list.sliderUpImage});
    keys.push_back({QStringLiteral("SliderDownImage"), list.sliderDownImage});
    addGeometry(keys, list.area);
    // The program reads the track's top under this exact spelling.
    keys.push_back({QStringLiteral("SliderAreaLeft"), formatNumber(list.track.rect.left)});
    keys.push_back({QStringLiteral("SliderAreatop"), formatNumber(list.track.rect.top)});
    keys.push_back({QStringLiteral("SliderAreaWidth"), formatNumber(list.track.rect.width)});
    keys.push_back({QStringLiteral("SliderAreaHeight"), formatNumber(list.track.rect.height)});
    keys.push_back({QStringLiteral("SliderWidth"), formatNumber(list.sliderWidth)});
    keys.push_back({QStringLiteral("SliderHeight"), formatNumber(list.sliderHeight)});
    addGeometry(keys, list.scrollUp.rect, QStringLiteral("ScrollUp"));
    addGeometry(keys, list.scrollDown.rect, QStringLiteral("ScrollDown"));
    addFont(keys, list.rowStyle);
    keys.push_back({QStringLiteral("FontColour"), colourText(list.rowStyle.colour)});
    keys.push_back({QStringLiteral("SelectedBackColour"), colourText(list.selectedBack)});
    addFontFlags(keys, list.rowStyle);
    return section;
}

IniSection timeSliderSection(const TimeSlider& slider)
{
    IniSection section{QStringLiteral("TimeSlider"), {}};
    section.keys.push_back({QStringLiteral("SliderUpImage"), slider.sliderUpImage});
    section.keys.push_back({QStringLiteral("SliderDownImage"), slider.sliderDownImage});
    addGeometry(section.keys, slider.bar.rect);
    section.keys.push_back({QStringLiteral("SliderHeight"), formatNumber(slider.sliderHeight)});
    section.keys.push_back({QStringLiteral("SliderWidth"), formatNumber(slider.sliderWidth)});
    return section;
}

} // namespace

std::vector<IniSection> skinIniSections(const SkinDescription& skin)
{
    std::vector<IniSection> sections{generalSection(skin)};
    for (const ButtonFace& face : skin.buttons)
        sections.push_back(buttonSection(face));
    for (const TextElement& text : skin.texts)
        sections.push_back(textSection(text));
    for (const SignalBar& bar : skin.signalBars)
        sections.push_back(signalSection(bar));
    for (const Preset& preset : skin.presets) {
        sections.push_back(buttonSection(preset.face));
        sections.push_back(presetLabelSection(preset));
    }
    sections.push_back(listSection(skin.list));
    sections.push_back(timeSliderSection(skin.timeSlider));
    return sections;
}

QByteArray iniBytes(const std::vector<IniSection>& sections)
{
    QByteArray out;
    for (const IniSection& section : sections) {
        if (!out.isEmpty())
            out += "\r\n";
        out += '[' + section.name.toLatin1() + "]\r\n";
        for (const IniKey& key : section.keys)
            out += key.key.toLatin1() + '=' + key.value.toLatin1() + "\r\n";
    }
    return out;
}

QByteArray skinIniText(const SkinDescription& skin)
{
    return iniBytes(skinIniSections(skin));
}

QString formatNumber(double value)
{
    // QString::number ignores the locale, so a German desktop still writes '.'.
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

qint64 colourValue(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return qint64(rgb.red()) | (qint64(rgb.green()) << 8) | (qint64(rgb.blue()) << 16);
}

QString alignmentText(Alignment align)
{
    switch (align) {
    case Alignment::Left: return QStringLiteral("Left");
    case Alignment::Centre: return QStringLiteral("Centre");
    case Alignment::Right: return QStringLiteral("Right");
    }
    return QStringLiteral("Left");
}

} // namespace skinmaker
