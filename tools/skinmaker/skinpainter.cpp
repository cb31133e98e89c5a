// The painter of the state images. Design measures (corner radii, margins, caption sizes) are
// given in pixels of the 480-pixel-high design window and scaled to the image.
#include "skinpainter.h"

#include "icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skinmaker {

namespace {

const QString CaptionFont = QStringLiteral("DejaVu Sans Condensed");

// Converts design measures to pixels of one image.
class Canvas {
public:
    explicit Canvas(QSize size)
        : m_size(size)
        , m_unit(std::min(size.width() / 800.0, size.height() / 480.0))
    {
    }
    QRectF px(const PercentRect& rect) const { return QRectF(rect.toPixels(m_size)); }
    double u(double designPixels) const { return designPixels * m_unit; }
    QSize size() const { return m_size; }

private:
    QSize m_size;
    double m_unit;
};

QPainterPath rounded(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QLinearGradient vertical(const QRectF& rect, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QFont captionFont(const Canvas& canvas, double designPixels, bool bold = true)
{
    QFont font(CaptionFont);
    font.setPixelSize(std::max(1, int(std::lround(canvas.u(designPixels)))));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// ---- background -------------------------------------------------------------------------

void paintPanel(QPainter& p, const Palette& pal, const Canvas& c, const QRectF& rect)
{
    const double radius = c.u(10);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, pal.name == QLatin1String("day") ? 40 : 90));
    p.drawPath(rounded(rect.translated(0, c.u(2)), radius));
    p.setBrush(pal.panel);
    p.setPen(QPen(pal.panelBorder, c.u(1)));
    p.drawPath(rounded(rect, radius));
}

void paintWell(QPainter& p, const Palette& pal, const Canvas& c, const QRectF& rect)
{
    p.setBrush(pal.well);
    p.setPen(QPen(pal.wellBorder, c.u(1)));
    p.drawPath(rounded(rect, c.u(5)));
}

// The list's rows lie on a plain fill, a hairline in the middle of each gap between two columns.
void paintListFill(QPainter& p, const SkinDescription& skin, const Canvas& c)
{
    const Palette& pal = skin.palette;
    const QRectF area = c.px(skin.list.area);
    p.fillRect(area, pal.listBack);
    p.setPen(QPen(pal.separator, std::max(1.0, c.u(1))));
    for (size_t i = 1; i < ListColumns.size(); ++i) {
        const double gapMiddle = (ListColumns[i - 1].left + ListColumns[i - 1].width + ListColumns[i].left) / 2;
        const double x = area.left() + gapMiddle * area.width();
        p.drawLine(QPointF(x, area.top() + c.u(2)), QPointF(x, area.bottom() - c.u(2)));
    }
}

void paintSignalCaptions(QPainter& p, const SkinDescription& skin, const Canvas& c)
{
    p.setFont(captionFont(c, 12));
    p.setPen(skin.palette.caption);
    for (const SignalBar& bar : skin.signalBars)
        p.drawText(c.px(bar.captionRect), Qt::AlignLeft | Qt::AlignVCenter, bar.caption);
}

void paintBackground(QPainter& p, const SkinDescription& skin, const Canvas& c)
{
    const QRectF all(QPointF(0, 0), QSizeF(c.size()));
    p.fillRect(all, vertical(all, skin.palette.windowTop, skin.palette.windowBottom));
    for (const PercentRect& card : skin.cards)
        paintPanel(p, skin.palette, c, c.px(card));
    paintListFill(p, skin, c);
    for (const PercentRect& well : skin.wells)
        paintWell(p, skin.palette, c, c.px(well));
    paintSignalCaptions(p, skin, c);
}

// ---- faces ------------------------------------------------------------------------------

struct FaceColours {
    QColor top, bottom, border, icon, caption;
};

FaceColours faceColours(const Palette& pal, ButtonState state)
{
    switch (state) {
    case ButtonState::Down:
        return {pal.pressedTop, pal.pressedBottom, pal.pressedBorder, pal.pressedIcon, pal.pressedIcon};
    case ButtonState::On: return {pal.onTop, pal.onBottom, pal.onBorder, pal.onIcon, pal.onIcon};
    case ButtonState::Up: break;
    }
    return {pal.buttonTop, pal.buttonBottom, pal.buttonBorder, pal.icon, pal.caption};
}

// The accent glow of the on state, fading outwards into the face's margin.
void paintGlow(QPainter& p, const Palette& pal, const Canvas& c, const QRectF& face, double radius)
{
    const int rings = 4;
    for (int i = rings; i >= 1; --i) {
        const double grow = c.u(3) * i / rings;
        p.setPen(QPen(withAlpha(pal.glow, 150 / i), c.u(1.2)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(rounded(face.adjusted(-grow, -grow, grow, grow), radius + grow));
    }
}

// Darkening at the top edge of a pressed face: it looks pushed in.
void paintInnerShadow(QPainter& p, const Canvas& c, const QPainterPath& facePath, const QRectF& face)
{
    QLinearGradient shade(face.topLeft(), face.topLeft() + QPointF(0, c.u(10)));
    shade.setColorAt(0, QColor(0, 0, 0, 90));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(facePath);
}

void paintFaceBody(QPainter& p, const Palette& pal, const Canvas& c, const QRectF& face, ButtonState state)
{
    const double radius = c.u(9);
    const FaceColours colours = faceColours(pal, state);
    const QPainterPath path = rounded(face, radius);
    if (state == ButtonState::Up) {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(Qt::black, pal.name == QLatin1String("day") ? 55 : 110));
        p.drawPath(rounded(face.translated(0, c.u(1.5)), radius));
    }
    if (state == ButtonState::On)
        paintGlow(p, pal, c, face, radius);
    p.setBrush(vertical(face, colours.top, colours.bottom));
    p.setPen(QPen(colours.border, c.u(state == ButtonState::On ? 1.6 : 1)));
    p.drawPath(path);
    if (state == ButtonState::Down) {
        paintInnerShadow(p, c, path, face);
    } else {
        p.setPen(QPen(pal.buttonHighlight, c.u(1)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(rounded(face.adjusted(c.u(1.5), c.u(1.5), -c.u(1.5), -c.u(1.5)), radius - c.u(1.5)));
    }
}

void paintFaceContent(QPainter& p, const ButtonFace& face, const Palette& pal, const Canvas& c, const QRectF& body,
                      ButtonState state)
{
    const FaceColours colours = faceColours(pal, state);
    // A pressed face's content sinks a little, with the face.
    const QRectF content = state == ButtonState::Down ? body.translated(0, c.u(1.5)) : body;
    const Icon icon = state == ButtonState::On && face.onIcon != Icon::None ? face.onIcon : face.icon;
    if (face.caption.isEmpty()) {
        drawIcon(p, icon, content.adjusted(c.u(10), c.u(10), -c.u(10), -c.u(10)), colours.icon);
        return;
    }
    p.setFont(captionFont(c, face.captionSize));
    p.setPen(colours.caption);
    if (!face.captionBox.isEmpty()) {
        // A caption of its own place, beside what the program shows on the face.
        const QRectF faceRect = c.px(face.rect);
        const QRectF box = QRectF(face.captionBox.toPixels(faceRect.size().toSize()))
                               .translated(faceRect.topLeft() + (content.topLeft() - body.topLeft()));
        p.drawText(box, Qt::AlignCenter, face.caption);
        // A hairline keeps the caption apart from the program's text beside it.
        p.setPen(QPen(withAlpha(colours.border, 150), c.u(1)));
        const double x = box.right();
        p.drawLine(QPointF(x, content.top() + c.u(12)), QPointF(x, content.bottom() - c.u(12)));
        return;
    }
    if (icon == Icon::None) {
        // A preset: the caption at the top; the program shows the channel number below it.
        const QRectF top(content.left(), content.top() + c.u(3), content.width(), c.u(face.captionSize + 7));
        p.drawText(top, Qt::AlignCenter, face.caption);
        return;
    }
    const QRectF iconBox(content.left(), content.top() + c.u(8), content.width(), content.height() * 0.5);
    drawIcon(p, icon, iconBox, colours.icon);
    const QRectF below(content.left(), iconBox.bottom() + c.u(2), content.width(), c.u(face.captionSize + 5));
    p.drawText(below, Qt::AlignCenter, face.caption);
}

void paintButton(QPainter& p, const ButtonFace& face, const Palette& pal, const Canvas& c, ButtonState state)
{
    const QRectF body = c.px(face.rect).adjusted(c.u(3.5), c.u(3), -c.u(3.5), -c.u(4));
    paintFaceBody(p, pal, c, body, state);
    paintFaceContent(p, face, pal, c, body, state);
}

QColor grooveColour(const Palette& pal, ButtonState state)
{
    switch (state) {
    case ButtonState::Down: return pal.pressedGroove;
    case ButtonState::On: return pal.onGroove;
    case ButtonState::Up: break;
    }
    return pal.groove;
}

// A track is a groove along the middle of its rectangle; the program moves a thumb over it.
void paintTrack(QPainter& p, const ButtonFace& face, const Palette& pal, const Canvas& c, ButtonState state)
{
    const QRectF r = c.px(face.rect);
    QRectF groove;
    if (face.kind == FaceKind::VerticalTrack) {
        const double w = r.width() * 0.36;
        groove = QRectF(r.center().x() - w / 2, r.top() + c.u(2), w, r.height() - c.u(4));
    } else {
        const double h = r.height() * 0.44;
        groove = QRectF(r.left() + c.u(2), r.center().y() - h / 2, r.width() - c.u(4), h);
    }
    const double radius = std::min(groove.width(), groove.height()) / 2;
    p.setPen(QPen(state == ButtonState::On ? pal.onBorder : pal.wellBorder, c.u(1)));
    p.setBrush(grooveColour(pal, state));
    p.drawPath(rounded(groove, radius));
    if (state == ButtonState::Down)
        paintInnerShadow(p, c, rounded(groove, radius), groove);
}

void paintFace(QPainter& p, const ButtonFace& face, const Palette& pal, const Canvas& c, ButtonState state)
{
    p.save();
    // Nothing of a face may reach beyond its rectangle: outside it the three images must agree.
    p.setClipRect(c.px(face.rect));
    if (face.kind == FaceKind::Button)
        paintButton(p, face, pal, c, state);
    else
        paintTrack(p, face, pal, c, state);
    p.restore();
}

// ---- thumbs -----------------------------------------------------------------------------

QImage transparentImage(QSize size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

struct ThumbColours {
    QColor top, bottom, border, grip;
};

ThumbColours thumbColours(const Palette& pal, bool held)
{
    if (held)
        return {pal.heldThumbTop, pal.heldThumbBottom, pal.heldThumbBorder, pal.heldThumbGrip};
    return {pal.thumbTop, pal.thumbBottom, pal.thumbBorder, pal.thumbGrip};
}

} // namespace

const QImage& SkinImages::state(ButtonState s) const
{
    switch (s) {
    case ButtonState::Down: return down;
    case ButtonState::On: return on;
    case ButtonState::Up: break;
    }
    return up;
}

QImage paintStateImage(const SkinDescription& skin, ButtonState state, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    const Canvas canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(p, skin, canvas);
    for (const ButtonFace& face : allFaces(skin))
        paintFace(p, face, skin.palette, canvas, state);
    return image;
}

QImage paintListThumb(const SkinDescription& skin, bool held, QSize windowSize)
{
    const Canvas c(windowSize);
    const QSize size = PercentRect{0, 0, skin.list.sliderWidth, skin.list.sliderHeight}.toPixels(windowSize).size();
    QImage image = transparentImage(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const ThumbColours colours = thumbColours(skin.palette, held);
    const QRectF body = QRectF(QPointF(0, 0), QSizeF(image.size())).adjusted(c.u(1), c.u(1), -c.u(1), -c.u(1));
    p.setBrush(vertical(body, colours.top, colours.bottom));
    p.setPen(QPen(colours.border, c.u(1)));
    p.drawPath(rounded(body, c.u(6)));
    p.setPen(QPen(colours.grip, std::max(1.0, c.u(1.5)), Qt::SolidLine, Qt::RoundCap));
    const double half = body.width() * 0.22;
    for (int i = -1; i <= 1; ++i) {
        const double y = body.center().y() + i * c.u(5);
        p.drawLine(QPointF(body.center().x() - half, y), QPointF(body.center().x() + half, y));
    }
    return image;
}

QImage paintTimeThumb(const SkinDescription& skin, bool held, QSize windowSize)
{
    const Canvas c(windowSize);
    const QSize size =
        PercentRect{0, 0, skin.timeSlider.sliderWidth, skin.timeSlider.sliderHeight}.toPixels(windowSize).size();
    QImage image = transparentImage(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const ThumbColours colours = thumbColours(skin.palette, held);
    const QRectF body = QRectF(QPointF(0, 0), QSizeF(image.size())).adjusted(c.u(1), c.u(1), -c.u(1), -c.u(1));
    QRadialGradient shine(body.center() - QPointF(body.width() * 0.15, body.height() * 0.2), body.width() * 0.7);
    shine.setColorAt(0, colours.top.lighter(130));
    shine.setColorAt(1, colours.bottom);
    p.setBrush(shine);
    p.setPen(QPen(colours.border, c.u(1)));
    p.drawEllipse(body);
    p.setPen(Qt::NoPen);
    p.setBrush(colours.grip);
    const double dot = body.width() * 0.22;
    p.drawEllipse(body.center(), dot / 2, dot / 2);
    return image;
}

SkinImages renderSkin(const SkinDescription& skin, QSize size)
{
    SkinImages images;
    images.up = paintStateImage(skin, ButtonState::Up, size);
    images.down = paintStateImage(skin, ButtonState::Down, size);
    images.on = paintStateImage(skin, ButtonState::On, size);
    images.listThumbUp = paintListThumb(skin, false, size);
    images.listThumbDown = paintListThumb(skin, true, size);
    images.timeThumbUp = paintTimeThumb(skin, false, size);
    images.timeThumbDown = paintTimeThumb(skin, true, size);
    return images;
}

} // namespace skinmaker
