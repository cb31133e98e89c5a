// The skin file the skin maker writes: every section and key the program reads, in its order,
// readable under the platform's INI rules, with sane geometry, colours, numbers and fonts.
#include "skintestsupport.h"

#include "base/basic.h"
#include "tools/skinmaker/fontcheck.h"
#include "tools/skinmaker/imagesize.h"
#include "tools/skinmaker/skinini.h"
#include "tools/skinmaker/skinpreview.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace skintest;

namespace {

// The skin file's sections and keys in reading order, typed in from the skin format's tables.
std::vector<SectionKeys> expectedSections()
{
    const QStringList geometry{"Left", "Top", "Width", "Height"};
    const QStringList font{"Font", "AllowResize", "FontSize", "FontColour"};
    const QStringList flags{"Align", "Bold", "Italic", "Underlined"};
    std::vector<SectionKeys> s{{"General", {"DefaultWidth", "DefaultHeight"}}};
    for (const char* button : {"Exit", "VolumeMute", "Tune", "VolumeDown", "VolumeUp"})
        s.push_back({button, geometry});
    for (const char* text : {"ArtistTrackTitle", "Artist", "StationName", "TrackTitle", "ChannelNumber", "Genre",
                             "CurrentTrackTime", "TotalTrackTime"})
        s.push_back({text, geometry + font + flags});
    s.push_back({"Volume", geometry + font + QStringList{"Suffix"} + flags});
    s.push_back({"Time", geometry + font + QStringList{"Format"} + flags});
    s.push_back({"Date", geometry + font + QStringList{"Format"} + flags});
    for (const char* signal : {"Rock", "Roll", "Ground"})
        s.push_back({signal, geometry + QStringList{"FontColour", "Orientation", "StatusColour"}});
    for (const char* n : {"1", "2", "3"}) {
        s.push_back({QStringLiteral("Preset") + n, geometry});
        s.push_back(
            {QStringLiteral("Preset") + n + "Label",
             geometry +
                 QStringList{"Font", "AllowResize", "FontSize", "UpColour", "DownColour", "OnColour", "BackColour"} +
                 flags});
    }
    s.push_back(
        {"CurrentPlaylist",
         QStringList{"SliderUpImage", "SliderDownImage"} + geometry +
             QStringList{"SliderAreaLeft", "SliderAreatop", "SliderAreaWidth", "SliderAreaHeight",   "SliderWidth",
                         "SliderHeight",   "ScrollUpLeft",  "ScrollUpTop",     "ScrollUpWidth",      "ScrollUpHeight",
                         "ScrollDownLeft", "ScrollDownTop", "ScrollDownWidth", "ScrollDownHeight",   "Font",
                         "AllowResize",    "FontSize",      "FontColour",      "SelectedBackColour", "Bold",
                         "Italic",         "Underlined"}});
    s.push_back({"TimeSlider", QStringList{"SliderUpImage", "SliderDownImage"} + geometry +
                                   QStringList{"SliderHeight", "SliderWidth"}});
    return s;
}

bool isGeometryKey(const QString& key)
{
    if (key.endsWith("Image") || key.startsWith("Default"))
        return false;
    for (const char* end : {"Left", "Top", "top", "Width", "Height"}) {
        if (key.endsWith(QLatin1String(end)))
            return true;
    }
    return false;
}

bool isColourKey(const QString& key)
{
    return key.endsWith("Colour") && key != "BackColour";
}

struct PaletteCase {
    const char* name;
    skinmaker::Palette (*make)();
    skinmaker::Layout layout;
    int fewestRows, mostRows; // the list's rows at any window size
};

void PrintTo(const PaletteCase& c, std::ostream* os)
{
    *os << c.name;
}

class SkinIni : public ::testing::TestWithParam<PaletteCase> {
protected:
    void SetUp() override
    {
        m_skin = skinmaker::describeSkin(GetParam().make(), GetParam().layout);
        m_bytes = skinmaker::skinIniText(m_skin);
        m_doc = modIni::IniDocument::fromBytes(m_bytes);
    }
    skinmaker::SkinDescription m_skin;
    QByteArray m_bytes;
    modIni::IniDocument m_doc;
};

} // namespace

TEST_P(SkinIni, HasEverySectionAndKeyInReadingOrder)
{
    const std::vector<SectionKeys> written = sectionsInOrder(m_bytes);
    const std::vector<SectionKeys> expected = expectedSections();
    ASSERT_EQ(written.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(written[i].section, expected[i].section) << "section " << i;
        EXPECT_EQ(written[i].keys, expected[i].keys) << qPrintable(expected[i].section);
    }
}

TEST_P(SkinIni, EveryKeyReadsBackWithAValue)
{
    for (const SectionKeys& section : expectedSections()) {
        for (const QString& key : section.keys) {
            const QString value = modIni::ReadSetting(m_doc, section.section, key, modIni::AsText).toString();
            EXPECT_FALSE(value.isEmpty()) << qPrintable(section.section + "/" + key);
        }
    }
}

