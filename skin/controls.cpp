#include "controls.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <utility>

namespace skin {

QColor toQColor(Colour colour)
{
    if (colour == SystemWindowBackground)
        return QGuiApplication::palette().color(QPalette::Base);
    if (colour == SystemWindowText)
        return QGuiApplication::palette().color(QPalette::Text);
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

TwipsScale TwipsScale::forWidget(const QWidget* widget)
{
    const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {float(1440.0 / screen->logicalDotsPerInchX()), float(1440.0 / screen->logicalDotsPerInchY())};
}

int TwipsScale::toPixelsX(float twips) const
{
    return int(std::lround(double(twips) / double(x)));
}
int TwipsScale::toPixelsY(float twips) const
{
    return int(std::lround(double(twips) / double(y)));
}

// --- ControlWidget -------------------------------------------------------------------------

ControlWidget::ControlWidget(QWidget* parent, const TwipsScale& scale)
    : QWidget(parent)
    , m_scale(scale)
{
}

void ControlWidget::stackAsWindowless()
{
    raise();
    for (QObject* sibling : parentWidget()->children()) {
        auto* control = qobject_cast<ControlWidget*>(sibling);
        if (control && control != this && control->windowed) {
            stackUnder(control);
            return;
        }
    }
}

MouseArgs ControlWidget::argsOf(QMouseEvent* event) const
{
    int button = 0;
    switch (event->button() == Qt::NoButton ? Qt::MouseButton(int(event->buttons()) & 7) : event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    const QPointF p = event->position();
    return {button, float(p.x() * m_scale.x), float(p.y() * m_scale.y)};
}

void ControlWidget::mousePressEvent(QMouseEvent* event)
{
    if (handlers.mouseDown)
        handlers.mouseDown(argsOf(event));
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    // A handler may delete this widget (an unloaded list row), so keep a guard.
    QPointer<ControlWidget> self(this);
    const bool inside = rect().contains(event->position().toPoint());
    const bool afterDoubleClick = std::exchange(m_doubleClicked, false);
    if (handlers.mouseUp)
        handlers.mouseUp(argsOf(event));
    // The release that ends a double-click raises no second Click.
    if (self && inside && !afterDoubleClick && handlers.click)
        handlers.click();
}

void ControlWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (handlers.mouseMove)
        handlers.mouseMove(argsOf(event));
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (handlers.dblClick) {
        m_doubleClicked = true;
        handlers.dblClick();
    } else
        mousePressEvent(event);
}

void ControlWidget::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (handlers.lostFocus)
        handlers.lostFocus();
}

// --- Control -------------------------------------------------------------------------------

Control::Control(QString name, int index, ControlWidget* widget, const TwipsScale& scale)
    : m_name(std::move(name))
    , m_index(index)
    , m_widget(widget)
    , m_scale(scale)
{
    m_widget->setObjectName(index < 0 ? m_name : QStringLiteral("%1(%2)").arg(m_name).arg(index));
}

Control::~Control()
{
    delete m_widget.data();
}

void Control::setLeft(float twips)
{
    m_left = twips;
    applyGeometry();
}

void Control::setTop(float twips)
{
    m_top = twips;
    applyGeometry();
}

void Control::setWidth(float twips)
{
    m_width = twips;
    applyGeometry();
}

void Control::setHeight(float twips)
{
    m_height = twips;
    applyGeometry();
}

void Control::Move(float left, float top, float width, float height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    applyGeometry();
}

void Control::setVisible(bool visible)
{
    m_visible = visible;
    m_widget->setVisible(visible);
}

QRect Control::pixelRect() const
{
    return {m_scale.toPixelsX(m_left), m_scale.toPixelsY(m_top), qMax(0, m_scale.toPixelsX(m_width)),
            qMax(0, m_scale.toPixelsY(m_height))};
}

void Control::applyGeometry()
{
    const QRect r = pixelRect();
    if (m_widget->geometry() != r)
        m_widget->setGeometry(r);
}

// --- Label ---------------------------------------------------------------------------------

class Label::Widget : public ControlWidget {
public:
    Widget(QWidget* parent, const TwipsScale& scale, Label& label)
        : ControlWidget(parent, scale)
        , m_label(label)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (m_label.m_backStyle == BackStyle::Opaque)
            p.fillRect(rect(), toQColor(m_label.m_backColor));
        if (m_label.m_caption.isEmpty())
            return;
        p.setFont(m_label.m_font);
        p.setPen(toQColor(m_label.m_foreColor));
        int flags = Qt::AlignTop;
        switch (m_label.m_alignment) {
        case Alignment::Left: flags |= Qt::AlignLeft; break;
        case Alignment::Right: flags |= Qt::AlignRight; break;
        case Alignment::Centre: flags |= Qt::AlignHCenter; break;
        }
        // A fixed-size label wraps its text at word boundaries and cuts what does not fit; an
        // auto-sized one is always exactly one line wide.
        if (!m_label.m_autoSize)
            flags |= Qt::TextWordWrap;
        p.drawText(rect(), flags, m_label.m_caption);
    }

private:
    Label& m_label;
};

