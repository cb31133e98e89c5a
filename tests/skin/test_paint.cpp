// Skinned painting and level bars: pixels of real skin surfaces, cut at the controls' places.
#include "skin/drawlevelbar.h"
#include "skin/paintskinnedcontrol.h"
#include "skinfixture.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScreen>
#include <gtest/gtest.h>

using skin::PaintSkinnedControl;

namespace {

// The piece of a whole-window surface under a control, in device pixels.
QImage pieceOf(const skin::PictureArea& surface, QRect windowRect)
{
    const qreal dpr = surface.surface().devicePixelRatio();
    return surface.surface().copy(
        QRect((QPointF(windowRect.topLeft()) * dpr).toPoint(), (QSizeF(windowRect.size()) * dpr).toSize()));
}

QImage shown(const skin::PictureArea& area)
{
    return area.surface().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(PaintSkinnedControl, AfterALoadEveryAreaShowsTheUpSurfaceAtItsPlace)
{
    SkinFixture f;
    f.loader.LoadSkin();
    EXPECT_EQ(shown(*f.c.imgBackground), f.c.pctUp->surface()) << "the background is the whole up picture";
    for (const skin::PictureArea* area :
         {f.c.cmdExit.get(), f.c.cmdTune.get(), f.c.pctScrollUp.get(), f.c.pctTimeScrollBar.get(), &f.c.cmdPreset(2)})
        EXPECT_EQ(shown(*area), pieceOf(*f.c.pctUp, area->pixelRect())) << area->name().toStdString();
}

TEST(PaintSkinnedControl, EachStateShowsItsOwnSurfaceAndOthersNothing)
{
    SkinFixture f;
    f.loader.LoadSkin();
    skin::PictureArea& exit = *f.c.cmdExit;
    PaintSkinnedControl(f.c, exit, skin::StateDown, f.scale);
    EXPECT_EQ(shown(exit), pieceOf(*f.c.pctDown, exit.pixelRect()));
    EXPECT_NEAR(qBlue(exit.surface().pixel(3, 3)), testskin::stateBlue(skin::StateDown), 6);
    PaintSkinnedControl(f.c, exit, skin::StateOn, f.scale);
    EXPECT_EQ(shown(exit), pieceOf(*f.c.pctOn, exit.pixelRect()));
    PaintSkinnedControl(f.c, exit, 3, f.scale);
    EXPECT_EQ(shown(exit), pieceOf(*f.c.pctOn, exit.pixelRect())) << "state 3 repaints nothing";
    PaintSkinnedControl(f.c, exit, skin::StateUp, f.scale);
    EXPECT_EQ(shown(exit), pieceOf(*f.c.pctUp, exit.pixelRect()));
}

TEST(PaintSkinnedControl, TheMuteButtonFollowsTheMixerAtALoad)
{
    SkinFixture f;
    f.muted = true;
    f.loader.LoadSkin();
    EXPECT_EQ(shown(*f.c.cmdVolumeMute), pieceOf(*f.c.pctOn, f.c.cmdVolumeMute->pixelRect()));
}

TEST(PaintSkinnedControl, TheListShowsTheUpPictureBehindItsColumns)
{
    SkinFixture f;
    f.loader.LoadSkin();
    const QRect list = f.c.pctSkinnableList->pixelRect();
    EXPECT_EQ(shown(*f.c.pctSkinnableList), pieceOf(*f.c.pctUp, list));
    const skin::PictureArea& column = *f.c.pctListItem3;
    const QRect columnRect(list.x() + f.scale.toPixelsX(column.Left()), list.y(), column.pixelRect().width(),
                           column.pixelRect().height());
    EXPECT_EQ(shown(column), pieceOf(*f.c.pctUp, columnRect));
}

TEST(PaintSkinnedControl, TheWidgetShowsTheSurfaceOnScreen)
{
    SkinFixture f;
    f.form.show();
    f.loader.LoadSkin();
    PaintSkinnedControl(f.c, *f.c.cmdTune, skin::StateDown, f.scale);
    const QImage grabbed = f.c.cmdTune->widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage expected = pieceOf(*f.c.pctDown, f.c.cmdTune->pixelRect());
    expected.setDevicePixelRatio(grabbed.devicePixelRatio());
    EXPECT_EQ(grabbed, expected);
}

TEST(PaintSkinnedControl, AreasShowTheirPieceStraightFromTheStateSurface)
{
    SkinFixture f;
    f.loader.LoadSkin();
    const QImage up = f.c.pctUp->surface();
    for (const skin::PictureArea* area : {f.c.imgBackground.get(), f.c.cmdExit.get(), f.c.pctSkinnableList.get(),
                                          f.c.pctListItem0.get(), f.c.pctListItem4.get(), &f.c.cmdPreset(1)})
        EXPECT_TRUE(area->showsPieceOf(up)) << area->name().toStdString() << " keeps a copy";
    skin::PictureArea& exit = *f.c.cmdExit;
    PaintSkinnedControl(f.c, exit, skin::StateDown, f.scale);
    EXPECT_TRUE(exit.showsPieceOf(f.c.pctDown->surface()));
    EXPECT_FALSE(exit.showsPieceOf(up));

    // A load lets go of the old pictures as the new ones take their place: after it, nothing
    // holds a piece of them.
    f.loader.LoadSkin();
    for (const skin::SkinnedArea& skinned : f.c.skinnedAreas())
        EXPECT_FALSE(skinned.area->showsPieceOf(up)) << skinned.area->name().toStdString();
    EXPECT_TRUE(up.isDetached()) << "the old up picture is held only here";
}

TEST(PaintSkinnedControl, ALoadPaintsEveryPictureAreaTheWindowShows)
{
    SkinFixture f;
    f.loader.LoadSkin();
    // The window's own widget tree, not the controls' list: an area the list forgets shows here.
    QStringList onWindow;
    for (const skin::ControlWidget* widget : f.form.findChildren<skin::ControlWidget*>())
        if (widget->windowed && !widget->isHidden())
            onWindow << widget->objectName();
    QStringList skinned;
    const QImage up = f.c.pctUp->surface();
    for (const auto& [area, paint] : f.c.skinnedAreas()) {
        skinned << area->widget()->objectName();
        EXPECT_TRUE(area->showsPieceOf(up)) << area->name().toStdString();
    }
    onWindow.sort();
    skinned.sort();
    EXPECT_EQ(skinned.join(' ').toStdString(), onWindow.join(' ').toStdString());
}

TEST(PaintSkinnedControl, AnAreaDrawnIntoKeepsWhatItShowedAndLeavesTheStateSurfaceAlone)
{
    SkinFixture f;
    f.loader.LoadSkin();
    const QImage up = f.c.pctUp->surface().copy();
    const QImage down = f.c.pctDown->surface();
    skin::PictureArea& exit = *f.c.cmdExit;
    const QImage piece = pieceOf(*f.c.pctUp, exit.pixelRect());
    const QRgb back = skin::toQColor(exit.BackColor()).rgb();

    const QRect corner(0, 0, 6, 4);
    exit.drawFrom(down, corner);
    QImage expected = piece;
    QPainter(&expected).drawImage(QPointF(0, 0), down.copy(corner));
    EXPECT_EQ(shown(exit), expected) << "a copy into a corner keeps the rest of the piece";

    PaintSkinnedControl(f.c, exit, skin::StateUp, f.scale);
    exit.setWidth(exit.Width() + 10 * f.scale.x);
    const QImage grown = shown(exit);
    EXPECT_EQ(grown.copy(piece.rect()), piece) << "what was shown stays at its place";
    EXPECT_EQ(grown.pixel(grown.width() - 1, grown.height() - 1), back) << "the new part shows the back colour";
    EXPECT_FALSE(exit.showsPieceOf(f.c.pctUp->surface()));

    PaintSkinnedControl(f.c, *f.c.pctSkinnableList, skin::StateUp, f.scale);
    f.c.pctSkinnableList->setBackColor(0x0000FF);
    EXPECT_EQ(f.c.pctSkinnableList->surface().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(f.c.pctUp->surface(), up);
    EXPECT_EQ(f.c.pctDown->surface(), down);
}

TEST(PaintSkinnedControl, APressRepaintsTheButtonOnTheWindowAndNothingElse)
{
    SkinFixture f;
    f.form.show();
    f.loader.LoadSkin();
    QCoreApplication::processEvents();
    const qreal dpr = f.form.devicePixelRatioF();
    // What the window's backing store holds: what reaches the screen.
    const auto onScreen = [&] {
        QImage image = f.form.screen()->grabWindow(f.form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
        return image;
    };
    const QImage before = onScreen();
    if (before.size() != (QSizeF(f.form.size()) * dpr).toSize())
        GTEST_SKIP() << "the offscreen screen hands back only a corner of a high-density window";
    skin::PictureArea& exit = *f.c.cmdExit;
    PaintSkinnedControl(f.c, exit, skin::StateDown, f.scale);
    const QImage after = onScreen();
    QImage expected = before;
    QPainter(&expected).drawImage(exit.pixelRect().topLeft(), pieceOf(*f.c.pctDown, exit.pixelRect()));
    EXPECT_EQ(after, expected) << "the button shows its down piece, the window around it is as before";
}

TEST(DrawLevelBar, SizesTheFrontOverTheBack)
{
    QWidget form;
    skin::TwipsScale scale;
    skin::Label back("back", 0, &form, scale), front("front", 0, &form, scale);
    struct Case {
        const char* name;
        qint32 min, max, value;
        const char* orientation;
        const char* side;
        QRectF expected; // left, top, width, height of front; empty = hidden
        bool visible;
    };
    // Back bar: left 300, top 1000, 1500 wide, 500 high.
    const Case cases[] = {
        {"horizontal from the left", 0, 100, 40, "H", "Left", {300, 1000, 600, 500}, true},
        {"horizontal from the right", 0, 100, 40, "H", "Right", {1200, 1000, 600, 500}, true},
        {"vertical from the bottom", 0, 100, 40, "V", "Left", {300, 1300, 1500, 200}, true},
        {"range 1 to 100 half filled", 1, 100, 51, "H", "Left", {300, 1000, 750, 500}, true},
        {"range 5 to 10", 5, 10, 8, "H", "Left", {300, 1000, 750, 500}, true},
        {"beyond the maximum is not clamped", 0, 100, 150, "H", "Left", {300, 1000, 2250, 500}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        back.Move(300, 1000, 1500, 500);
        front.Move(0, 0, 10, 10);
        skin::DrawLevelBar(back, front, c.min, c.max, c.value, c.orientation, c.side);
        EXPECT_EQ(QRectF(front.Left(), front.Top(), front.Width(), front.Height()), c.expected);
        EXPECT_EQ(front.Visible(), c.visible);
    }
}

TEST(DrawLevelBar, TheBarShowsTheSkinsColoursWithItsLevelOverIt)
{
    // The skin file's colours are 0x00BBGGRR: 255 is red, 16711680 blue.
    testskin::Options options;
    options.set = {{"Rock/FontColour", "255"}, {"Rock/StatusColour", "16711680"}};
    SkinFixture f({800, 480}, options);
    f.loader.LoadSkin();
    const skin::Label& bar = f.c.lblSignalBack(0);
    skin::DrawLevelBar(f.c.lblSignalBack(0), f.c.lblSignalFront(0), 0, 100, 50, "H", "Left");
    const QImage shown = f.form.grab().toImage();
    const auto colourAt = [&](int x) {
        const QPoint inBar = bar.widget()->mapTo(&f.form, QPoint(x, bar.widget()->height() / 2));
        return shown.pixelColor((QPointF(inBar) * shown.devicePixelRatio()).toPoint());
    };
    EXPECT_EQ(colourAt(1), QColor(Qt::blue)) << "the level fills the left half";
    EXPECT_EQ(colourAt(bar.widget()->width() - 2), QColor(Qt::red)) << "the bar shows in the rest";
}

TEST(DrawLevelBar, AtTheMinimumTheFrontIsHiddenButPlaced)
{
    QWidget form;
    skin::TwipsScale scale;
    skin::Label back("back", 0, &form, scale), front("front", 0, &form, scale);
    back.Move(300, 1000, 1500, 500);
    front.Move(0, 0, 10, 10);
    skin::DrawLevelBar(back, front, 0, 100, 0, "H", "Left");
    EXPECT_FALSE(front.Visible());
    EXPECT_EQ(QRectF(front.Left(), front.Top(), front.Width(), front.Height()), QRectF(300, 1000, 10, 500));

    for (const char* orientation : {"h", "", "v"}) {
        front.Move(1, 2, 3, 4);
        front.setVisible(true);
        skin::DrawLevelBar(back, front, 0, 100, 50, orientation, "Left");
        EXPECT_EQ(QRectF(front.Left(), front.Top(), front.Width(), front.Height()), QRectF(1, 2, 3, 4)) << orientation;
    }
    skin::DrawLevelBar(back, front, 0, 0, 5, "H", "Left"); // an empty range draws nothing
    EXPECT_EQ(front.Width(), 3.0f);
}

TEST(PaintSkinnedControl, SurfacesAreAtTheScreensDevicePixels)
{
    SkinFixture f;
    f.form.show();
    f.loader.LoadSkin();
    const qreal dpr = f.form.devicePixelRatioF();
    EXPECT_EQ(f.c.pctUp->surface().size(), (QSizeF(800, 480) * dpr).toSize());
    EXPECT_EQ(f.c.cmdExit->surface().size(), (QSizeF(f.c.cmdExit->pixelRect().size()) * dpr).toSize());
    EXPECT_EQ(f.c.cmdExit->surface().devicePixelRatio(), dpr);
    const QImage grabbed = f.c.cmdExit->widget()->grab().toImage();
    EXPECT_EQ(grabbed.size(), f.c.cmdExit->surface().size()) << "shown at full sharpness";
}
