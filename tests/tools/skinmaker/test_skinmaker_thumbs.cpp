// The default skins' thumbs on the real window's controls: whatever size the window has, the
// corners of a thumb's picture show the track under it, not a square of their own.
#include "skinnedform.h"

#include <gtest/gtest.h>

namespace {

struct Window : SkinnedForm {
    Window(const QString& skinName, QSize size)
        : SkinnedForm(skinName, size)
    {
        loader.LoadSkin();
        // The time thumb halfway along its bar, where the track is plain.
        c.pctTimeScroll->setLeft(c.pctTimeScrollBar->Width() / 2);
    }
    QImage grab(bool thumbs)
    {
        c.pctScroll->setVisible(thumbs);
        c.pctTimeScroll->setVisible(thumbs);
        return form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

int channelDifference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

int changedPixels(const QImage& a, const QImage& b, const QRect& r)
{
    int changed = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            changed += channelDifference(a.pixel(x, y), b.pixel(x, y)) > 8 ? 1 : 0;
    return changed;
}

} // namespace

TEST(DefaultSkinThumbs, ShowTheTrackAtTheirCornersAtEveryWindowSize)
{
    for (const char* skinName : {"Day", "Night", "DriveDay", "DriveNight"}) {
        for (const QSize size : {QSize(800, 480), QSize(1280, 720)}) {
            SCOPED_TRACE(std::string(skinName) + " at " + std::to_string(size.width()));
            Window w(QString::fromLatin1(skinName), size);
            const QImage bare = w.grab(false);
            const QImage withThumbs = w.grab(true);
            const qreal dpr = w.form.devicePixelRatioF();
            for (const skin::ImageControl* thumb : {w.c.pctScroll.get(), w.c.pctTimeScroll.get()}) {
                SCOPED_TRACE(thumb->name().toStdString());
                const QRect r(thumb->widget()->mapTo(&w.form, QPoint(0, 0)) * dpr, thumb->widget()->size() * dpr);
                ASSERT_TRUE(bare.rect().contains(r));
                EXPECT_GT(changedPixels(bare, withThumbs, r), r.width() * r.height() / 3) << "the thumb shows";
                for (const QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
                    EXPECT_LE(channelDifference(bare.pixel(corner), withThumbs.pixel(corner)), 8)
                        << "corner " << corner.x() << "," << corner.y();
            }
        }
    }
}
