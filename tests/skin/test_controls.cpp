// The window's controls before any skin: names, kinds, containers, the design layout, timers,
// and the behaviour of the control kinds themselves.
#include "skin/radioxmcontrols.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using skin::Label;
using skin::PictureArea;

namespace {
struct Window {
    QWidget form;
    skin::TwipsScale scale;
    skin::RadioXMControls c{&form, scale};
};
} // namespace

TEST(Controls, EveryControlExistsByNameInItsContainer)
{
    Window w;
    const QStringList inBackground = {"cmdTune",
                                      "cmdPreset(0)",
                                      "cmdPreset(2)",
                                      "pctArtistTrackTitle",
                                      "pctTimeScrollBar",
                                      "pctScrollBar",
                                      "pctScrollDown",
                                      "pctScrollUp",
                                      "cmdExit",
                                      "cmdVolumeUp",
                                      "cmdVolumeDown",
                                      "cmdVolumeMute",
                                      "pctSkinnableList",
                                      "lblSignalBack(1)",
                                      "lblSignalFront(2)",
                                      "lblGPSSatellites",
                                      "lblGPSSpeed",
                                      "lblSpeedCam",
                                      "lblFullArtistTrackTitle",
                                      "lblTotalTrackTime",
                                      "lblCurrentPos",
                                      "lblCC",
                                      "lblStation",
                                      "lblArtist",
                                      "lblTrackTitle",
                                      "lblGenre",
                                      "lblVolume",
                                      "lblTime",
                                      "lblDate",
                                      "txtDebug"};
    QWidget* background = w.c.imgBackground->widget();
    for (const QString& name : inBackground) {
        QWidget* control = w.form.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->parentWidget(), background) << name.toStdString();
    }
    for (const char* name : {"pctOn", "pctOnLoad", "pctDownLoad", "pctUpLoad", "pctUp", "pctDown", "lv"}) {
        QWidget* control = w.form.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->parentWidget(), &w.form);
        EXPECT_TRUE(control->isHidden()) << name;
    }
    EXPECT_EQ(w.c.lblPreset(1).widget()->parentWidget(), w.c.cmdPreset(1).widget());
    EXPECT_EQ(w.c.lblListItem3(0).widget()->parentWidget(), w.c.pctListItem3->widget());
    EXPECT_EQ(w.c.lblListItem(0).widget()->parentWidget(), w.c.pctSkinnableList->widget());
    EXPECT_EQ(w.c.pctTimeScroll->widget()->parentWidget(), w.c.pctTimeScrollBar->widget());
    const std::vector<const skin::Control*> hidden = {w.c.txtDebug.get(), w.c.lblFullArtistTrackTitle.get(),
                                                      w.c.pctScrollImageUp.get(), w.c.pctTimeScrollImageDown.get()};
    for (const skin::Control* control : hidden)
        EXPECT_FALSE(control->Visible()) << control->name().toStdString();
}

// The design layout, which the window keeps when no skin loads: each member of a group in a place
// of its own, each signal level beside its bar.
TEST(Controls, TheDesignLayoutGivesEveryGroupMemberAPlaceOfItsOwn)
{
    Window w;
    // The bottom row, left to right: Exit, the presets in index order, Tune; one size, apart.
    const std::vector<const skin::Control*> row = {w.c.cmdExit.get(), &w.c.cmdPreset(0), &w.c.cmdPreset(1),
                                                   &w.c.cmdPreset(2), w.c.cmdTune.get()};
    for (size_t i = 1; i < row.size(); ++i) {
        SCOPED_TRACE(row[i]->widget()->objectName().toStdString());
        const QRect before = row[i - 1]->pixelRect(), r = row[i]->pixelRect();
        EXPECT_EQ(r.size(), before.size());
        EXPECT_EQ(r.top(), before.top());
        EXPECT_GT(r.left(), before.right());
    }
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QRect bar = w.c.lblSignalBack(i).pixelRect(), level = w.c.lblSignalFront(i).pixelRect();
        EXPECT_EQ(level.top(), bar.top());
        EXPECT_EQ(level.height(), bar.height());
        EXPECT_GT(level.left(), bar.right());
        if (i > 0) {
            EXPECT_GT(bar.top(), w.c.lblSignalBack(i - 1).pixelRect().bottom()) << "the bars stack by index";
        }
    }
}

