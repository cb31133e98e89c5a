// The pictures of a written skin: the three state images agree outside the button faces and
// differ inside them, the thumbs load, texts stand out from what lies under them, the night
// skin stays dark, and the tool and the build lay out complete skin folders.
#include "skintestsupport.h"

#include "tools/skinmaker/skinpainter.h"
#include "tools/skinmaker/skinwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <memory>

using namespace skintest;

namespace {

const QSize SmallSize(400, 240);

struct WrittenSkin {
    QString folder;
    modIni::IniDocument doc;
    QImage up, down, on;

    QString image(const QString& name) const { return folder + "/Images/" + name; }
    const QImage& state(int i) const { return i == 0 ? up : i == 1 ? down : on; }
};

WrittenSkin readSkin(const QString& folder)
{
    WrittenSkin skin;
    skin.folder = folder;
    skin.doc = modIni::IniDocument::fromFile(folder + "/radio_xm.ini");
    skin.up = QImage(skin.image("Radio_XM_Up.jpg"));
    skin.down = QImage(skin.image("Radio_XM_Down.jpg"));
    skin.on = QImage(skin.image("Radio_XM_On.jpg"));
    return skin;
}

std::vector<QRect> faceRects(const modIni::IniDocument& doc, QSize size)
{
    std::vector<QRect> rects;
    for (const Face& face : buttonFaces())
        rects.push_back(rectOf(doc, face.section, face.prefix).value_or(Rect{}).toPixels(size));
    return rects;
}

bool touchesAny(const QRect& block, const std::vector<QRect>& rects, int margin)
{
    for (const QRect& r : rects) {
        if (block.intersects(r.adjusted(-margin, -margin, margin, margin)))
            return true;
    }
    return false;
}

int largestChannelDifference(const QColor& a, const QColor& b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

double meanAbsoluteDifference(const QImage& a, const QImage& b, const QRect& rect)
{
    double sum = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * std::max(1, rect.width() * rect.height()));
}

struct PaletteCase {
    const char* name;
    skinmaker::Palette (*make)();
    skinmaker::Layout layout;
};

void PrintTo(const PaletteCase& c, std::ostream* os)
{
    *os << c.name;
}

class SkinImages : public ::testing::TestWithParam<PaletteCase> {
protected:
    static void SetUpTestSuite() { s_dir = std::make_unique<QTemporaryDir>(); }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(s_dir->isValid());
        m_description = skinmaker::describeSkin(GetParam().make(), GetParam().layout);
        const QString folder = s_dir->filePath(GetParam().name);
        if (!QFileInfo::exists(folder + "/radio_xm.ini")) {
            QString error;
            ASSERT_TRUE(skinmaker::writeSkin(m_description, folder, SmallSize, &error)) << qPrintable(error);
        }
        m_skin = readSkin(folder);
        ASSERT_FALSE(m_skin.up.isNull());
        ASSERT_FALSE(m_skin.down.isNull());
        ASSERT_FALSE(m_skin.on.isNull());
    }

    skinmaker::SkinDescription m_description;
    WrittenSkin m_skin;
    static std::unique_ptr<QTemporaryDir> s_dir;
};

std::unique_ptr<QTemporaryDir> SkinImages::s_dir;

} // namespace

TEST_P(SkinImages, StateImagesHaveTheRequestedSize)
{
    EXPECT_EQ(m_skin.up.size(), SmallSize);
    EXPECT_EQ(m_skin.down.size(), SmallSize);
    EXPECT_EQ(m_skin.on.size(), SmallSize);
}

// Exact check on the painted pictures, before JPEG compression, at an awkward size where
// percent edges fall between pixels.
TEST_P(SkinImages, PaintedStatesAreIdenticalOutsideTheFaces)
{
    const QSize size(333, 211);
    const std::vector<QRect> faces = faceRects(m_skin.doc, size);
    const QImage up = skinmaker::paintStateImage(m_description, skinmaker::ButtonState::Up, size);
    for (const skinmaker::ButtonState state : {skinmaker::ButtonState::Down, skinmaker::ButtonState::On}) {
        const QImage other = skinmaker::paintStateImage(m_description, state, size);
        int differing = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                if (!touchesAny(QRect(x, y, 1, 1), faces, 0) && up.pixel(x, y) != other.pixel(x, y))
                    ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << "state " << int(state);
    }
}

TEST_P(SkinImages, WrittenStatesAgreeOutsideTheFaces)
{
    const std::vector<QRect> faces = faceRects(m_skin.doc, SmallSize);
    const int block = 8;
    int compared = 0;
    int total = 0;
    for (int y = 0; y + block <= SmallSize.height(); y += block) {
        for (int x = 0; x + block <= SmallSize.width(); x += block) {
            const QRect r(x, y, block, block);
            ++total;
            // JPEG blocks next to a face carry a little of its edge; leave them out.
            if (touchesAny(r, faces, block))
                continue;
            ++compared;
            const QColor up = meanColour(m_skin.up, r);
            EXPECT_LE(largestChannelDifference(up, meanColour(m_skin.down, r)), 4) << "down at " << x << "," << y;
            EXPECT_LE(largestChannelDifference(up, meanColour(m_skin.on, r)), 4) << "on at " << x << "," << y;
        }
    }
    EXPECT_GT(compared, total / 2) << "most of the window lies outside the faces";
}