Label::Label(QString name, int index, QWidget* container, const TwipsScale& scale)
    : Control(std::move(name), index, new Widget(container, scale, *this), scale)
    , m_view(static_cast<Widget*>(widget()))
{
    m_font.setPointSizeF(m_fontSize);
    m_view->setFont(m_font);
    m_view->stackAsWindowless();
    m_view->show();
}

Label::~Label()
{
    if (m_measure)
        m_measure->m_waiting.erase(this);
}

void TextMeasure::release()
{
    m_held = false;
    const std::set<Label*> waiting = std::exchange(m_waiting, {});
    for (Label* label : waiting)
        label->fitToText();
}

void Label::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    fitToText();
    m_view->update();
}

void Label::setCaption(const QString& caption, float minWidth)
{
    if (caption == m_caption) {
        if (Width() < minWidth)
            setWidth(minWidth);
        return;
    }
    m_caption = caption;
    float width = Width();
    float height = Height();
    if (m_autoSize && m_measure && m_measure->held()) {
        m_measure->m_waiting.insert(this);
        m_view->update();
        return;
    }
    if (m_autoSize) {
        const QFontMetricsF metrics(m_font, m_view);
        width = float(std::ceil(metrics.horizontalAdvance(m_caption))) * scale().x;
        height = float(std::ceil(metrics.height())) * scale().y;
    }
    Move(Left(), Top(), std::max(width, minWidth), height);
    m_view->update();
}

void Label::setFont(const QString& name, float points, bool bold, bool italic, bool underline)
{
    m_fontSize = points;
    m_font.setFamily(name);
    m_font.setPointSizeF(qMax(0.5, double(points)));
    m_font.setBold(bold);
    m_font.setItalic(italic);
    m_font.setUnderline(underline);
    restyle();
}

void Label::setForeColor(Colour colour)
{
    if (colour == m_foreColor)
        return;
    m_foreColor = colour;
    m_view->update();
}

void Label::setBackColor(Colour colour)
{
    if (colour == m_backColor)
        return;
    m_backColor = colour;
    m_view->update();
}

void Label::setBackStyle(skin::BackStyle style)
{
    if (style == m_backStyle)
        return;
    m_backStyle = style;
    m_view->update();
}

void Label::setAlignment(skin::Alignment alignment)
{
    m_alignment = alignment;
    m_view->update();
}

void Label::setAutoSize(bool on)
{
    m_autoSize = on;
    fitToText();
}

