#include "tunedchannel.h"

namespace radio {

void TunedChannel::choose(qint32 number, const ChannelTexts& texts)
{
    m_chosen = number;
    m_choiceWait.setRemainingTime(ChoiceWaitMs);
    apply(number, false, texts);
}

bool TunedChannel::isStale(qint32 number) const
{
    return m_chosen && *m_chosen != number && !m_choiceWait.hasExpired();
}

void TunedChannel::setNumber(qint32 number)
{
    apply(number, false, m_texts);
}

void TunedChannel::report(qint32 number, const ChannelTexts& texts)
{
    if (isStale(number))
        return;
    m_chosen.reset();
    apply(number, true, texts);
}

void TunedChannel::setTexts(const ChannelTexts& texts)
{
    apply(m_number, false, texts);
}

void TunedChannel::setTime(const TrackTime& time)
{
    if (!m_confirmed || m_time == time)
        return;
    m_time = time;
    emit changed(Time);
}

void TunedChannel::apply(std::optional<qint32> number, bool confirmed, const ChannelTexts& texts)
{
    Parts parts;
    if (number != m_number) {
        m_number = number;
        // The time of the channel before is not this one's.
        m_confirmed = confirmed;
        parts |= Number;
        if (m_time) {
            m_time.reset();
            parts |= Time;
        }
    } else
        m_confirmed = m_confirmed || confirmed;
    if (texts != m_texts) {
        m_texts = texts;
        parts |= Texts;
    }
    if (parts)
        emit changed(parts);
}

} // namespace radio
