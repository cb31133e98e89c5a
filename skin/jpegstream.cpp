#include "jpegstream.h"

#include <QFile>
#include <QPainter>
#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <vector>

namespace skin {

namespace {

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void failJump(j_common_ptr info)
{
    auto* error = reinterpret_cast<ErrorJump*>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

// A truncated file's warning does not stop the decode: its missing rows come out grey, as they
// do from Qt's decoder.
void ignoreMessage(j_common_ptr, int) {}

struct Decode {
    jpeg_decompress_struct info;
    ErrorJump error;
    std::FILE* file;
};

// Rows decoded before they are drawn: enough that Qt's set-up of a draw is small beside the
// drawing, few enough to stay in the cache.
constexpr int BandRows = 32;

// Where a surface row samples the picture's rows: the two it lies between, with pixel centres
// aligned as in Qt's smooth stretch.
struct Tap {
    int first, second;
};

std::vector<Tap> RowTaps(int from, int to)
{
    std::vector<Tap> taps(static_cast<size_t>(to));
    const double step = double(from) / double(to);
    for (int i = 0; i < to; ++i) {
        const int first = int(std::clamp((i + 0.5) * step - 0.5, 0.0, double(from - 1)));
        taps[size_t(i)] = {first, std::min(first + 1, from - 1)};
    }
    return taps;
}

// Decoded rows of the picture, from top to top + filled.
struct Band {
    uchar* rows;
    int filled, top;
    int width, bytesPerLine;
};

// Qt's smooth stretch of the band into the surface rows from to to, which sample only rows the
// band holds: the pixels of a stretch of the whole picture, with a band's memory.
void DrawBand(QPainter& painter, const Band& band, const QTransform& scale, int from, int to)
{
    if (from == to)
        return;
    const QImage rows(band.rows, band.width, band.filled, band.bytesPerLine, QImage::Format_RGB32);
    painter.resetTransform();
    painter.setClipRect(QRect(0, from, painter.device()->width(), to - from));
    painter.setTransform(scale);
    painter.drawImage(QPointF(0, band.top), rows);
}

// libjpeg reports a failure by jumping back into the function that called it, so each stage that
// calls it is a frame of its own with nothing in it to destroy.

// Reads the header and sets the decode's colours and reduction. False with the message set when
// the file is broken; CMYK pictures are left to Qt, which knows their inversions.
bool ReadHeader(Decode& d, int reduction, bool* qtDecodes)
{
    if (setjmp(d.error.jump))
        return false;
    jpeg_create_decompress(&d.info);
    jpeg_stdio_src(&d.info, d.file);
    jpeg_read_header(&d.info, TRUE);
    *qtDecodes = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = JCS_EXT_BGRX;
    d.info.scale_num = 1;
    d.info.scale_denom = unsigned(reduction);
    jpeg_calc_output_dimensions(&d.info);
    return true;
}

// Decodes a band of rows at a time and draws each band into the surface rows whose two
// neighbours it holds; the rows the next surface row still needs move to the band's start.
bool DecodeRows(Decode& d, Band& band, const Tap* taps, QPainter& painter, const QTransform& scale)
{
    if (setjmp(d.error.jump))
        return false;
    jpeg_start_decompress(&d.info);
    const int height = painter.device()->height(), end = int(d.info.output_height);
    for (int y = 0; y < height;) {
        while (band.filled < BandRows && band.top + band.filled < end) {
            JSAMPROW row = band.rows + band.filled * band.bytesPerLine;
            const int read = int(jpeg_read_scanlines(&d.info, &row, 1));
            if (read == 0) {
                std::snprintf(d.error.message, sizeof d.error.message, "its rows end early");
                return false;
            }
            band.filled += read;
        }
        const int from = y;
        while (y < height && taps[y].second < band.top + band.filled)
            ++y;
        DrawBand(painter, band, scale, from, y);
        const int keep = std::max(0, band.top + band.filled - (y < height ? taps[y].first : end));
        std::memmove(band.rows, band.rows + (band.filled - keep) * band.bytesPerLine,
                     size_t(keep) * size_t(band.bytesPerLine));
        band.top += band.filled - keep;
        band.filled = keep;
    }
    jpeg_abort_decompress(&d.info);
    return true;
}

// The picture decodes at the surface's size: its rows go straight into the surface.
bool DecodeInto(Decode& d, QImage& surface)
{
    if (setjmp(d.error.jump))
        return false;
    jpeg_start_decompress(&d.info);
    for (int y = 0; y < surface.height();) {
        JSAMPROW row = surface.scanLine(y);
        const int read = int(jpeg_read_scanlines(&d.info, &row, 1));
        if (read == 0) {
            std::snprintf(d.error.message, sizeof d.error.message, "its rows end early");
            return false;
        }
        y += read;
    }
    jpeg_abort_decompress(&d.info);
    return true;
}

std::optional<QImage> StreamOpened(Decode& d, int reduction, QSize size)
{
    bool qtDecodes = false;
    if (!ReadHeader(d, reduction, &qtDecodes))
        return QImage();
    if (qtDecodes)
        return std::nullopt;
    const int width = int(d.info.output_width), height = int(d.info.output_height);
    QImage surface(size, QImage::Format_RGB32);
    if (surface.isNull()) {
        std::snprintf(d.error.message, sizeof d.error.message, "not enough memory");
        return QImage();
    }
    if (QSize(width, height) == size)
        return DecodeInto(d, surface) ? surface : QImage();
    std::vector<uchar> rows(size_t(width) * 4 * BandRows);
    Band band{rows.data(), 0, 0, width, width * 4};
    const std::vector<Tap> taps = RowTaps(height, size.height());
    QPainter painter(&surface);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QTransform scale = QTransform::fromScale(double(size.width()) / width, double(size.height()) / height);
    if (!DecodeRows(d, band, taps.data(), painter, scale))
        return QImage();
    painter.end();
    return surface;
}

} // namespace

std::optional<QImage> StreamJpegToSize(const QString& path, int reduction, QSize size, QString* error)
{
    Decode d{};
    d.file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!d.file) {
        *error = QStringLiteral("The skin image %1 cannot be read: %2.")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return QImage();
    }
    d.info.err = jpeg_std_error(&d.error.manager);
    d.error.manager.error_exit = failJump;
    d.error.manager.emit_message = ignoreMessage;
    std::optional<QImage> surface = StreamOpened(d, reduction, size);
    jpeg_destroy_decompress(&d.info);
    std::fclose(d.file);
    if (surface && surface->isNull())
        *error =
            QStringLiteral("The skin image %1 cannot be read: %2.").arg(path, QString::fromLatin1(d.error.message));
    return surface;
}

} // namespace skin
