// Label: windowless text over the skin, and TextMeasure, which holds back its measuring until the
// window's first picture is on screen.
#include "label.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace skin {

Label::Label(QString name, int index, QWidget* container, const TwipsScale& scale)
    : Control(std::move(name), index, new ControlWidget(container, scale), scale)
{
    m_font.setPointSizeF(m_fontSize);
    widget()->setFont(m_font);
    widget()->stackAsWindowless();
    widget()->show();
}

Label::~Label()
{
    if (m_measure)
        m_measure->m_waiting.erase(this);
}

void Label::paint(QPaintEvent*)
{
    QPainter p(widget());
    const QRect r = widget()->rect();
    if (m_backStyle == BackStyle::Opaque)
        p.fillRect(r, toQColor(m_backColor));
    if (m_caption.isEmpty())
        return;
    p.setFont(m_font);
    p.setPen(toQColor(m_foreColor));
    int flags = Qt::AlignTop;
    switch (m_alignment) {
    case Alignment::Left: flags |= Qt::AlignLeft; break;
    case Alignment::Right: flags |= Qt::AlignRight; break;
    case Alignment::Centre: flags |= Qt::AlignHCenter; break;
    }
    // A fixed-size label wraps its text at word boundaries and cuts what does not fit; an
    // auto-sized one is always exactly one line wide.
    if (!m_autoSize)
        flags |= Qt::TextWordWrap;
    // A line wider than what its container shows of the label ends in "…" after a whole letter,
    // never cut through one; text that fits is drawn as it always was.
    const QFontMetrics metrics = p.fontMetrics();
    const QRect shown = r.intersected(QRect(-widget()->pos(), widget()->parentWidget()->size()));
    const bool oneLine = m_autoSize || r.height() < 2 * metrics.lineSpacing();
    const QRect needed = metrics.boundingRect(r, flags & ~Qt::TextWordWrap, m_caption);
    if (oneLine && (needed.left() < shown.left() || needed.right() > shown.right())) {
        p.drawText(shown, flags & ~Qt::TextWordWrap, metrics.elidedText(m_caption, Qt::ElideRight, shown.width()));
        return;
    }
    p.drawText(r, flags, m_caption);
}

void TextMeasure::release()
{
    m_held = false;
    const std::set<Label*> waiting = std::exchange(m_waiting, {});
    for (Label* label : waiting)
        label->fitToText(std::exchange(label->m_waitingMinWidth, 0.0f));
}

void Label::setCaption(const QString& caption)
{
    setCaption(caption, 0);
}

void Label::setCaption(const QString& caption, float minWidth)
{
    if (caption == m_caption) {
        if (Width() < minWidth)
            setWidth(minWidth);
        return;
    }
    m_caption = caption;
    fitToText(minWidth);
    widget()->update();
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
    widget()->update();
}

void Label::setBackColor(Colour colour)
{
    if (colour == m_backColor)
        return;
    m_backColor = colour;
    widget()->update();
}

void Label::setBackStyle(skin::BackStyle style)
{
    if (style == m_backStyle)
        return;
    m_backStyle = style;
    widget()->update();
}

void Label::setAlignment(skin::Alignment alignment)
{
    m_alignment = alignment;
    widget()->update();
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
    widget()->setFont(m_font);
    Move(other.Left(), other.Top(), other.Width(), other.Height());
    widget()->update();
}

void Label::restyle()
{
    widget()->setFont(m_font);
    fitToText();
    widget()->update();
}

void Label::fitToText(float minWidth)
{
    if (!m_autoSize) {
        if (Width() < minWidth)
            setWidth(minWidth);
        return;
    }
    if (m_measure && m_measure->held()) {
        m_waitingMinWidth = minWidth;
        m_measure->m_waiting.insert(this);
        return;
    }
    const QFontMetricsF metrics(m_font, widget());
    const float w = std::max(float(std::ceil(metrics.horizontalAdvance(m_caption))) * scale().x, minWidth);
    const float h = float(std::ceil(metrics.height())) * scale().y;
    if (w != Width() || h != Height())
        Move(Left(), Top(), w, h);
}

} // namespace skin