TEST_P(SkinImages, EveryFaceLooksDifferentPressedAndOn)
{
    for (const Face& face : buttonFaces()) {
        const QRect r = rectOf(m_skin.doc, face.section, face.prefix).value_or(Rect{}).toPixels(SmallSize);
        ASSERT_FALSE(r.isEmpty()) << qPrintable(face.name());
        EXPECT_GT(meanAbsoluteDifference(m_skin.up, m_skin.down, r), 4.0) << qPrintable(face.name());
        EXPECT_GT(meanAbsoluteDifference(m_skin.up, m_skin.on, r), 4.0) << qPrintable(face.name());
    }
}

TEST_P(SkinImages, ThumbsLoadAtTheirSliderSize)
{
    struct Thumb {
        const char* section;
        const char* key;
    };
    for (const Thumb thumb : {Thumb{"CurrentPlaylist", "SliderUpImage"}, Thumb{"CurrentPlaylist", "SliderDownImage"},
                              Thumb{"TimeSlider", "SliderUpImage"}, Thumb{"TimeSlider", "SliderDownImage"}}) {
        const QString name = modIni::ReadSetting(m_skin.doc, thumb.section, thumb.key, modIni::AsText).toString();
        const QImage image(m_skin.image(name));
        ASSERT_FALSE(image.isNull()) << thumb.section << "/" << thumb.key << " " << qPrintable(name);
        const double width = number(m_skin.doc, thumb.section, "SliderWidth").value_or(0) * SmallSize.width() / 100;
        const double height = number(m_skin.doc, thumb.section, "SliderHeight").value_or(0) * SmallSize.height() / 100;
        EXPECT_NEAR(image.width(), width, 1.0) << qPrintable(name);
        EXPECT_NEAR(image.height(), height, 1.0) << qPrintable(name);
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255)
            << "solid middle " << qPrintable(name);
    }
}

// Every text colour stands out from the picture under its label (WCAG AA for normal text).
TEST_P(SkinImages, TextsContrastWithTheBackgroundUnderThem)
{
    for (const char* section : {"ArtistTrackTitle", "Artist", "StationName", "TrackTitle", "ChannelNumber", "Genre",
                                "CurrentTrackTime", "TotalTrackTime", "Volume", "Time", "Date"}) {
        const QRect r = rectOf(m_skin.doc, section).value_or(Rect{}).toPixels(SmallSize);
        const QColor text = toColour(colourValue(m_skin.doc, section, "FontColour").value_or(-1));
        EXPECT_GE(contrast(text, meanColour(m_skin.up, r)), 4.5) << section;
    }
    const QRect list = rectOf(m_skin.doc, "CurrentPlaylist").value_or(Rect{}).toPixels(SmallSize);
    const QColor rowText = toColour(colourValue(m_skin.doc, "CurrentPlaylist", "FontColour").value_or(-1));
    const QColor selected = toColour(colourValue(m_skin.doc, "CurrentPlaylist", "SelectedBackColour").value_or(-1));
    EXPECT_GE(contrast(rowText, meanColour(m_skin.up, list)), 4.5) << "list rows";
    EXPECT_GE(contrast(rowText, selected), 4.5) << "highlighted list row";
}

TEST_P(SkinImages, PresetCaptionsContrastWithTheirFaceInEveryState)
{
    for (const char* n : {"1", "2", "3"}) {
        const QString section = QStringLiteral("Preset") + n;
        const QRect button = rectOf(m_skin.doc, section).value_or(Rect{}).toPixels(SmallSize);
        const QRect label =
            rectOf(m_skin.doc, section + "Label").value_or(Rect{}).toPixels(button.size()).translated(button.topLeft());
        const std::array<const char*, 3> keys{"UpColour", "DownColour", "OnColour"};
        for (int state = 0; state < 3; ++state) {
            const QColor caption = toColour(colourValue(m_skin.doc, section + "Label", keys[state]).value_or(-1));
            EXPECT_GE(contrast(caption, meanColour(m_skin.state(state), label)), 4.5)
                << qPrintable(section) << " " << keys[state];
        }
    }
}

TEST_P(SkinImages, SignalLevelsStandOutFromTheEmptyBar)
{
    for (const char* section : {"Rock", "Roll", "Ground"}) {
        const QColor empty = toColour(colourValue(m_skin.doc, section, "FontColour").value_or(-1));
        const QColor level = toColour(colourValue(m_skin.doc, section, "StatusColour").value_or(-1));
        EXPECT_GE(contrast(empty, level), 2.0) << section;
    }
}