TEST_P(SkinIni, LinesEndWithCrLfAndHoldOnlyPlainAscii)
{
    const QList<QByteArray> lines = m_bytes.split('\n');
    ASSERT_GT(lines.size(), 1);
    EXPECT_TRUE(lines.last().isEmpty()) << "the file ends with a line end";
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].endsWith('\r')) << "line " << i + 1;
        EXPECT_EQ(lines[i].count('\r'), lines[i].endsWith('\r') ? 1 : 0) << "line " << i + 1;
        for (char c : lines[i])
            EXPECT_TRUE(c == '\r' || (c >= 0x20 && c < 0x7f)) << "line " << i + 1;
    }
}

TEST_P(SkinIni, GeometryIsPercentAndButtonsLieInsideTheWindow)
{
    for (const SectionKeys& section : expectedSections()) {
        for (const QString& key : section.keys) {
            if (!isGeometryKey(key))
                continue;
            const std::optional<double> value = number(m_doc, section.section, key);
            ASSERT_TRUE(value.has_value()) << qPrintable(section.section + "/" + key);
            EXPECT_GE(*value, 0) << qPrintable(section.section + "/" + key);
            EXPECT_LE(*value, 100) << qPrintable(section.section + "/" + key);
        }
    }
    for (const Face& face : buttonFaces()) {
        const std::optional<Rect> r = rectOf(m_doc, face.section, face.prefix);
        ASSERT_TRUE(r.has_value()) << qPrintable(face.name());
        EXPECT_GT(r->width, 0) << qPrintable(face.name());
        EXPECT_GT(r->height, 0) << qPrintable(face.name());
        EXPECT_LE(r->left + r->width, 100) << qPrintable(face.name());
        EXPECT_LE(r->top + r->height, 100) << qPrintable(face.name());
    }
}

// A face cut from the state images must not carry a piece of a neighbouring face.
TEST_P(SkinIni, ButtonsDoNotOverlap)
{
    const QSize design(800, 480);
    const std::vector<Face>& faces = buttonFaces();
    for (size_t i = 0; i < faces.size(); ++i) {
        for (size_t j = i + 1; j < faces.size(); ++j) {
            const QRect a = rectOf(m_doc, faces[i].section, faces[i].prefix)->toPixels(design);
            const QRect b = rectOf(m_doc, faces[j].section, faces[j].prefix)->toPixels(design);
            EXPECT_FALSE(a.intersects(b)) << qPrintable(faces[i].name() + " and " + faces[j].name());
        }
    }
}

// At least 60 of 480 pixels: about 9 mm on a 7-inch 800 x 480 screen, a fingertip at arm's length.
TEST_P(SkinIni, PushButtonsAreLargeEnoughToTouch)
{
    for (const Face& face : buttonFaces()) {
        if (face.prefix == "SliderArea" || face.section == "TimeSlider")
            continue;
        const std::optional<Rect> r = rectOf(m_doc, face.section, face.prefix);
        ASSERT_TRUE(r.has_value());
        EXPECT_GE(r->height * 480 / 100, 60) << qPrintable(face.name());
        EXPECT_GE(r->width * 800 / 100, 48) << qPrintable(face.name());
    }
}

TEST_P(SkinIni, ValuesConvertUnderTheProgramsRules)
{
    EXPECT_EQ(basic::toInt32(modIni::ReadSetting(m_doc, "General", "DefaultWidth", modIni::AsLong)), 800);
    EXPECT_EQ(basic::toInt32(modIni::ReadSetting(m_doc, "General", "DefaultHeight", modIni::AsLong)), 480);
    for (const SectionKeys& section : expectedSections()) {
        const QString name = section.section;
        for (const QString& key : section.keys) {
            const QString text = modIni::ReadSetting(m_doc, name, key, modIni::AsText).toString();
            const QString where = name + "/" + key + "=" + text;
            if (isColourKey(key)) {
                const std::optional<qint64> colour = colourValue(m_doc, name, key);
                ASSERT_TRUE(colour.has_value()) << qPrintable(where);
                EXPECT_GE(*colour, 0) << qPrintable(where);
                EXPECT_LE(*colour, 0xFFFFFF) << qPrintable(where);
            } else if (key == "Bold" || key == "Italic" || key == "Underlined") {
                EXPECT_TRUE(basic::CBool(text).has_value()) << qPrintable(where);
            } else if (key == "AllowResize") {
                EXPECT_EQ(basic::CBool(text), std::optional<bool>(true)) << qPrintable(where);
            } else if (key == "FontSize") {
                EXPECT_GT(basic::CDbl(text).value_or(0), 0) << qPrintable(where);
            } else if (key == "Align") {
                EXPECT_TRUE(QStringList({"Left", "Centre", "Center", "Right"}).contains(text)) << qPrintable(where);
            } else if (key == "Orientation") {
                EXPECT_TRUE(text == "H" || text == "V") << qPrintable(where);
            }
        }
    }
}

