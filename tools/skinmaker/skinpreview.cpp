// The preview: draws on a copy of the up image what the program would draw over it.
#include "skinpreview.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <array>
#include <cmath>

namespace skinmaker {

namespace {

struct SampleChannel {
    const char* number;
    const char* station;
    const char* artist;
    const char* title;
    const char* genre;
};

// Invented sample rows: long enough to show where the columns cut their texts.
constexpr std::array<SampleChannel, 14> SampleChannels{{
    {"004", "Highway Hits", "The Lanterns", "Night Drive", "Pop"},
    {"007", "Back Porch", "Mara Quill", "Dust and Daylight", "Country"},
    {"012", "Deep Tracks", "Stone Harbor", "Low Tide Anthem", "Classic Rock"},
    {"020", "Metro Jazz", "Ellis Trio", "Blue Platform", "Jazz"},
    {"025", "Coastline Classics", "Harbour Lights", "Evening on the Pier", "Soft Rock"},
    {"033", "Pulse", "Vektor Nine", "Signal Lost", "Electronic"},
    {"041", "Unsigned", "Paper Rivers", "Salt in the Air Tonight", "Indie"},
    {"046", "Golden Age", "The Velvet Four", "Moonlit Avenue", "Oldies"},
    {"052", "Soul Street", "Ruby Lane", "Hold the Line", "R&B"},
    {"060", "Chamber Hall", "North Quartet", "Allegro in G", "Classical"},
    {"066", "Rhythm Yard", "DJ Cobalt", "Brick by Brick", "Hip-Hop"},
    {"070", "Open Road", "Clay Winters", "Mile Marker 9", "Americana"},
    {"081", "Kids Corner", "The Bumblebees", "Count to Ten", "Kids"},
    {"090", "News Desk", "", "Top of the Hour", "News"},
}};

constexpr int HighlightedRow = 4;

Qt::Alignment qtAlign(Alignment align)
{
    switch (align) {
    case Alignment::Centre: return Qt::AlignHCenter | Qt::AlignTop;
    case Alignment::Right: return Qt::AlignRight | Qt::AlignTop;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QFont labelFont(const TextStyle& style, int defaultHeight, int windowHeight)
{
    QFont font(style.font);
    font.setPixelSize(std::max(1, int(std::lround(fontPixelSize(style, defaultHeight, windowHeight)))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underlined);
    return font;
}

void drawLabel(QPainter& p, const QRectF& rect, const TextStyle& style, const QFont& font, const QString& text)
{
    p.save();
    p.setClipRect(rect);
    p.setFont(font);
    p.setPen(style.colour);
    p.drawText(rect, qtAlign(style.align), text);
    p.restore();
}

void drawTexts(QPainter& p, const SkinDescription& skin, QSize size)
{
    for (const TextElement& text : skin.texts) {
        const QRectF rect = text.rect.toPixels(size);
        drawLabel(p, rect, text.style, labelFont(text.style, skin.defaultHeight, size.height()), text.sample);
    }
}

QString columnText(const SampleChannel& channel, int column)
{
    const std::array<const char*, 5> texts{channel.number, channel.station, channel.artist, channel.title,
                                           channel.genre};
    return QString::fromUtf8(texts[column]);
}

void drawList(QPainter& p, const SkinDescription& skin, QSize size)
{
    const QRect area = skin.list.area.toPixels(size);
    const QFont font = labelFont(skin.list.rowStyle, skin.defaultHeight, size.height());
    const int rowHeight = listRowHeight(skin, size);
    const int rows = std::min<int>(listRowCount(skin, size), int(SampleChannels.size()));
    for (int row = 0; row < rows; ++row) {
        const int top = area.top() + row * rowHeight;
        if (row == HighlightedRow)
            p.fillRect(QRect(area.left(), top, area.width(), rowHeight), skin.list.selectedBack);
        for (int column = 0; column < 5; ++column) {
            const ListColumn& col = ListColumns[column];
            const QRectF cell(area.left() + col.left * area.width(), top, col.width * area.width(), rowHeight);
            drawLabel(p, cell, skin.list.rowStyle, font, columnText(SampleChannels[row], column));
        }
    }
}

void drawSignalBars(QPainter& p, const SkinDescription& skin, QSize size)
{
    const std::array<double, 3> levels{0.82, 0.57, 0.24};
    for (int i = 0; i < 3; ++i) {
        const SignalBar& bar = skin.signalBars[i];
        const QRect back = bar.rect.toPixels(size);
        p.fillRect(back, bar.back);
        p.fillRect(QRectF(back.left(), back.top(), back.width() * levels[i], back.height()), bar.status);
    }
}

void drawPresets(QPainter& p, const SkinDescription& skin, const SkinImages& images, QSize size)
{
    const std::array<const char*, 3> channels{"012", "025", "060"};
    const int tuned = 1;
    for (int i = 0; i < 3; ++i) {
        const Preset& preset = skin.presets[i];
        const QRect button = preset.face.rect.toPixels(size);
        if (i == tuned)
            p.drawImage(button.topLeft(), images.on.copy(button));
        TextStyle style = preset.label.style;
        style.colour = i == tuned ? preset.label.onColour : preset.label.style.colour;
        const QRect label = preset.label.rect.toPixels(button.size()).translated(button.topLeft());
        drawLabel(p, label, style, labelFont(style, skin.defaultHeight, size.height()),
                  QString::fromLatin1(channels[i]));
    }
}

void drawThumbs(QPainter& p, const SkinDescription& skin, const SkinImages& images, QSize size)
{
    const QRect track = skin.list.track.rect.toPixels(size);
    p.drawImage(track.topLeft(), images.listThumbUp);
    const QRect bar = skin.timeSlider.bar.rect.toPixels(size);
    const double progress = 0.42;
    p.drawImage(QPointF(bar.left() + (bar.width() - images.timeThumbUp.width()) * progress, bar.top()),
                images.timeThumbUp);
}

} // namespace

double fontPixelSize(const TextStyle& style, int defaultHeight, int windowHeight)
{
    const double scale = style.allowResize && defaultHeight > 0 ? double(windowHeight) / defaultHeight : 1.0;
    return style.fontSize * scale * 96.0 / 72.0;
}

int listRowHeight(const SkinDescription& skin, QSize windowSize)
{
    const QFont font = labelFont(skin.list.rowStyle, skin.defaultHeight, windowSize.height());
    return std::max(1, int(std::ceil(QFontMetricsF(font).height())));
}

int listRowCount(const SkinDescription& skin, QSize windowSize)
{
    // Rows are stacked one label height apart for as long as a whole row fits.
    const int height = skin.list.area.toPixels(windowSize).height();
    const int row = listRowHeight(skin, windowSize);
    return height / row;
}

QImage paintPreview(const SkinDescription& skin, const SkinImages& images)
{
    QImage preview = images.up.convertToFormat(QImage::Format_RGB32);
    const QSize size = preview.size();
    QPainter p(&preview);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawList(p, skin, size);
    drawTexts(p, skin, size);
    drawSignalBars(p, skin, size);
    drawPresets(p, skin, images, size);
    drawThumbs(p, skin, images, size);
    return preview;
}

} // namespace skinmaker
