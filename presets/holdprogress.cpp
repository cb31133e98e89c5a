#include "holdprogress.h"

#include <QPainter>
#include <algorithm>

namespace presets {
namespace {

// A tap is over before this: it looks as it always did.
constexpr int TapMs = 250;
constexpr int FrameMs = 40;
constexpr int Opacity = 90;

} // namespace

HoldProgress::HoldProgress(QWidget& face, QColor colour, int holdMs)
    : QWidget(&face)
    , m_colour(colour)
    , m_holdMs(std::max(1, holdMs))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_colour.setAlpha(Opacity);
    setGeometry(face.rect());
    m_held.start();
    connect(&m_frames, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_frames.start(FrameMs);
    raise();
    show();
}

void HoldProgress::paintEvent(QPaintEvent*)
{
    const qint64 held = m_held.elapsed();
    if (held < TapMs)
        return;
    const double share = std::min(1.0, double(held) / m_holdMs);
    QPainter(this).fillRect(QRectF(0, 0, width() * share, height()), m_colour);
}

} // namespace presets
