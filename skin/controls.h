// What every control of the window shares: colours, the twips scale, mouse events, the widget
// behind a control and its geometry; with them timers, indexed groups and the pointer's counter.
// Each control keeps its geometry in twips as single-precision values, exactly as the layout
// arithmetic computes them, and shows itself through a Qt widget placed at the matching pixels.
// The kinds of control that paint (labels, picture areas, images) have headers of their own.
#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

namespace skin {

// Colours as the window's controls store them: 0x00BBGGRR; values with the top bit set name the
// system's window-background (0x80000005) and window-text (0x80000008) colours.
using Colour = quint32;
inline constexpr Colour SystemWindowBackground = 0x80000005;
inline constexpr Colour SystemWindowText = 0x80000008;
QColor toQColor(Colour colour);

// Button states of a skinned control, and the index of the skin surface that shows each.
enum ButtonState : qint16 { StateUp = 0, StateDown = 1, StateOn = 2 };

// Twips per pixel of the screen the window is on (15 at 96 dots per inch).
struct TwipsScale {
    float x = 15.0f;
    float y = 15.0f;
    static TwipsScale forWidget(const QWidget* widget);
    int toPixelsX(float twips) const;
    int toPixelsY(float twips) const;
};

// Mouse events of a control, in the window's own terms: the button (1 left, 2 right, 4 middle)
// and the pointer position inside the control in twips.
struct MouseArgs {
    int button = 0;
    float x = 0.0f;
    float y = 0.0f;
};

// Handlers a control raises: press, release, move, click (released over the control),
// double-click, and the loss of the keyboard focus (only controls that take the focus at a
// click raise it). Filled with designated initialisers that name only the events a control
// answers.
struct MouseHandlers {
    std::function<void(const MouseArgs&)> mouseDown{};
    std::function<void(const MouseArgs&)> mouseUp{};
    std::function<void(const MouseArgs&)> mouseMove{};
    std::function<void()> click{};
    std::function<void()> dblClick{};
    std::function<void()> lostFocus{};
};

class Control;

// The widget behind every control: forwards mouse events to the control's handlers and paints
// through its control.
class ControlWidget : public QWidget {
    Q_OBJECT
public:
    ControlWidget(QWidget* parent, const TwipsScale& scale);
    MouseHandlers handlers;

    // Windowless controls (labels, images) lie beneath the windowed ones (picture areas) of
    // their container, and among themselves in the order they were made.
    bool windowed = false;
    void stackAsWindowless();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class Control;
    MouseArgs argsOf(QMouseEvent* event) const;
    const TwipsScale& m_scale;
    bool m_doubleClicked = false;
    Control* m_control = nullptr;
};

class Control {
public:
    Control(QString name, int index, ControlWidget* widget, const TwipsScale& scale);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& name() const { return m_name; }
    int index() const { return m_index; }
    ControlWidget* widget() const { return m_widget; }
    MouseHandlers& handlers() { return m_widget->handlers; }

    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    void Move(float left, float top, float width, float height);

    bool Visible() const { return m_visible; }
    void setVisible(bool visible);

    // The geometry in pixels, as the widget shows it.
    QRect pixelRect() const;

protected:
    const TwipsScale& scale() const { return m_scale; }
    // What the control shows in its widget; a plain control paints nothing.
    virtual void paint(QPaintEvent* event);

private:
    friend class ControlWidget;
    void applyGeometry();

    QString m_name;
    int m_index;
    QPointer<ControlWidget> m_widget;
    const TwipsScale& m_scale;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_visible = true;
};

// A timer of the window: ticks once per Interval while Enabled. Enabling a running timer does
// not restart it; changing the interval of a running timer does.
class Timer : public QObject {
    Q_OBJECT
public:
    Timer(QString name, int intervalMs, bool enabled, QObject* parent);
    const QString& name() const { return m_name; }
    int Interval() const { return m_timer.interval(); }
    void setInterval(int ms);
    bool Enabled() const { return m_timer.isActive(); }
    void setEnabled(bool enabled);

signals:
    void tick();

private:
    QString m_name;
    QTimer m_timer;
};

// Controls sharing one name, told apart by a 16-bit index. Members beyond the design-time ones
// are loaded at run time from member 0 and start hidden.
template <typename T> class ControlArray {
public:
    using Factory = std::function<std::unique_ptr<T>(int index)>;
    explicit ControlArray(Factory factory)
        : m_factory(std::move(factory))
    {
    }

    T& operator()(int index) const { return *m_members.at(index); }
    bool exists(int index) const { return m_members.count(index) != 0; }
    int count() const { return int(m_members.size()); }

    // A design-time member: created with its own design values.
    T& create(int index)
    {
        auto& slot = m_members[index];
        slot = m_factory(index);
        if (m_bind)
            slot->handlers() = m_bind(index);
        return *slot;
    }

    // The group's event handlers: every member, also one loaded later, raises them with its own
    // index, as the members of one group share their handlers.
    void setHandlers(std::function<MouseHandlers(int index)> bind)
    {
        m_bind = std::move(bind);
        for (auto& [index, member] : m_members)
            member->handlers() = m_bind(index);
    }

    // A run-time member: copies member 0's properties and starts hidden.
    T& Load(int index)
    {
        create(index);
        return Reload(index);
    }

    void Unload(int index) { m_members.erase(index); }

    // Load for a member that may still exist from before: it takes member 0's properties again
    // and starts hidden, as a newly loaded one would, without a new widget.
    T& Reload(int index)
    {
        T& member = exists(index) ? (*this)(index) : create(index);
        member.copyPropertiesFrom((*this)(0));
        member.setVisible(false);
        return member;
    }

private:
    Factory m_factory;
    std::function<MouseHandlers(int index)> m_bind;
    std::map<int, std::unique_ptr<T>> m_members;
};

// The pointer's visibility counter: shown while the count is 0 or more, as the platform counts
// hide and show requests.
class CursorDisplay {
public:
    int ShowCursor(bool show);
    int count() const { return m_count; }

private:
    int m_count = 0;
};

} // namespace skin