// What the design layout shows, from the window's own picture: the background in a colour of its
// own, each signal bar covering it and each level in a colour of its own over its bar, and the
// design captions in a colour that shows against what lies beneath them.
TEST(Controls, TheDesignLayoutShowsWithoutASkin)
{
    Window w;
    w.form.resize(800, 480);
    const QImage shown = w.form.grab().toImage();
    const auto pixelAt = [&](const skin::Control& c, QPoint inside) {
        return shown.pixel((QPointF(c.widget()->mapTo(&w.form, inside)) * shown.devicePixelRatio()).toPoint());
    };
    const QRgb background = pixelAt(*w.c.imgBackground, {1, 1});
    EXPECT_NE(background, skin::toQColor(skin::SystemWindowBackground).rgb());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const skin::Label &bar = w.c.lblSignalBack(i), &level = w.c.lblSignalFront(i);
        const QRgb barColour = pixelAt(bar, bar.widget()->rect().center());
        EXPECT_NE(barColour, background) << "the bar is opaque";
        EXPECT_NE(pixelAt(level, level.widget()->rect().center()), barColour);
    }
    // A caption shows where some pixel of its label differs from what lies around the label.
    const auto showsText = [&](const skin::Label& label, QRgb beneath) {
        const QRect r = label.widget()->rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (pixelAt(label, {x, y}) != beneath)
                    return true;
        return false;
    };
    EXPECT_TRUE(showsText(*w.c.lblCC, background)) << "the channel number";
    const skin::PictureArea& column = *w.c.pctListItem2;
    EXPECT_TRUE(showsText(w.c.lblListItem2(0), pixelAt(column, column.widget()->rect().bottomLeft())))
        << "the list's first row";
}

