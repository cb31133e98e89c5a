// Which of the given pictures a virtual X server's screen shows: the share of 1,536 points spread
// over the screen whose colour is that of the picture stretched to the screen, within 40 levels.
// Reads the frame buffer file that Xvfb keeps with -fbdir (an XWD image, 32 bits a pixel).
//   skinonscreen FRAMEBUFFER PICTURE...
// Prints the share of each picture; ends with 0 when the best is at least 0.75, else 1 (the texts
// and the list cover some of the points; the other default skin matches almost none).
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>

namespace {

constexpr double Shown = 0.75;

struct Screen {
    QByteArray file;
    int width = 0, height = 0;
    qsizetype stride = 0, pixels = 0;

    // An XWD header is a row of big-endian 32-bit fields; the colour map follows it.
    quint32 field(int i) const
    {
        const auto* p = reinterpret_cast<const uchar*>(file.constData()) + 4 * i;
        return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
    }
    bool read(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        file = f.readAll();
        if (file.size() < 100 || field(11) != 32)
            return false;
        width = int(field(4));
        height = int(field(5));
        stride = field(12);
        pixels = field(0) + field(19) * 12;
        return pixels + stride * height <= file.size();
    }
    QRgb pixel(int x, int y) const
    {
        const auto* at = reinterpret_cast<const uchar*>(file.constData()) + pixels + y * stride + x * 4;
        return qRgb(at[2], at[1], at[0]);
    }
};

double shareShown(const Screen& screen, const QString& picturePath)
{
    QImageReader reader(picturePath);
    reader.setScaledSize({screen.width, screen.height});
    const QImage picture = reader.read();
    if (picture.isNull())
        return 0;
    int same = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x) {
            const int px = (2 * x + 1) * screen.width / 96, py = (2 * y + 1) * screen.height / 64;
            const QRgb want = picture.pixel(px, py), got = screen.pixel(px, py);
            same += qAbs(qRed(got) - qRed(want)) <= 40 && qAbs(qGreen(got) - qGreen(want)) <= 40 &&
                    qAbs(qBlue(got) - qBlue(want)) <= 40;
        }
    return same / 1536.0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Screen screen;
    if (argc < 3 || !screen.read(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: skinonscreen FRAMEBUFFER PICTURE... (a 32-bit XWD frame buffer)\n");
        return 2;
    }
    double best = 0;
    for (int i = 2; i < argc; ++i) {
        const double share = shareShown(screen, QString::fromLocal8Bit(argv[i]));
        std::printf("%.2f %s\n", share, argv[i]);
        best = qMax(best, share);
    }
    return best >= Shown ? 0 : 1;
}
