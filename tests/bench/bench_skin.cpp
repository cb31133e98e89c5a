// LoadSkin against the bare cost of decoding the three state images and stretching them to the
// window, at three window sizes; and a button state change against a bare repaint.
#include "benchsupport.h"
#include "skin/loadskin.h"
#include "skin/paintskinnedcontrol.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <memory>

namespace {

const QString SkinsFolder = QStringLiteral(VANTO_PROGRAM_DIR "/Skins");

struct Window {
    QWidget form;
    skin::TwipsScale scale;
    skin::RadioXMControls c{&form, scale};
    skin::WindowState state;
    skin::CursorDisplay cursor;
    skin::SkinLoader loader{form, c, state, scale, cursor, QStringLiteral(VANTO_PROGRAM_DIR), {}};
    explicit Window(QSize size)
    {
        state.CurrentSkin = QStringLiteral("Day");
        state.ShowMouseCursor = true;
        form.resize(size);
        form.show();
        QCoreApplication::processEvents();
    }
};

void bareDecodeAndStretch(QSize size)
{
    for (const char* name : {"Radio_XM_Up.jpg", "Radio_XM_Down.jpg", "Radio_XM_On.jpg"}) {
        const QImage picture = QImageReader(SkinsFolder + "/Day/Images/" + name).read();
        const QImage surface = skin::StretchToWindow(picture, size, 1.0);
        if (surface.isNull())
            std::abort();
    }
}

// A child widget that only paints itself: the least a repaint can cost.
class BareChild : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        m_flip = !m_flip;
        QPainter(this).fillRect(rect(), m_flip ? Qt::red : Qt::blue);
    }

private:
    bool m_flip = false;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 7;
    std::printf("LoadSkin of the Day skin (median of %d runs)\n", runs);
    for (const QSize size : {QSize(800, 480), QSize(1280, 720), QSize(1920, 1080)}) {
        const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        const double bare = bench::medianMs(runs, {}, [&] { bareDecodeAndStretch(size); });

        std::unique_ptr<Window> fresh;
        const double first = bench::medianMs(
            runs, [&] { fresh = std::make_unique<Window>(size); }, [&] { fresh->loader.LoadSkin(); });

        Window warm(size);
        warm.loader.LoadSkin();
        const double reload = bench::medianMs(
            runs,
            [&] {
                warm.form.resize(size / 2);
                warm.loader.LoadSkin();
                warm.form.resize(size);
            },
            [&] { warm.loader.LoadSkin(); });

        bench::row(qPrintable("first load " + at), first, bare, "ms", 1.2);
        bench::row(qPrintable("reload after a resize " + at), reload, bare, "ms", 0.6);

        const int presses = 2000;
        skin::PictureArea& exit = *warm.c.cmdExit;
        BareChild child(&warm.form);
        child.setGeometry(exit.pixelRect());
        child.show();
        QCoreApplication::processEvents();
        qint16 state = skin::StateDown;
        const double press = bench::medianMs(runs, {}, [&] {
            for (int i = 0; i < presses; ++i) {
                skin::PaintSkinnedControl(warm.c, exit, state, warm.scale);
                state = state == skin::StateDown ? skin::StateUp : skin::StateDown;
            }
        });
        const double repaint = bench::medianMs(runs, {}, [&] {
            for (int i = 0; i < presses; ++i)
                child.repaint();
        });
        bench::row(qPrintable("button state change " + at), press * 1000 / presses, repaint * 1000 / presses, "us",
                   2.0);
    }
    return 0;
}