// Controls sit at the pixel nearest to their twips, halves away from zero, and never at a
// negative size.
TEST(Controls, PlaceTheirWidgetsAtTheNearestPixel)
{
    QWidget form;
    const skin::TwipsScale scale; // 15 twips a pixel
    PictureArea area("area", -1, &form, scale);
    const struct {
        const char* name;
        QRectF twips;
        QRect pixels;
    } cases[] = {
        {"whole pixels", {150, 6000, 750, 600}, {10, 400, 50, 40}},
        {"halves round away from zero", {22.5, 7.4, 37.5, 7.6}, {2, 0, 3, 1}},
        {"a negative size shows nothing", {-22.5, 0, -30, 15}, {-2, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        area.Move(float(c.twips.x()), float(c.twips.y()), float(c.twips.width()), float(c.twips.height()));
        EXPECT_EQ(area.pixelRect(), c.pixels);
        EXPECT_EQ(area.widget()->geometry(), c.pixels);
    }
}

TEST(Controls, OnlyThePeriodicUpdateRunsWithoutBeingStarted)
{
    Window w;
    const std::pair<skin::Timer*, int> timers[] = {{&w.c.tmrResize, 50},        {&w.c.tmrLoad, 10000},
                                                   {&w.c.tmrUpdates, 200},      {&w.c.tmrHighlightListItem, 250},
                                                   {&w.c.tmrSavePreset, 3000},  {&w.c.tmrUpdateListing, 1000},
                                                   {&w.c.tmrButtonPressed, 200}};
    for (const auto& [timer, interval] : timers) {
        EXPECT_EQ(timer->Interval(), interval) << timer->name().toStdString();
        EXPECT_EQ(timer->Enabled(), timer == &w.c.tmrUpdates) << timer->name().toStdString();
    }
}

TEST(Controls, ATimerEnabledTwiceIsNotRestarted)
{
    QObject owner;
    skin::Timer timer("tmrTest", 300, false, &owner);
    QSignalSpy ticks(&timer, &skin::Timer::tick);
    timer.setEnabled(true);
    testsupport::pump(150);
    timer.setEnabled(true);
    // Restarted, the first tick would come 300 ms after the second enable.
    EXPECT_TRUE(testsupport::waitUntil([&] { return ticks.count() >= 1; }, 250)) << "the first tick keeps its time";
    timer.setEnabled(false);
    const int seen = ticks.count();
    testsupport::pump(100);
    EXPECT_EQ(ticks.count(), seen);
}

TEST(Controls, ALoadedGroupMemberCopiesMemberZeroAndStartsHidden)
{
    Window w;
    Label& first = w.c.lblListItem1(0);
    first.setFont("DejaVu Sans", 20, false, false, false);
    first.setForeColor(0x0000FF);
    first.setBackColor(0x00FF00);
    first.setTop(300);
    Label& loaded = w.c.lblListItem1.Load(4);
    EXPECT_EQ(loaded.index(), 4);
    EXPECT_EQ(loaded.widget()->objectName(), "lblListItem1(4)");
    EXPECT_FALSE(loaded.Visible());
    EXPECT_EQ(loaded.FontSize(), 20.0f);
    EXPECT_EQ(loaded.ForeColor(), 0x0000FFu);
    EXPECT_EQ(loaded.BackColor(), 0x00FF00u);
    EXPECT_EQ(loaded.Top(), 300.0f);
    EXPECT_EQ(loaded.widget()->parentWidget(), w.c.pctListItem1->widget());
    w.c.lblListItem1.Unload(4);
    EXPECT_FALSE(w.c.lblListItem1.exists(4));
    EXPECT_EQ(w.form.findChild<QWidget*>("lblListItem1(4)"), nullptr);
}

TEST(Controls, AnAutoSizedLabelFitsItsTextAndAFixedOneKeepsItsSize)
{
    Window w;
    Label& line = *w.c.lblArtistTrackTitle;
    line.setCaption("A");
    const float narrow = line.Width();
    line.setCaption("A much longer artist and title");
    EXPECT_GT(line.Width(), narrow * 5);
    Label& station = *w.c.lblStation;
    const float width = station.Width();
    station.setCaption("A much longer station name than fits");
    EXPECT_EQ(station.Width(), width);
}

TEST(Controls, TextWiderThanItsPlaceEndsInAnEllipsisAndTextThatFitsIsDrawnAsBefore)
{
    // The same line in its frame, and in a frame wide enough for anything, cut to the first's size.
    Window framed, wide;
    wide.c.pctArtistTrackTitle->setWidth(60000);
    QWidget& frame = *framed.c.pctArtistTrackTitle->container();
    const auto pixels = [&](Window& w, const QString& caption) {
        w.c.lblArtistTrackTitle->setCaption(caption);
        return w.c.pctArtistTrackTitle->container()->grab(QRect(QPoint(), frame.size())).toImage();
    };
    const QString shortLine = "Maya - Hold On", longLine = "Traffic & Weather: New York City and the Tri-State Area";
    EXPECT_EQ(pixels(framed, shortLine), pixels(wide, shortLine));

    const QFontMetrics metrics(framed.c.lblArtistTrackTitle->font());
    const QString elided = metrics.elidedText(longLine, Qt::ElideRight, frame.width());
    ASSERT_TRUE(elided.endsWith(QChar(0x2026)) && elided.size() < longLine.size());
    const QImage shown = pixels(framed, longLine);
    EXPECT_EQ(shown, pixels(wide, elided)) << "whole letters and the ellipsis, inside the frame";
    EXPECT_NE(shown, pixels(wide, longLine)) << "not the line cut off by the frame";
}

TEST(Controls, AHeldMeasureLetsAutoSizedLabelsFitOnlyWhenReleased)
{
    Window measured;
    QWidget form;
    skin::RadioXMControls c(&form, measured.scale, true);
    Label& line = *c.lblArtistTrackTitle;
    const float before = line.Width();
    line.setCaption("A much longer artist and title");
    measured.c.lblArtistTrackTitle->setCaption("A much longer artist and title");
    EXPECT_EQ(line.Width(), before) << "nothing is measured while held";
    c.textMeasure.release();
    EXPECT_EQ(line.Width(), measured.c.lblArtistTrackTitle->Width());
    line.setCaption("A");
    measured.c.lblArtistTrackTitle->setCaption("A");
    EXPECT_EQ(line.Width(), measured.c.lblArtistTrackTitle->Width()) << "after the release, at once";
}

TEST(Controls, AHeldMeasureKeepsTheMinimumWidthForTheRelease)
{
    Window measured;
    QWidget form;
    skin::RadioXMControls c(&form, measured.scale, true);
    c.lblArtistTrackTitle->setCaption("A", 3000);
    c.textMeasure.release();
    EXPECT_EQ(c.lblArtistTrackTitle->Width(), 3000.0f) << "an auto-sized label, at least as wide as asked";
    measured.c.lblArtistTrackTitle->setCaption("A", 3000);
    EXPECT_EQ(c.lblArtistTrackTitle->Width(), measured.c.lblArtistTrackTitle->Width());
}

TEST(Controls, LabelsLieBeneathPictureAreasInTheOrderTheyWereMade)
{
    Window w;
    const QObjectList order = w.c.imgBackground->widget()->children();
    const auto at = [&](skin::Control& c) { return order.indexOf(c.widget()); };
    EXPECT_LT(at(w.c.lblSignalBack(0)), at(w.c.lblSignalFront(0))) << "the level lies over its bar";
    EXPECT_LT(at(*w.c.lblCC), at(*w.c.cmdExit));
    EXPECT_LT(at(*w.c.lblDate), at(*w.c.pctSkinnableList));
}

TEST(Controls, AClickComesOnlyWhenTheReleaseLandsOnTheControl)
{
    Window w;
    w.form.show();
    QStringList events;
    PictureArea& exit = *w.c.cmdExit;
    exit.handlers().mouseDown = [&](const skin::MouseArgs& a) { events << QString("down %1").arg(a.button); };
    exit.handlers().mouseUp = [&](const skin::MouseArgs&) { events << "up"; };
    exit.handlers().click = [&] { events << "click"; };
    QTest::mouseClick(exit.widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(events, QStringList({"down 1", "up", "click"}));
    events.clear();
    QTest::mousePress(exit.widget(), Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseRelease(exit.widget(), Qt::RightButton, {}, QPoint(500, 5));
    EXPECT_EQ(events, QStringList({"down 2", "up"}));
}

TEST(Controls, TheCursorCounterHidesThePointerBelowZero)
{
    skin::CursorDisplay cursor;
    EXPECT_EQ(cursor.ShowCursor(false), -1);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    EXPECT_EQ(cursor.ShowCursor(false), -2);
    EXPECT_EQ(cursor.ShowCursor(true), -1);
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(cursor.ShowCursor(true), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
