// The skin's three state images decoded straight into window-sized surfaces on worker threads,
// while the loader goes on with the skin file.
#pragma once

#include <QImage>
#include <QSemaphore>
#include <QSize>
#include <QString>
#include <array>

namespace skin {

// A state image stretched to the window's surface size: bilinear, or averaged over the source
// pixels where it shrinks to less than half, so that thin lines and text stay clean.
QImage StretchToWindow(const QImage& picture, QSize size, qreal devicePixelRatio);

// True where a stretch from picture to size is bilinear: it shrinks to no less than half.
bool StretchesBilinearly(QSize picture, QSize size);

// The size a JPEG picture is best decoded at for a surface of the given size: the smallest of
// a half, a quarter or an eighth of the picture that still covers the surface, or the picture's
// own size. The decoder makes these reductions at a fraction of a full decode's cost; any other
// reduction (7/8, 3/4, ...) costs it more than a full decode and a stretch, and looks softer.
QSize JpegDecodeSize(QSize picture, QSize size);

// A skin image at the given size in device pixels, as RGB32 at the given pixel density, whatever
// the file holds: a JPEG is decoded at its JpegDecodeSize and stretched from there only if that
// is not the size already, band by band as it decodes unless it shrinks to less than half. Sets
// pictureSize to the file's own size, read from its header. A file that cannot be read gives a
// null image and an error naming the file.
QImage DecodeAtSize(const QString& path, QSize size, qreal devicePixelRatio, QSize* pictureSize, QString* error);

// The three state images (0 up, 1 down, 2 on), decoded at the window's size on the worker
// threads. Started when a load begins; each state's result is joined where it is needed, on its
// own. A failure to read an image is kept for its join.
class StateImageWork {
public:
    struct Result {
        QString path;
        // The file's own size.
        QSize pictureSize;
        QImage surface;
        QString error;
    };

    // Starts nothing yet: each state starts with start() or with its join.
    StateImageWork(const QString& skinFolder, QSize size, qreal devicePixelRatio);
    ~StateImageWork();
    StateImageWork(const StateImageWork&) = delete;
    StateImageWork& operator=(const StateImageWork&) = delete;

    void start(int state);
    // Starts every state not started yet, in the order they are needed: up, down, on.
    void startAll();
    // Waits for the decode of one state only.
    Result& join(int state);
    bool isFor(const QString& skinFolder, QSize size, qreal devicePixelRatio) const;
    // Why the first of the files cannot be read, from their headers alone; empty when all can.
    QString unreadable() const;

private:
    void decode(int state);

    QString m_folder;
    QSize m_size;
    qreal m_dpr;
    std::array<Result, 3> m_results;
    std::array<QSemaphore, 3> m_done;
    std::array<bool, 3> m_started{};
    std::array<bool, 3> m_joined{};
};

} // namespace skin
