// The bare program the window is measured against from outside: a top-level window at (0, 0)
// of the given size that decodes the given pictures at its own size, holds them, paints the
// first and, with --bus, listens to the radio service's reports on the session bus.
//   bare_window WIDTH HEIGHT [--bus] PICTURE...
#include "radio/xmradio_names.h"

#include <QApplication>
#include <QDBusConnection>
#include <QImageReader>
#include <QPainter>
#include <QWidget>
#include <vector>

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
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_image); }

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
    Picture window(pictures.front());
    window.setGeometry(QRect(QPoint(0, 0), size));
    window.show();
    return app.exec();
}

#include "bare_window.moc"