void Label::copyPropertiesFrom(const Label& other)
{
    m_caption = other.m_caption;
    m_font = other.m_font;
    m_fontSize = other.m_fontSize;
    m_foreColor = other.m_foreColor;
    m_backColor = other.m_backColor;
    m_backStyle = other.m_backStyle;
    m_alignment = other.m_alignment;
    m_autoSize = other.m_autoSize;
    m_tag = other.m_tag;
    m_view->setFont(m_font);
    Move(other.Left(), other.Top(), other.Width(), other.Height());
    m_view->update();
}

void Label::restyle()
{
    m_view->setFont(m_font);
    fitToText();
    m_view->update();
}

void Label::fitToText()
{
    if (!m_autoSize)
        return;
    if (m_measure && m_measure->held()) {
        m_measure->m_waiting.insert(this);
        return;
    }
    const QFontMetricsF metrics(m_font, m_view);
    const float w = float(std::ceil(metrics.horizontalAdvance(m_caption))) * scale().x;
    const float h = float(std::ceil(metrics.height())) * scale().y;
    if (w != Width() || h != Height()) {
        setWidth(w);
        setHeight(h);
    }
}

// --- PictureArea ---------------------------------------------------------------------------

class PictureArea::Widget : public ControlWidget {
public:
    Widget(QWidget* parent, const TwipsScale& scale, PictureArea& area)
        : ControlWidget(parent, scale)
        , m_area(area)
    {
        windowed = true;
        // Not marked opaque, although it paints every pixel: with many opaque children Qt spends
        // more on working out what they cover than on painting the few pixels beneath them.
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QRect r = event->rect();
        QPainter p(this);
        if (m_area.m_image.isNull()) {
            p.fillRect(r, toQColor(m_area.m_backColor));
            return;
        }
        m_area.fitSurface();
        const QImage& image = m_area.m_image;
        const qreal dpr = image.devicePixelRatio();
        p.drawImage(r, image,
                    QRectF(QPointF(m_area.m_piece.topLeft()) + QPointF(r.topLeft()) * dpr, QSizeF(r.size()) * dpr));
    }

private:
    PictureArea& m_area;
};

PictureArea::PictureArea(QString name, int index, QWidget* container, const TwipsScale& scale)
    : Control(std::move(name), index, new Widget(container, scale, *this), scale)
    , m_view(static_cast<Widget*>(widget()))
{
    m_view->show();
}

QWidget* PictureArea::container() const
{
    return m_view;
}

void PictureArea::setBackColor(Colour colour)
{
    // The fill covers everything: the area keeps no pixels until something is drawn into it.
    m_backColor = colour;
    m_image = QImage();
    m_piece = QRect();
    m_view->update();
}

QImage PictureArea::filled(QSize size, qreal dpr) const
{
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(toQColor(m_backColor));
    return image;
}

QImage PictureArea::surface() const
{
    if (m_image.isNull())
        return filled(surfaceSize(m_view->devicePixelRatioF()), m_view->devicePixelRatioF());
    fitSurface();
    if (showsWholeImage())
        return m_image;
    QImage piece = m_image.copy(m_piece);
    piece.setDevicePixelRatio(m_image.devicePixelRatio());
    return piece;
}

void PictureArea::setSurface(QImage image)
{
    m_image = std::move(image);
    m_piece = m_image.rect();
    m_view->update();
}

bool PictureArea::showsPieceOf(const QImage& image) const
{
    return !image.isNull() && m_image.cacheKey() == image.cacheKey();
}

void PictureArea::drawFrom(const QImage& source, const QRect& sourceRect)
{
    const qreal dpr = m_view->devicePixelRatioF();
    const QSize wanted = surfaceSize(dpr);
    if (sourceRect.size() == wanted && source.rect().contains(sourceRect) && source.devicePixelRatio() == dpr &&
        source.format() == QImage::Format_RGB32) {
        // Nothing of what was there stays visible: the area shows the piece from the source.
        m_image = source;
        m_piece = sourceRect;
        return;
    }
    if (sourceRect.size() == wanted && m_piece.size() != wanted) {
        // The copy covers the whole surface: nothing of what was there is kept. Where the source
        // is smaller (a skin that never loaded), the rest shows the back colour, not stray memory.
        m_image = QImage(wanted, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(dpr);
        m_piece = m_image.rect();
        if (!source.rect().contains(sourceRect))
            m_image.fill(toQColor(m_backColor));
    }
    if (m_image.isNull()) {
        m_image = filled(wanted, dpr);
        m_piece = m_image.rect();
    }
    fitSurface();
    ownSurface();
    QPainter p(&m_image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(sourceRect.size()) / dpr), source, sourceRect);
}

