// The bare program the window is measured against from outside: a top-level window at (0, 0)
// of the given size that decodes the given pictures at its own size, holds them, paints the
// first and, with --bus, listens to the radio service's reports on the session bus.
//   bare_window WIDTH HEIGHT [--bus] PICTURE...
// Built a second time as bare_window_text_mixer, it also draws a line of text in each font of the
// day skin and holds ALSA's default mixer open: what the skin's texts and the volume cost any
// program, to tell them from the cost of the window itself.
#include "bus/xmradio_names.h"

#include <QApplication>
#include <QDBusConnection>
#include <QImageReader>
#include <QPainter>
#include <QWidget>
#include <vector>
#ifdef BARE_TEXT_AND_MIXER
#include <alsa/asoundlib.h>
#endif

namespace {

class Listener : public QObject {
    Q_OBJECT
public slots:
    void report() { ++m_reports; }

private:
    long m_reports = 0;
};

class Picture : public QWidget {
public:
    explicit Picture(const QImage& image)
        : m_image(image)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_image);
#ifdef BARE_TEXT_AND_MIXER
        // The fonts of the default day skin (DriveDay): family, points, bold, italic.
        const struct {
            const char* family;
            int points;
            bool bold, italic;
        } fonts[] = {{"DejaVu Sans Condensed", 23, false, false},
                     {"DejaVu Sans", 23, false, false},
                     {"DejaVu Sans", 23, true, false},
                     {"DejaVu Sans Condensed", 30, true, false},
                     {"DejaVu Sans Condensed", 11, false, true},
                     {"DejaVu Sans Condensed", 11, false, false},
                     {"DejaVu Sans Condensed", 16, true, false},
                     {"DejaVu Sans Condensed", 23, true, false}};
        int y = 0;
        for (const auto& f : fonts) {
            QFont font(QString::fromLatin1(f.family), f.points, f.bold ? QFont::Bold : QFont::Normal, f.italic);
            painter.setFont(font);
            painter.drawText(8, y += 2 * f.points,
                             QStringLiteral("20 Hits 1 - Artist Name: Track Title (Pop) 3:41 12/07"));
        }
#endif
    }

private:
    const QImage& m_image;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    const QSize size(args[1].toInt(), args[2].toInt());
    bool bus = false;
    std::vector<QImage> pictures;
    for (const QString& arg : args.mid(3)) {
        if (arg == QLatin1String("--bus")) {
            bus = true;
            continue;
        }
        QImageReader reader(arg);
        reader.setScaledSize(size);
        pictures.push_back(reader.read());
    }
    if (pictures.empty() || pictures.front().isNull())
        return 1;
    Listener listener;
    if (bus) {
        QDBusConnection session = QDBusConnection::sessionBus();
        for (const char* name : {"ChannelData", "CurrentChannelData", "ChannelChange", "CurrentTime"})
            session.connect(QString(), QString::fromLatin1(xmradio::ObjectPath),
                            QString::fromLatin1(xmradio::InterfaceName), QString::fromLatin1(name), &listener,
                            SLOT(report()));
    }
#ifdef BARE_TEXT_AND_MIXER
    snd_mixer_t* mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0 || snd_mixer_attach(mixer, "default") < 0 ||
        snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 || snd_mixer_load(mixer) < 0)
        return 3;
#endif
    Picture window(pictures.front());
    window.setGeometry(QRect(QPoint(0, 0), size));
    window.show();
    return app.exec();
}

#include "bare_window.moc"
