#include "controls.h"

#include <QGuiApplication>
#include <QMouseEvent>
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

void ControlWidget::paintEvent(QPaintEvent* event)
{
    if (m_control)
        m_control->paint(event);
}

// --- Control -------------------------------------------------------------------------------

Control::Control(QString name, int index, ControlWidget* widget, const TwipsScale& scale)
    : m_name(std::move(name))
    , m_index(index)
    , m_widget(widget)
    , m_scale(scale)
{
    m_widget->setObjectName(index < 0 ? m_name : QStringLiteral("%1(%2)").arg(m_name).arg(index));
    m_widget->m_control = this;
}

Control::~Control()
{
    delete m_widget.data();
}

void Control::paint(QPaintEvent*) {}

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
