// LoadSkin: geometry, fonts, colours, rows and failures, applied to the real controls.
#include "skinfixture.h"
#include "testsupport.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using skin::Alignment;
using skin::BackStyle;

namespace {
testskin::Options with(QMap<QString, QString> set, QStringList remove = {})
{
    testskin::Options o;
    o.set = std::move(set);
    o.remove = std::move(remove);
    return o;
}
} // namespace

TEST(LoadSkin, PlacesControlsInPercentOfTheWindow)
{
    SkinFixture f({800, 600},
                  with({{"Exit/Left", "2"}, {"Exit/Top", "90"}, {"Exit/Width", "10"}, {"Exit/Height", "8"}}));
    f.loader.LoadSkin();
    EXPECT_EQ(f.c.cmdExit->Left(), 240.0f);
    EXPECT_EQ(f.c.cmdExit->Top(), 8100.0f);
    EXPECT_EQ(f.c.cmdExit->Width(), 1200.0f);
    EXPECT_EQ(f.c.cmdExit->Height(), 720.0f);
    EXPECT_EQ(f.c.cmdExit->pixelRect(), QRect(16, 540, 80, 48));
    EXPECT_EQ(f.c.imgBackground->Width(), 12000.0f);
    EXPECT_FALSE(f.state.LoadingSkin);
    EXPECT_TRUE(f.form.updatesEnabled());
}

TEST(LoadSkin, PlacesPresetCaptionsInPercentOfTheirButton)
{
    SkinFixture f({800, 600}, with({{"Preset2/Width", "10"},
                                    {"Preset2/Height", "10"},
                                    {"Preset2Label/Left", "10"},
                                    {"Preset2Label/Width", "50"}}));
    f.loader.LoadSkin();
    EXPECT_FLOAT_EQ(f.c.lblPreset(1).Left(), 120.0f);
    EXPECT_FLOAT_EQ(f.c.lblPreset(1).Width(), 600.0f);
}

TEST(LoadSkin, ScalesResizableFontsByTheWindowHeight)
{
    const auto options = with({{"General/DefaultHeight", "600"},
                               {"Genre/AllowResize", "True"},
                               {"Genre/FontSize", "12"},
                               {"Artist/AllowResize", "False"},
                               {"Artist/FontSize", "12"},
                               {"StationName/AllowResize", "-1"},
                               {"StationName/FontSize", "10"},
                               {"TrackTitle/AllowResize", "1"},
                               {"TrackTitle/FontSize", "10"}});
    SkinFixture full({800, 600}, options);
    full.loader.LoadSkin();
    EXPECT_FLOAT_EQ(full.state.FontScale, 1.0f);
    EXPECT_FLOAT_EQ(full.c.lblGenre->FontSize(), 12.0f);

    SkinFixture half({800, 300}, options);
    half.loader.LoadSkin();
    EXPECT_FLOAT_EQ(half.state.FontScale, 0.5f);
    EXPECT_FLOAT_EQ(half.c.lblGenre->FontSize(), 6.0f);
    EXPECT_FLOAT_EQ(half.c.lblArtist->FontSize(), 12.0f);
    EXPECT_FLOAT_EQ(half.c.lblStation->FontSize(), 5.0f) << "-1 allows resizing";
    EXPECT_FLOAT_EQ(half.c.lblTrackTitle->FontSize(), 10.0f) << "only True and -1 do";
}

