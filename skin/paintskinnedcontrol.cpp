#include "paintskinnedcontrol.h"

#include "skin/radioxmcontrols.h"

#include <cmath>

namespace skin {

const PictureArea* SurfaceFor(const RadioXMControls& window, qint16 state)
{
    switch (state) {
    case StateUp: return window.pctUp.get();
    case StateDown: return window.pctDown.get();
    case StateOn: return window.pctOn.get();
    default: return nullptr;
    }
}

void CopySurfacePiece(const PictureArea& surface, PictureArea& target, float windowLeft, float windowTop,
                      const TwipsScale& scale)
{
    const QImage image = surface.surface();
    const qreal dpr = image.devicePixelRatio();
    const QRect size = target.pixelRect();
    const auto device = [dpr](int v) { return int(std::lround(v * dpr)); };
    const QRect source(device(scale.toPixelsX(windowLeft)), device(scale.toPixelsY(windowTop)), device(size.width()),
                       device(size.height()));
    target.drawFrom(image, source);
}

namespace {

void paintFrom(const PictureArea* surface, PictureArea& target, const TwipsScale& scale)
{
    if (surface)
        CopySurfacePiece(*surface, target, target.Left(), target.Top(), scale);
    target.Refresh();
}

} // namespace

void PaintSkinnedControl(const RadioXMControls& window, PictureArea& target, qint16 state, const TwipsScale& scale)
{
    paintFrom(SurfaceFor(window, state), target, scale);
}

ButtonPainter::ButtonPainter(const RadioXMControls& window, const TwipsScale& scale)
    : m_surfaces{window.pctUp.get(), window.pctDown.get(), window.pctOn.get()}
    , m_scale(scale)
{
}

void ButtonPainter::paint(PictureArea& target, qint16 state) const
{
    paintFrom(state >= StateUp && state <= StateOn ? m_surfaces[size_t(state)] : nullptr, target, m_scale);
}

} // namespace skin
