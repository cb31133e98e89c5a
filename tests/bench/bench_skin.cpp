// LoadSkin against the least work a load needs, at three window sizes: the three state pictures
// brought to the window's size on both cores. And a button state change against the repaint of
// a plain child widget of the button's size on a plain window.
#include "benchsupport.h"
#include "skin/paintskinnedcontrol.h"
#include "skinnedform.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QSemaphore>
#include <QThreadPool>
#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QString SkinsFolder = QStringLiteral(VANTO_PROGRAM_DIR "/Skins");

struct Window : SkinnedForm {
    explicit Window(QSize size)
        : SkinnedForm(QStringLiteral("Day"), size)
    {
        form.show();
        QCoreApplication::processEvents();
    }
};

const char* const StateImages[3] = {"Radio_XM_Up.jpg", "Radio_XM_Down.jpg", "Radio_XM_On.jpg"};

// The three pictures brought to the window's size on the pool's threads, one way or the other,
// waiting for all of them.
void onThePool(const std::function<QImage(const QString& path)>& decode)
{
    QSemaphore done;
    for (const char* name : StateImages)
        QThreadPool::globalInstance()->start([&, name] {
            if (decode(SkinsFolder + "/Day/Images/" + name).isNull())
                std::abort();
            done.release();
        });
    done.acquire(3);
}

// The decoder scales while it decodes.
void bareScaledDecode(QSize size)
{
    onThePool([size](const QString& path) {
        QImageReader reader(path);
        reader.setScaledSize(size);
        return reader.read();
    });
}

// A full decode and a smooth stretch.
void bareDecodeAndStretch(QSize size)
{
    onThePool([size](const QString& path) {
        const QImage picture = QImageReader(path).read();
        QImage surface(size, QImage::Format_RGB32);
        QPainter p(&surface);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint(0, 0), size), picture);
        return surface;
    });
}

// A child widget that only paints itself, on a window without a skin: the least a repaint of a
// button-sized widget can cost.
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
    const int runs = 7, rounds = 15;
    std::printf("LoadSkin of the Day skin, in %d rounds that each time the bare, a first load and a reload in\n"
                "turn; medians of the rounds, the ratio's range in brackets. Bare: the three state pictures\n"
                "brought to the window's size on both cores (the pool) and waited for, the cheaper of two ways\n"
                "in the round: the decoder scaling while it decodes (setScaledSize), or a full decode and a\n"
                "smooth stretch.\n",
                rounds);
    for (const QSize size : {QSize(800, 480), QSize(1280, 720), QSize(1920, 1080)}) {
        const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        Window warm(size);
        warm.loader.LoadSkin();
        std::vector<double> scaled, stretched, bare, first, reload;
        for (int round = 0; round < rounds; ++round) {
            scaled.push_back(bench::elapsedMs([&] { bareScaledDecode(size); }));
            stretched.push_back(bench::elapsedMs([&] { bareDecodeAndStretch(size); }));
            bare.push_back(std::min(scaled.back(), stretched.back()));
            Window fresh(size);
            first.push_back(bench::elapsedMs([&] { fresh.loader.LoadSkin(); }));
            warm.form.resize(size / 2);
            warm.loader.LoadSkin();
            warm.form.resize(size);
            reload.push_back(bench::elapsedMs([&] { warm.loader.LoadSkin(); }));
        }
        std::printf("bare at %s: scaled decode %.3f ms, decode and stretch %.3f ms\n", qPrintable(at),
                    bench::median(scaled), bench::median(stretched));
        bench::pairedRow(qPrintable("first load " + at), first, bare, "ms", 1.3);
        bench::pairedRow(qPrintable("reload after a resize " + at), reload, bare, "ms", 1.3);

        const int presses = 2000;
        skin::PictureArea& exit = *warm.c.cmdExit;
        QWidget plain;
        plain.resize(size);
        BareChild child(&plain);
        child.setGeometry(exit.pixelRect());
        plain.show();
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