TEST(LoadSkin, StacksRowsOneLabelHeightApartAsLongAsAWholeRowFits)
{
    const std::vector<float> tops = skin::RowTops(255, 3000);
    ASSERT_EQ(tops.size(), 10u);
    EXPECT_EQ(tops.front(), 255.0f);
    EXPECT_EQ(tops.back(), 2550.0f);
    EXPECT_EQ(skin::RowTops(100.4f, 300).size(), 1u) << "tops 100, then 201 leaves no room";
    EXPECT_TRUE(skin::RowTops(0, 3000).empty());

    SkinFixture f;
    f.loader.LoadSkin();
    const float h = f.c.lblListItem0(0).Height();
    const int rows = f.state.VisibleItems;
    ASSERT_GT(rows, 2);
    EXPECT_LE(f.c.lblListItem0(rows).Top() + h, f.c.pctSkinnableList->Height());
    EXPECT_GT(f.c.lblListItem0(rows).Top() + 2 * h, f.c.pctSkinnableList->Height());
    for (int group = 0; group < 6; ++group) {
        EXPECT_EQ(f.c.rowGroup(group).count(), rows + 1);
        EXPECT_TRUE(f.c.rowGroup(group)(rows).Visible());
        EXPECT_EQ(f.c.rowGroup(group)(1).Top(), f.c.lblListItem0(1).Top());
    }
    EXPECT_EQ(f.populated, 1);
}

namespace {
QStringList warnings;
void keepWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg)
        warnings << text;
}
} // namespace

TEST(LoadSkin, AHugeListGetsAtMostAHundredRowsAndSaysSo)
{
    EXPECT_EQ(skin::RowTops(1, 1e6f).size(), size_t(skin::MaxListRows - 1)) << "rows below row 0";
    // Rows stack one rounded row height r apart from r down; a list of height H has room for
    // rows 1..k while k r + h <= H. Lists just big enough for 100 and for 110 rows show where the
    // limit cuts without a list thousands of rows high.
    SkinFixture normal;
    normal.loader.LoadSkin();
    const float h = normal.c.lblListItem0(0).Height();
    const float r = std::round(h);
    const float windowHeight = normal.c.imgBackground->Height();
    struct Case {
        const char* name;
        float roomBelowFirst;
        int warnings;
    };
    for (const Case& t : {Case{"room for 100 rows", 99.5f, 0}, Case{"room for 110 rows", 109.5f, 1}}) {
        SCOPED_TRACE(t.name);
        const float listHeight = t.roomBelowFirst * r + h;
        SkinFixture f(QSize(800, 480),
                      with({{"CurrentPlaylist/Height", QString::number(listHeight / windowHeight * 100, 'f', 4)}}));
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepWarnings);
        f.loader.LoadSkin();
        qInstallMessageHandler(previous);
        EXPECT_EQ(f.state.VisibleItems + 1, skin::MaxListRows);
        EXPECT_EQ(f.c.lblListItem.count(), skin::MaxListRows);
        EXPECT_EQ(f.c.lblListItem4.count(), skin::MaxListRows);
        ASSERT_EQ(warnings.size(), t.warnings) << warnings.join('\n').toStdString();
        if (t.warnings) {
            EXPECT_TRUE(warnings[0].contains(f.skinFolder() + "/radio_xm.ini") &&
                        warnings[0].contains("[CurrentPlaylist]") && warnings[0].contains("Height") &&
                        warnings[0].contains("it gets 100."))
                << warnings[0].toStdString();
        }
    }
}

TEST(LoadSkin, ASecondLoadRemovesTheRowsOfTheFirst)
{
    SkinFixture f;
    f.loader.LoadSkin();
    const int first = f.state.VisibleItems;
    f.rewrite(with({{"CurrentPlaylist/FontSize", "20"}}));
    f.loader.LoadSkin();
    const int second = f.state.VisibleItems;
    ASSERT_LT(second, first);
    for (int group = 0; group < 6; ++group)
        EXPECT_EQ(f.c.rowGroup(group).count(), second + 1);
    f.rewrite(with({{"CurrentPlaylist/FontSize", "8"}}));
    f.loader.LoadSkin();
    EXPECT_GT(f.state.VisibleItems, first);
    EXPECT_EQ(f.c.lblListItem.count(), f.state.VisibleItems + 1);
}