// The preset caption's back colour is read as a 16-bit value; -1 keeps the caption transparent.
TEST_P(SkinIni, PresetCaptionsAreTransparent)
{
    for (const char* section : {"Preset1Label", "Preset2Label", "Preset3Label"}) {
        const QVariant back = modIni::ReadSetting(m_doc, section, "BackColour", modIni::AsInteger);
        EXPECT_EQ(basic::toInt16(back), std::optional<qint16>(-1)) << section;
    }
}

// Each label must be at least one line of its font high, or the program cuts its text.
TEST_P(SkinIni, LabelsAreTallEnoughForTheirFont)
{
    const QSize window(800, 480);
    for (const skinmaker::TextElement& text : m_skin.texts) {
        QFont font(text.style.font);
        font.setPixelSize(int(std::lround(skinmaker::fontPixelSize(text.style, 480, 480))));
        font.setBold(text.style.bold);
        const std::optional<Rect> r = rectOf(m_doc, text.section);
        ASSERT_TRUE(r.has_value());
        EXPECT_GE(r->toPixels(window).height() + 1, QFontMetricsF(font).height()) << qPrintable(text.section);
    }
}

TEST_P(SkinIni, ListShowsItsRowsAtAnySize)
{
    for (const QSize window : {QSize(800, 480), QSize(1024, 600), QSize(1920, 1080)}) {
        const int rows = skinmaker::listRowCount(m_skin, window);
        EXPECT_GE(rows, GetParam().fewestRows) << window.width() << "x" << window.height();
        EXPECT_LE(rows, GetParam().mostRows) << window.width() << "x" << window.height();
    }
}

TEST_P(SkinIni, NamesOnlyInstalledFonts)
{
    EXPECT_TRUE(skinmaker::missingFonts(m_skin).isEmpty());
}

// The program reads numbers with '.' whatever the desktop's language.
TEST_P(SkinIni, NumbersUseAPointUnderAnyLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QByteArray german = skinmaker::skinIniText(m_skin);
    QLocale::setDefault(before);
    EXPECT_EQ(german, m_bytes);
    EXPECT_FALSE(german.contains(',')) << "no comma anywhere";
    EXPECT_TRUE(QString::fromLatin1(german).contains(QRegularExpression("\nTop=\\d+\\.\\d{4}\r\n")))
        << "a Top with four decimals";
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, SkinIni,
    ::testing::Values(PaletteCase{"day", skinmaker::dayPalette, skinmaker::Layout::Classic, 8, 10},
                      PaletteCase{"night", skinmaker::nightPalette, skinmaker::Layout::Classic, 8, 10},
                      PaletteCase{"drive_day", skinmaker::dayPalette, skinmaker::Layout::Drive, 4, 4},
                      PaletteCase{"drive_night", skinmaker::nightPalette, skinmaker::Layout::Drive, 4, 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct ColourCase {
    const char* name;
    QColor colour;
    qint64 value;
};

class ColourValue : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourValue, IsBlueGreenRedWithRedInTheLowByte)
{
    EXPECT_EQ(skinmaker::colourValue(GetParam().colour), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Colours, ColourValue,
                         ::testing::Values(ColourCase{"red", QColor(255, 0, 0), 255},
                                           ColourCase{"green", QColor(0, 255, 0), 65280},
                                           ColourCase{"blue", QColor(0, 0, 255), 16711680},
                                           ColourCase{"white", QColor(255, 255, 255), 16777215},
                                           ColourCase{"mixed", QColor(0x12, 0x34, 0x56), 0x563412},
                                           ColourCase{"opaque_alpha_ignored", QColor(1, 2, 3, 255), 0x030201}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* name;
    double value;
    const char* text;
};

class FormatNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumber, WritesShortDecimalText)
{
    EXPECT_EQ(skinmaker::formatNumber(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Numbers, FormatNumber,
                         ::testing::Values(NumberCase{"whole", 100.0, "100"}, NumberCase{"half", 0.5, "0.5"},
                                           NumberCase{"repeating", 404.0 / 4.8, "84.1667"},
                                           NumberCase{"tiny_negative", -0.00001, "0"}, NumberCase{"zero", 0.0, "0"},
                                           NumberCase{"points", 13.25, "13.25"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SizeCase {
    const char* name;
    const char* text;
    QSize size; // an invalid size: rejected
};

class ImageSizeArgument : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ImageSizeArgument, ParsesWidthByHeight)
{
    const std::optional<QSize> size = skinmaker::parseImageSize(QString::fromLatin1(GetParam().text));
    if (GetParam().size.isValid())
        EXPECT_EQ(size, std::optional<QSize>(GetParam().size));
    else
        EXPECT_FALSE(size.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ImageSizeArgument,
    ::testing::Values(SizeCase{"default", "1600x960", QSize(1600, 960)},
                      SizeCase{"capital_x", "800X480", QSize(800, 480)}, SizeCase{"zero_width", "0x480", QSize()},
                      SizeCase{"missing_height", "800x", QSize()}, SizeCase{"words", "widexhigh", QSize()},
                      SizeCase{"too_large", "9000x480", QSize()}, SizeCase{"negative", "-800x480", QSize()}),
    [](const auto& info) { return std::string(info.param.name); });