INSTANTIATE_TEST_SUITE_P(Palettes, SkinImages,
                         ::testing::Values(PaletteCase{"day", skinmaker::dayPalette, skinmaker::Layout::Classic},
                                           PaletteCase{"night", skinmaker::nightPalette, skinmaker::Layout::Classic},
                                           PaletteCase{"drive_day", skinmaker::dayPalette, skinmaker::Layout::Drive},
                                           PaletteCase{"drive_night", skinmaker::nightPalette,
                                                       skinmaker::Layout::Drive}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

double meanLuminance(const QImage& image, const QRect& rect)
{
    return luminance(meanColour(image, rect));
}

double brightestBlock(const QImage& image, int block)
{
    double brightest = 0;
    for (int y = 0; y + block <= image.height(); y += block) {
        for (int x = 0; x + block <= image.width(); x += block)
            brightest = std::max(brightest, meanLuminance(image, QRect(x, y, block, block)));
    }
    return brightest;
}

QImage painted(skinmaker::Palette (*make)(), skinmaker::Layout layout, skinmaker::ButtonState state)
{
    return skinmaker::paintStateImage(skinmaker::describeSkin(make(), layout), state, SmallSize);
}

const std::array<skinmaker::Layout, 2> Layouts{skinmaker::Layout::Classic, skinmaker::Layout::Drive};

} // namespace

// At night nothing large may glare: the window as a whole and every 24-pixel block of it (a
// tenth of the height) stay dark in all three states.
TEST(SkinLook, NightSkinHasNoLargeBrightAreas)
{
    for (const skinmaker::Layout layout : Layouts) {
        for (const skinmaker::ButtonState state : skinmaker::AllButtonStates) {
            const QImage image = painted(skinmaker::nightPalette, layout, state);
            EXPECT_LT(meanLuminance(image, image.rect()), 0.03) << "layout " << int(layout) << " state " << int(state);
            EXPECT_LT(brightestBlock(image, 24), 0.2) << "layout " << int(layout) << " state " << int(state);
        }
    }
}

TEST(SkinLook, DaySkinIsLight)
{
    for (const skinmaker::Layout layout : Layouts) {
        const QImage image = painted(skinmaker::dayPalette, layout, skinmaker::ButtonState::Up);
        EXPECT_GT(meanLuminance(image, image.rect()), 0.6) << "layout " << int(layout);
    }
}

namespace {

const QStringList SkinFiles{"radio_xm.ini",           "Images/Radio_XM_Up.jpg",  "Images/Radio_XM_Down.jpg",
                            "Images/Radio_XM_On.jpg", "Images/ListThumbUp.png",  "Images/ListThumbDown.png",
                            "Images/TimeThumbUp.png", "Images/TimeThumbDown.png"};

QStringList missingFiles(const QString& folder)
{
    QStringList missing;
    for (const QString& file : SkinFiles) {
        if (!QFileInfo(folder + "/" + file).isFile())
            missing << file;
    }
    return missing;
}

} // namespace

TEST(DefaultSkins, BuildLaysOutEveryDefaultSkinInTheProgramFolder)
{
    for (const char* name : {"Day", "Night", "DriveDay", "DriveNight"}) {
        const QString folder = QStringLiteral(VANTO_PROGRAM_DIR "/Skins/") + name;
        EXPECT_EQ(missingFiles(folder), QStringList()) << name;
        EXPECT_EQ(QImage(folder + "/Images/Radio_XM_Up.jpg").size(), QSize(1600, 960)) << name;
    }
}

TEST(SkinMakerTool, WritesAFolderAndAPreview)
{
    QTemporaryDir dir;
    QProcess tool;
    tool.start(SKINMAKER_EXE, {"--palette", "Night", "--out", dir.filePath("Night"), "--size", "320x192", "--preview",
                               dir.filePath("preview.png")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(missingFiles(dir.filePath("Night")), QStringList());
    EXPECT_EQ(QImage(dir.filePath("Night/Images/Radio_XM_Down.jpg")).size(), QSize(320, 192));
    EXPECT_EQ(QImage(dir.filePath("preview.png")).size(), QSize(320, 192));
}

struct BadArguments {
    const char* name;
    QStringList arguments;
};

class SkinMakerToolRejects : public ::testing::TestWithParam<BadArguments> {};

TEST_P(SkinMakerToolRejects, AndWritesNothing)
{
    QTemporaryDir dir;
    QProcess tool;
    QStringList arguments = GetParam().arguments;
    arguments.replaceInStrings("OUT", dir.filePath("Skin"));
    tool.start(SKINMAKER_EXE, arguments);
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_NE(tool.exitCode(), 0);
    EXPECT_FALSE(tool.readAllStandardError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("Skin")));
}

INSTANTIATE_TEST_SUITE_P(Arguments, SkinMakerToolRejects,
                         ::testing::Values(BadArguments{"unknown_palette", {"--palette", "dusk", "--out", "OUT"}},
                                           BadArguments{"unknown_layout", {"--layout", "wide", "--out", "OUT"}},
                                           BadArguments{"bad_size", {"--size", "big", "--out", "OUT"}},
                                           BadArguments{"no_folder", {"--palette", "day"}}),
                         [](const auto& info) { return std::string(info.param.name); });
