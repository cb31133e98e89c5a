// The kinds of control the window is built from: labels, picture areas with a retained drawing
// surface, stretched images, timers and indexed groups. Each control keeps its geometry in twips
// as single-precision values, exactly as the layout arithmetic computes them, and shows itself
// through a Qt widget placed at the matching pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <set>

namespace skin {

// Colours as the window's controls store them: 0x00BBGGRR; values with the top bit set name the
// system's window-background (0x80000005) and window-text (0x80000008) colours.
using Colour = quint32;
inline constexpr Colour SystemWindowBackground = 0x80000005;
inline constexpr Colour SystemWindowText = 0x80000008;
QColor toQColor(Colour colour);

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

// The widget behind every control: forwards mouse events to the control's handlers.
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

private:
    MouseArgs argsOf(QMouseEvent* event) const;
    const TwipsScale& m_scale;
    bool m_doubleClicked = false;
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

private:
    void applyGeometry();

    QString m_name;
    int m_index;
    QPointer<ControlWidget> m_widget;
    const TwipsScale& m_scale;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_visible = true;
};

class Label;

// When auto-sized labels measure their text. Measuring loads the font system, which costs more
// than all else the window's first picture needs; a window may hold the measuring back until
// that picture is on screen. Its labels then measure at once.
class TextMeasure {
public:
    bool held() const { return m_held; }
    void hold() { m_held = true; }
    // Fits every label that waited to its text.
    void release();

private:
    friend class Label;
    bool m_held = false;
    std::set<Label*> m_waiting;
};

enum class BackStyle { Transparent = 0, Opaque = 1 };
enum class Alignment { Left = 0, Right = 1, Centre = 2 };

// Windowless text: it lies under the picture areas of its container.
class Label : public Control {
public:
    Label(QString name, int index, QWidget* container, const TwipsScale& scale);
    ~Label() override;

    // Measures the text when the window's measure allows it; without one, at once.
    void measureWith(TextMeasure* measure) { m_measure = measure; }

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // Sets the caption and keeps the label at least minWidth wide (twips), in one change of its
    // geometry: an auto-sized label takes its text's width or minWidth, whichever is larger.
    void setCaption(const QString& caption, float minWidth);
    // The whole font at once: the text is measured once, for the font it ends up with.
    void setFont(const QString& name, float points, bool bold, bool italic, bool underline);
    QString FontName() const { return m_font.family(); }
    float FontSize() const { return m_fontSize; }
    bool FontBold() const { return m_font.bold(); }
    bool FontItalic() const { return m_font.italic(); }
    bool FontUnderline() const { return m_font.underline(); }
    Colour ForeColor() const { return m_foreColor; }
    void setForeColor(Colour colour);
    Colour BackColor() const { return m_backColor; }
    void setBackColor(Colour colour);
    skin::BackStyle BackStyle() const { return m_backStyle; }
    void setBackStyle(skin::BackStyle style);
    skin::Alignment Alignment() const { return m_alignment; }
    void setAlignment(skin::Alignment alignment);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    QString Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    const QFont& font() const { return m_font; }
    // Copies what a newly loaded member of an indexed group takes from member 0.
    void copyPropertiesFrom(const Label& other);

private:
    friend class TextMeasure;
    class Widget;
    // An auto-sized label takes its text's size, at least minWidth wide (twips); a fixed-size one
    // only widens to minWidth. While the measuring is held the label waits, minWidth kept.
    void fitToText(float minWidth = 0);
    void restyle();

    Widget* m_view;
    TextMeasure* m_measure = nullptr;
    float m_waitingMinWidth = 0;
    QString m_caption;
    QFont m_font;
    float m_fontSize = 8.25f;
    Colour m_foreColor = SystemWindowText;
    Colour m_backColor = SystemWindowBackground;
    skin::BackStyle m_backStyle = skin::BackStyle::Opaque;
    skin::Alignment m_alignment = skin::Alignment::Left;
    bool m_autoSize = false;
    QString m_tag;
};

// A child window with its own drawing surface: what is drawn into the surface stays there,
// also while the area is hidden or covered, until it is drawn over again. Refresh shows it.
//
// An area that shows a whole piece of a larger image (a button cut from a state surface) keeps
// no pixels of its own: it holds the image, which is implicitly shared, and where the piece lies
// in it, and paints straight from there. Only when something else is drawn into it (a fill, a
// copy that covers part of it, a change of its size) does it take a surface of its own, made
// from the piece it showed.
class PictureArea : public Control {
public:
    PictureArea(QString name, int index, QWidget* container, const TwipsScale& scale);

    Colour BackColor() const { return m_backColor; }
    void setBackColor(Colour colour);

    // What the area shows, in device pixels of its current size. For an area that shows a piece
    // of another image, this is that piece, cut out for the caller alone.
    QImage surface() const;
    // Replaces the surface (used for the window-sized skin surfaces).
    void setSurface(QImage image);
    // Copies a rectangle of another image into the surface at (0, 0), unscaled. A rectangle of
    // an RGB32 image at the area's pixel density that lies wholly inside the image and is exactly
    // the area's size is not copied: the area shows it from the image itself.
    void drawFrom(const QImage& source, const QRect& sourceRect);
    void Refresh();
    // True while the area shows a piece of this image (or of a shallow copy of it) without
    // pixels of its own.
    bool showsPieceOf(const QImage& image) const;
    // False while the area shows only its back colour.
    bool holdsPixels() const { return !m_image.isNull(); }

    // A loaded picture (the load areas keep the decoded image file here).
    const QImage& Picture() const { return m_picture; }
    void setPicture(QImage picture) { m_picture = std::move(picture); }

    QWidget* container() const;

private:
    class Widget;
    // The surface follows the area's size when it is next used, not at every move: a skin load
    // moves most areas several times before anything is drawn.
    void fitSurface() const;
    // Turns a piece shown from another image into a surface of the area's own.
    void ownSurface();
    QImage filled(QSize size, qreal dpr) const;
    bool showsWholeImage() const { return m_piece == m_image.rect(); }
    QSize surfaceSize(qreal devicePixelRatio) const;

    Widget* m_view;
    Colour m_backColor = SystemWindowBackground;
    // The pixels shown are m_piece of m_image (device pixels). While m_piece is the whole image,
    // the image is the area's own surface, although it may still share its pixels. A null
    // image shows the back colour all over.
    mutable QImage m_image;
    mutable QRect m_piece;
    QImage m_picture;
};

// A windowless picture holder that stretches its picture to its rectangle.
class ImageControl : public Control {
public:
    ImageControl(QString name, int index, QWidget* container, const TwipsScale& scale);
    const QImage& Picture() const { return m_picture; }
    void setPicture(QImage picture);

private:
    class Widget;
    Widget* m_view;
    QImage m_picture;
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