TEST(LoadSkin, PlacesTheListColumnsAndStylesEveryRowGroup)
{
    SkinFixture f;
    f.loader.LoadSkin();
    const float w = f.c.pctSkinnableList->Width();
    EXPECT_FLOAT_EQ(f.c.pctListItem1->Left(), 0.08f * w);
    EXPECT_FLOAT_EQ(f.c.pctListItem4->Width(), 0.20f * w);
    EXPECT_EQ(f.c.pctListItem2->Height(), f.c.pctSkinnableList->Height());
    for (int group = 0; group < 6; ++group) {
        const skin::Label& row = f.c.rowGroup(group)(1);
        EXPECT_EQ(row.BackColor(), 8388608u);
        EXPECT_EQ(row.ForeColor(), 16777215u);
        EXPECT_EQ(row.BackStyle(), BackStyle::Transparent);
    }
}

TEST(LoadSkin, EmptySkinNameReadsTheSkinsFolderItself)
{
    SkinFixture f;
    f.loader.setCurrentSkin({});
    EXPECT_THROW(f.loader.LoadSkin(), skin::SkinError);
    testskin::writeSkin(f.folder.filePath("Skins"));
    EXPECT_NO_THROW(f.loader.LoadSkin());
}

TEST(LoadSkin, HidesThePointerOncePerLoadWhenTheSettingsSaySo)
{
    SkinFixture f;
    f.loader.setShowMouseCursor(false);
    for (int i = 0; i < 3; ++i)
        f.loader.LoadSkin();
    EXPECT_EQ(f.cursor.count(), -3);
    f.loader.setShowMouseCursor(true);
    f.loader.LoadSkin();
    EXPECT_EQ(f.cursor.count(), -3);
    for (int i = 0; i < 3; ++i)
        f.cursor.ShowCursor(true);
}

TEST(LoadSkin, AlignmentNamesAreCaseSensitive)
{
    const std::pair<const char*, std::optional<Alignment>> cases[] = {
        {"Left", Alignment::Left},   {"Centre", Alignment::Centre}, {"Center", Alignment::Centre},
        {"Right", Alignment::Right}, {"centre", std::nullopt},      {"", std::nullopt},
        {" Left", std::nullopt}};
    for (const auto& [text, alignment] : cases)
        EXPECT_EQ(skin::AlignmentFor(text), alignment) << text;

    SkinFixture f(QSize(800, 480), with({{"Genre/Align", "centre"}, {"Artist/Align", "Center"}}));
    f.c.lblGenre->setAlignment(Alignment::Right);
    f.loader.LoadSkin();
    EXPECT_EQ(f.c.lblGenre->Alignment(), Alignment::Right);
    EXPECT_EQ(f.c.lblArtist->Alignment(), Alignment::Centre);
}

TEST(LoadSkin, PresetCaptionBackgroundFollowsTheShortColour)
{
    SkinFixture f(QSize(800, 480), with({{"Preset1Label/BackColour", "-1"},
                                         {"Preset2Label/BackColour", "65280"},
                                         {"Preset3Label/BackColour", "255"}}));
    f.loader.LoadSkin();
    EXPECT_EQ(f.c.lblPreset(0).BackStyle(), BackStyle::Transparent);
    EXPECT_EQ(f.c.lblPreset(1).BackStyle(), BackStyle::Opaque);
    EXPECT_EQ(f.c.lblPreset(1).BackColor(), 0u) << "beyond 16 bits reads as black";
    EXPECT_EQ(f.c.lblPreset(2).BackStyle(), BackStyle::Opaque);
    EXPECT_EQ(f.c.lblPreset(2).BackColor(), 255u);
    EXPECT_EQ(f.c.lblPreset(0).ForeColor(), 16777215u);
    EXPECT_EQ(f.state.PresetColour[2][1], 255.0);

    f.rewrite(with({}, {"Preset1Label/BackColour", "Genre/FontColour", "Rock/StatusColour"}));
    f.loader.LoadSkin();
    EXPECT_EQ(f.c.lblPreset(0).BackStyle(), BackStyle::Opaque);
    EXPECT_EQ(f.c.lblPreset(0).BackColor(), 0u);
    EXPECT_EQ(f.c.lblGenre->ForeColor(), 0u) << "a missing colour is black";
    EXPECT_EQ(f.c.lblSignalFront(0).BackColor(), 0u);
    EXPECT_EQ(f.c.lblSignalBack(0).Tag(), "H");
}

