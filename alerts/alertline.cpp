#include "alertline.h"

#include <QFontMetrics>

namespace alerts {
namespace {

// How often the line looks whether the alert shown is over or a preset went down.
constexpr int TickMs = 100;

} // namespace

AlertLine::AlertLine(skin::Label& line, Sources sources)
    : m_line(line)
    , m_sources(std::move(sources))
{
    m_tick.setInterval(TickMs);
    QObject::connect(&m_tick, &QTimer::timeout, [this] { tick(); });
}

void AlertLine::ShowMessage(const QString& text)
{
    if (m_shown && m_shown->channel)
        m_waiting.push_front(*m_shown);
    m_waiting.push_front({text, std::nullopt, m_times.messageMs});
    giveBack();
    tick();
}

void AlertLine::NewsWaiting()
{
    m_newsWaiting = true;
    if (!m_shown)
        tick();
}

std::optional<qint32> AlertLine::BannerChannel() const
{
    if (!m_shown || m_line.Caption() != m_shown->text)
        return std::nullopt;
    return m_shown->channel;
}

void AlertLine::DropChannel(qint32 number)
{
    std::erase_if(m_waiting, [number](const Item& item) { return item.channel == number; });
    if (m_shown && m_shown->channel == number) {
        giveBack();
        tick();
    }
}

void AlertLine::tick()
{
    if (m_shown && presetHeld()) {
        m_waiting.push_front(*m_shown);
        giveBack();
    }
    if (m_shown && m_until.hasExpired())
        giveBack();
    if (!m_shown && !presetHeld())
        showNext();
    // News that waits for a preset keeps the line looking until the preset is done.
    if (!m_shown && m_waiting.empty() && !m_newsWaiting)
        m_tick.stop();
    else if (!m_tick.isActive())
        m_tick.start();
}

void AlertLine::showNext()
{
    if (!m_waiting.empty()) {
        show(std::move(m_waiting.front()));
        m_waiting.pop_front();
    } else if (const std::optional<Announcement> news = m_sources.takeNews ? m_sources.takeNews() : std::nullopt) {
        show({news->BannerText(), news->channel, m_times.bannerMs});
    } else {
        m_newsWaiting = false;
    }
}

// A banner longer than the line's frame is cut with an ellipsis, not in the middle of a letter
// at the frame's edge.
QString AlertLine::fitted(const QString& text) const
{
    const QWidget* label = m_line.widget();
    const QWidget* frame = label->parentWidget();
    if (!frame)
        return text;
    return QFontMetrics(m_line.font(), label).elidedText(text, Qt::ElideRight, frame->width() - label->x());
}

void AlertLine::show(Item item)
{
    item.text = fitted(item.text);
    m_lent = true;
    m_line.setCaption(item.text);
    m_until = QDeadlineTimer(item.ms);
    m_shown = std::move(item);
}

void AlertLine::giveBack()
{
    if (!m_shown)
        return;
    if (m_line.Caption() == m_shown->text)
        m_line.setCaption(m_sources.nowPlayingLine ? m_sources.nowPlayingLine() : QString());
    m_lent = false;
    m_shown.reset();
}

} // namespace alerts
