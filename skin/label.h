// Label: windowless text over the skin, with its font, colours, alignment and automatic size;
// TextMeasure, which holds back the measuring of auto-sized labels until the window's first
// picture is on screen.
#pragma once

#include "skin/controls.h"

#include <QFont>
#include <QString>
#include <set>

namespace skin {

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

protected:
    void paint(QPaintEvent* event) override;

private:
    friend class TextMeasure;
    // An auto-sized label takes its text's size, at least minWidth wide (twips); a fixed-size one
    // only widens to minWidth. While the measuring is held the label waits, minWidth kept.
    void fitToText(float minWidth = 0);
    void restyle();

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

} // namespace skin