TEST(LoadSkin, AMissingSwitchStopsTheLoadAtThatKey)
{
    SkinFixture f(QSize(800, 480), with({{"Genre/FontColour", "255"}}, {"Genre/Bold"}));
    const QRect currentPosBefore = f.c.lblCurrentPos->pixelRect();
    const skin::Colour genreBefore = f.c.lblGenre->ForeColor();
    ASSERT_NE(genreBefore, 255u);
    try {
        f.loader.LoadSkin();
        FAIL() << "the load should stop";
    } catch (const skin::SkinError& e) {
        EXPECT_TRUE(e.message().contains("[Genre]") && e.message().contains("Bold")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(f.skinFolder() + "/radio_xm.ini"));
    }
    EXPECT_EQ(f.c.lblGenre->ForeColor(), genreBefore) << "nor are the keys before it";
    EXPECT_EQ(f.c.lblCurrentPos->pixelRect(), currentPosBefore) << "later sections are not";
    EXPECT_FALSE(f.state.LoadingSkin);
    EXPECT_TRUE(f.form.updatesEnabled());
}

TEST(LoadSkin, ReportsTheFileAndTheProblemOfABrokenSkin)
{
    struct Case {
        const char* name;
        testskin::Options options;
        const char* expected;
    };
    testskin::Options noImages;
    noImages.images = false;
    const Case cases[] = {
        {"missing image", noImages, "Radio_XM_Up.jpg"},
        {"no design height", with({}, {"General/DefaultHeight"}), "DefaultHeight"},
        {"design width beyond 16 bits of twips", with({{"General/DefaultWidth", "3000"}}), "DefaultWidth"},
        {"font size missing", with({}, {"Volume/FontSize"}), "FontSize"},
        {"geometry not a number", with({{"Tune/Width", "wide"}}), "[Tune]"},
        {"thumb missing", with({{"CurrentPlaylist/SliderUpImage", "Nothing.png"}}), "Nothing.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkinFixture f(QSize(800, 480), c.options);
        try {
            f.loader.LoadSkin();
            ADD_FAILURE() << "the load should fail";
        } catch (const skin::SkinError& e) {
            EXPECT_TRUE(e.message().contains(c.expected)) << e.message().toStdString();
        }
        EXPECT_FALSE(f.state.LoadingSkin);
    }
}

TEST(LoadSkin, DecodesTheStateImagesAtTheWindowsSize)
{
    testskin::Options big;
    big.imageSize = QSize(1000, 600);
    SkinFixture f({640, 400}, big);
    f.loader.LoadSkin();
    for (const skin::PictureArea* s : {f.c.pctUp.get(), f.c.pctDown.get(), f.c.pctOn.get()}) {
        EXPECT_EQ(s->surface().size(), QSize(640, 400) * f.form.devicePixelRatioF());
        EXPECT_EQ(s->surface().format(), QImage::Format_RGB32);
    }
    EXPECT_EQ(f.c.pctUpLoad->Width(), 1000 * f.scale.x) << "the load area takes the picture's size";
    EXPECT_FALSE(f.c.pctScroll->Picture().isNull());
    EXPECT_EQ(f.c.pctTimeScroll->Picture().pixelColor(4, 4), QColor(Qt::cyan));
}

TEST(LoadSkin, AnyPictureBecomesAnRgb32SurfaceOfExactlyTheWantedSize)
{
    EXPECT_EQ(skin::JpegDecodeSize({1600, 960}, {800, 480}), QSize(800, 480));
    EXPECT_EQ(skin::JpegDecodeSize({1600, 960}, {640, 400}), QSize(800, 480));
    EXPECT_EQ(skin::JpegDecodeSize({1600, 960}, {1280, 720}), QSize(1600, 960)) << "7/8 costs more than 8/8";
    EXPECT_EQ(skin::JpegDecodeSize({1602, 962}, {400, 240}), QSize(801, 481)) << "only exact reductions";

    QTemporaryDir folder;
    QImage grey(1600, 960, QImage::Format_Grayscale8);
    grey.fill(100);
    grey.save(folder.filePath("grey.jpg"), "JPG", 95);
    QImage indexed(300, 200, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(200, 30, 40)});
    indexed.fill(0);
    indexed.save(folder.filePath("indexed.png"));
    QImage photo(800, 480, QImage::Format_RGB32);
    photo.fill(qRgb(20, 90, 160));
    photo.save(folder.filePath("small.jpg"), "JPG", 95);
    const struct {
        const char* file;
        QSize picture, wanted;
        QRgb colour;
    } cases[] = {
        {"grey.jpg", {1600, 960}, {800, 480}, qRgb(100, 100, 100)},
        {"indexed.png", {300, 200}, {640, 400}, qRgb(200, 30, 40)},
        {"small.jpg", {800, 480}, {1920, 1080}, qRgb(20, 90, 160)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QSize pictureSize;
        QString error;
        const QImage surface = skin::DecodeAtSize(folder.filePath(c.file), c.wanted, 2.0, &pictureSize, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(pictureSize, c.picture);
        EXPECT_EQ(surface.size(), c.wanted);
        EXPECT_EQ(surface.format(), QImage::Format_RGB32);
        EXPECT_EQ(surface.devicePixelRatio(), 2.0);
        const QColor centre = surface.pixelColor(c.wanted.width() / 2, c.wanted.height() / 2);
        EXPECT_NEAR(centre.red(), qRed(c.colour), 4);
        EXPECT_NEAR(centre.green(), qGreen(c.colour), 4);
        EXPECT_NEAR(centre.blue(), qBlue(c.colour), 4);
    }
}

TEST(LoadSkin, AnUnreadableStateImageStopsTheLoadBeforeAnyControlIsPlaced)
{
    SkinFixture f;
    QFile down(f.skinFolder() + "/Images/Radio_XM_Down.jpg");
    ASSERT_TRUE(down.open(QIODevice::WriteOnly | QIODevice::Truncate));
    down.write("not a picture");
    down.close();
    const QRect exitBefore = f.c.cmdExit->pixelRect();
    try {
        f.loader.LoadSkin();
        FAIL() << "the load should stop";
    } catch (const skin::SkinError& e) {
        EXPECT_TRUE(e.message().contains(down.fileName())) << e.message().toStdString();
    }
    EXPECT_EQ(f.c.cmdExit->pixelRect(), exitBefore);
    EXPECT_FALSE(f.state.LoadingSkin);
    EXPECT_TRUE(f.form.updatesEnabled());
}

// JPEGs are decoded a band of rows at a time and stretched band by band; the seams between bands
// must not show, at any ratio, after any reduction the decoder makes.
TEST(LoadSkin, AStretchedJpegLooksAsIfStretchedWhole)
{
    QTemporaryDir folder;
    QImage picture(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             y % 7 == 0 ? qRgb(250, 250, 250) : qRgb(x * 255 / 400, y * 255 / 300, (x + y) % 256));
    const QString path = folder.filePath("picture.jpg"), progressive = folder.filePath("progressive.jpg");
    ASSERT_TRUE(picture.save(path, "JPG", 95));
    QImageWriter writer(progressive);
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(picture));
    for (const QString& file : {path, progressive})
        for (const QSize size : {QSize(563, 411), QSize(300, 200), QSize(130, 100), QSize(1920, 17), QSize(200, 150)}) {
            SCOPED_TRACE(QStringLiteral("%1 at %2x%3").arg(file).arg(size.width()).arg(size.height()).toStdString());
            QImageReader reader(file);
            reader.setScaledSize(skin::JpegDecodeSize(picture.size(), size));
            const QImage whole = skin::StretchToWindow(reader.read(), size, 1.0);
            QSize pictureSize;
            QString error;
            const QImage surface = skin::DecodeAtSize(file, size, 1.0, &pictureSize, &error);
            ASSERT_EQ(surface.size(), size) << error.toStdString();
            int worst = 0;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const QRgb a = surface.pixel(x, y), b = whole.pixel(x, y);
                    worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                      std::abs(qBlue(a) - qBlue(b))});
                }
            EXPECT_LE(worst, 2);
        }

    // A picture cut short decodes, grey where its rows are missing, as Qt's decoder has it.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() / 2);
    file.close();
    QSize pictureSize;
    QString error;
    const QImage cut = skin::DecodeAtSize(path, QSize(563, 411), 1.0, &pictureSize, &error);
    EXPECT_EQ(cut.size(), QSize(563, 411));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
}

