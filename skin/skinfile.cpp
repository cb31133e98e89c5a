#include "skinfile.h"

namespace skin {

const std::array<const char*, ButtonCount> ButtonSectionNames = {"Exit", "VolumeMute", "Tune", "VolumeDown",
                                                                 "VolumeUp"};
const std::array<const char*, TextSectionCount> TextSectionNames = {
    "ArtistTrackTitle", "Artist",         "StationName", "TrackTitle", "ChannelNumber", "Genre",
    "CurrentTrackTime", "TotalTrackTime", "Volume",      "Time",       "Date"};

namespace {

// Reads one section's keys with the type codes of the skin file.
class SectionReader {
public:
    SectionReader(const modIni::IniDocument& doc, QString section)
        : m_doc(doc)
        , m_section(std::move(section))
    {
    }

    QString number(const char* key) const { return numberOf(QString::fromLatin1(key)); }
    QString numberOf(const QString& key) const { return read(key, modIni::AsNumberText).toString(); }
    QString text(const char* key) const { return read(key, 8).toString(); }
    qint32 integer(const char* key) const { return read(key, modIni::AsLong).toInt(); }
    float colour(const char* key) const { return read(key, modIni::AsSingle).toFloat(); }
    qint16 shortColour(const char* key) const { return qint16(read(key, modIni::AsInteger).toInt()); }

    GeometryKeys geometry() const { return {number("Left"), number("Top"), number("Width"), number("Height")}; }
    GeometryKeys geometry(const char* prefix) const
    {
        const QString p = QString::fromLatin1(prefix);
        return {numberOf(p + "Left"), numberOf(p + "Top"), numberOf(p + "Width"), numberOf(p + "Height")};
    }
    FontKeys font() const { return {text("Font"), text("AllowResize"), text("FontSize")}; }
    SwitchKeys switches() const { return {text("Bold"), text("Italic"), text("Underlined")}; }

private:
    QVariant read(const QString& key, int code) const { return modIni::ReadSetting(m_doc, m_section, key, code); }
    QVariant read(const char* key, int code) const { return read(QString::fromLatin1(key), code); }

    const modIni::IniDocument& m_doc;
    QString m_section;
};

TextSection readText(const modIni::IniDocument& doc, const QString& name)
{
    const SectionReader r(doc, name);
    TextSection s;
    s.name = name;
    s.geometry = r.geometry();
    s.font = r.font();
    s.FontColour = r.colour("FontColour");
    if (name == QLatin1String("Volume"))
        s.extra = r.text("Suffix");
    else if (name == QLatin1String("Time") || name == QLatin1String("Date"))
        s.extra = r.text("Format");
    s.Align = r.text("Align");
    s.switches = r.switches();
    return s;
}

SignalSection readSignal(const modIni::IniDocument& doc, const QString& name)
{
    const SectionReader r(doc, name);
    return {name, r.geometry(), r.colour("FontColour"), r.text("Orientation"), r.colour("StatusColour")};
}

PresetSection readPreset(const modIni::IniDocument& doc, int n)
{
    PresetSection s;
    s.name = QStringLiteral("Preset%1").arg(n);
    s.labelName = s.name + QLatin1String("Label");
    s.button = SectionReader(doc, s.name).geometry();
    const SectionReader r(doc, s.labelName);
    s.label = r.geometry();
    s.font = r.font();
    s.UpColour = r.colour("UpColour");
    s.DownColour = r.colour("DownColour");
    s.OnColour = r.colour("OnColour");
    s.BackColour = r.shortColour("BackColour");
    s.Align = r.text("Align");
    s.switches = r.switches();
    return s;
}

PlaylistSection readPlaylist(const modIni::IniDocument& doc)
{
    const SectionReader r(doc, QStringLiteral("CurrentPlaylist"));
    PlaylistSection s;
    s.SliderUpImage = r.text("SliderUpImage");
    s.SliderDownImage = r.text("SliderDownImage");
    s.list = r.geometry();
    s.sliderArea = {r.number("SliderAreaLeft"), r.number("SliderAreatop"), r.number("SliderAreaWidth"),
                    r.number("SliderAreaHeight")};
    s.SliderWidth = r.number("SliderWidth");
    s.SliderHeight = r.number("SliderHeight");
    s.scrollUp = r.geometry("ScrollUp");
    s.scrollDown = r.geometry("ScrollDown");
    s.font = r.font();
    s.FontColour = r.colour("FontColour");
    s.SelectedBackColour = r.colour("SelectedBackColour");
    s.switches = r.switches();
    return s;
}

TimeSliderSection readTimeSlider(const modIni::IniDocument& doc)
{
    const SectionReader r(doc, QStringLiteral("TimeSlider"));
    TimeSliderSection s;
    s.SliderUpImage = r.text("SliderUpImage");
    s.SliderDownImage = r.text("SliderDownImage");
    s.bar = r.geometry();
    s.SliderHeight = r.number("SliderHeight");
    s.SliderWidth = r.number("SliderWidth");
    return s;
}

} // namespace

SkinFile ReadSkinFile(const QString& path, const modIni::IniDocument& doc)
{
    SkinFile skin;
    skin.path = path;
    const SectionReader general(doc, QStringLiteral("General"));
    skin.DefaultWidth = general.integer("DefaultWidth");
    skin.DefaultHeight = general.integer("DefaultHeight");
    for (int i = 0; i < ButtonCount; ++i)
        skin.buttons[size_t(i)] = SectionReader(doc, QString::fromLatin1(ButtonSectionNames[size_t(i)])).geometry();
    for (int i = 0; i < TextSectionCount; ++i)
        skin.texts[size_t(i)] = readText(doc, QString::fromLatin1(TextSectionNames[size_t(i)]));
    const char* signalNames[] = {"Rock", "Roll", "Ground"};
    for (int i = 0; i < 3; ++i)
        skin.signalBars[size_t(i)] = readSignal(doc, QString::fromLatin1(signalNames[i]));
    for (int i = 0; i < 3; ++i)
        skin.presets[size_t(i)] = readPreset(doc, i + 1);
    skin.playlist = readPlaylist(doc);
    skin.timeSlider = readTimeSlider(doc);
    return skin;
}

} // namespace skin