void PictureArea::Refresh()
{
    // The area paints every pixel of its rectangle, so a repaint of the area alone needs nothing
    // beneath it: marked opaque for just this repaint, Qt skips the background and the window
    // under it, which halves the cost of a button press. Other repaints keep it unmarked.
    m_view->setAttribute(Qt::WA_OpaquePaintEvent, true);
    m_view->repaint();
    m_view->setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QSize PictureArea::surfaceSize(qreal dpr) const
{
    return (QSizeF(pixelRect().size()) * dpr).toSize().expandedTo(QSize(1, 1));
}

void PictureArea::ownSurface()
{
    if (showsWholeImage())
        return;
    QImage piece = m_image.copy(m_piece);
    piece.setDevicePixelRatio(m_image.devicePixelRatio());
    m_image = std::move(piece);
    m_piece = m_image.rect();
}

void PictureArea::fitSurface() const
{
    // What was drawn stays at its place; new parts show the back colour. An area with nothing
    // drawn into it shows only the back colour, at any size.
    const qreal dpr = m_view->devicePixelRatioF();
    const QSize size = surfaceSize(dpr);
    if (m_image.isNull() || (m_piece.size() == size && qFuzzyCompare(m_image.devicePixelRatio(), dpr)))
        return;
    QImage next = filled(size, dpr);
    QPainter p(&next);
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(m_piece.size()) / m_image.devicePixelRatio()), m_image, m_piece);
    p.end();
    m_image = std::move(next);
    m_piece = m_image.rect();
}

// --- ImageControl --------------------------------------------------------------------------

class ImageControl::Widget : public ControlWidget {
public:
    Widget(QWidget* parent, const TwipsScale& scale, ImageControl& image)
        : ControlWidget(parent, scale)
        , m_image(image)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_image.m_picture.isNull())
            return;
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), m_image.m_picture);
    }

private:
    ImageControl& m_image;
};

ImageControl::ImageControl(QString name, int index, QWidget* container, const TwipsScale& scale)
    : Control(std::move(name), index, new Widget(container, scale, *this), scale)
    , m_view(static_cast<Widget*>(widget()))
{
    m_view->stackAsWindowless();
    m_view->show();
}

void ImageControl::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    m_view->update();
}

// --- Timer ---------------------------------------------------------------------------------

Timer::Timer(QString name, int intervalMs, bool enabled, QObject* parent)
    : QObject(parent)
    , m_name(std::move(name))
{
    setObjectName(m_name);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Timer::tick);
    if (enabled)
        m_timer.start();
}

void Timer::setInterval(int ms)
{
    if (ms == m_timer.interval())
        return;
    const bool running = m_timer.isActive();
    m_timer.setInterval(ms);
    if (running)
        m_timer.start();
}

void Timer::setEnabled(bool enabled)
{
    if (enabled && !m_timer.isActive())
        m_timer.start();
    else if (!enabled)
        m_timer.stop();
}

// --- CursorDisplay -------------------------------------------------------------------------

int CursorDisplay::ShowCursor(bool show)
{
    const bool wasHidden = m_count < 0;
    m_count += show ? 1 : -1;
    const bool hidden = m_count < 0;
    if (hidden && !wasHidden)
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    else if (!hidden && wasHidden)
        QGuiApplication::restoreOverrideCursor();
    return m_count;
}

} // namespace skin