// A skin found broken anywhere, however late in its file or in its pictures, leaves the skin on
// screen as it was: its pictures, its places, its colours, its rows and the window's values.
TEST(LoadSkin, ABrokenSkinLeavesTheLastOneOnScreenWhole)
{
    struct Case {
        const char* name;
        QString brokenKey;     // "Section/Key" given a value that is not a switch, or empty
        QString brokenPicture; // a state picture overwritten with text, or empty
    };
    const Case cases[] = {{"the list's last switch", "CurrentPlaylist/Underlined", {}},
                          {"the on picture", {}, "Radio_XM_On.jpg"}};
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        SkinFixture f;
        f.loader.LoadSkin();
        const QImage up = f.c.pctUp->surface(), exitShown = f.c.cmdExit->surface();
        const QImage thumb = f.c.pctScroll->Picture();
        const QRect exit = f.c.cmdExit->pixelRect(), list = f.c.pctSkinnableList->pixelRect();
        const qint16 rows = f.state.VisibleItems;
        const float rowFont = f.c.lblListItem0(1).FontSize();

        testskin::Options next = with({{"Exit/Left", "30"},
                                       {"Genre/FontColour", "255"},
                                       {"Volume/Suffix", "dB"},
                                       {"CurrentPlaylist/Height", "20"},
                                       {"CurrentPlaylist/FontSize", "20"}});
        if (!t.brokenKey.isEmpty())
            next.set[t.brokenKey] = "Maybe";
        f.rewrite(next);
        const QString picture = f.skinFolder() + "/Images/" + t.brokenPicture;
        if (!t.brokenPicture.isEmpty()) {
            QFile file(picture);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("not a picture");
        }
        try {
            f.loader.LoadSkin();
            ADD_FAILURE() << "the load should fail";
        } catch (const skin::SkinError& e) {
            if (t.brokenKey.isEmpty())
                EXPECT_TRUE(e.message().startsWith("The skin image " + picture + " cannot be read: "))
                    << e.message().toStdString();
            else
                EXPECT_EQ(e.message(), "The skin file " + f.skinFolder() +
                                           "/radio_xm.ini, section [CurrentPlaylist], key Underlined: \"Maybe\" "
                                           "is not True or False.");
        }
        EXPECT_EQ(f.c.pctUp->surface().cacheKey(), up.cacheKey()) << "the same up picture";
        EXPECT_EQ(f.c.cmdExit->surface(), exitShown);
        EXPECT_EQ(f.c.pctScroll->Picture().cacheKey(), thumb.cacheKey());
        EXPECT_EQ(f.c.cmdExit->pixelRect(), exit);
        EXPECT_EQ(f.c.pctSkinnableList->pixelRect(), list);
        EXPECT_EQ(f.c.lblGenre->ForeColor(), 16777215u);
        EXPECT_EQ(f.state.VolumeSuffix, "%");
        EXPECT_EQ(f.state.VisibleItems, rows);
        EXPECT_EQ(f.c.lblListItem0.count(), rows + 1);
        EXPECT_EQ(f.c.lblListItem0(1).FontSize(), rowFont);
        EXPECT_FALSE(f.state.LoadingSkin);
        EXPECT_TRUE(f.form.updatesEnabled());
    }
}
