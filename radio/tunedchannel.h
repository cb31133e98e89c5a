// The tuned channel: its number, what the radio says it plays and its track time, kept in one
// place. The now-playing labels, the presets' lights and the media player follow its changed
// signal; nothing reads the channel back from a label.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <optional>

namespace radio {

// What the radio reports a channel plays.
struct ChannelTexts {
    QString station, artist, title, genre;

    bool operator==(const ChannelTexts&) const = default;
};

// A track's elapsed and total time in seconds, as the radio reports them; -1 for none (talk,
// news).
struct TrackTime {
    qint32 position = 0;
    qint32 duration = 0;

    bool operator==(const TrackTime&) const = default;
};

class TunedChannel : public QObject {
    Q_OBJECT
public:
    enum Part { Number = 1, Texts = 2, Time = 4 };
    Q_DECLARE_FLAGS(Parts, Part)

    // Nothing before the first channel is known. Channel 0 is a channel (the receiver's preview).
    std::optional<qint32> number() const { return m_number; }
    // The number as the window shows and stores it: plain decimal (7, not 007); empty before any.
    QString numberText() const { return m_number ? QString::number(*m_number) : QString(); }
    const ChannelTexts& texts() const { return m_texts; }
    // The time of this channel's track: nothing from a change of channel until the radio, having
    // named the new channel itself, reports a time. A report that was on its way while the window
    // tuned belongs to the channel before.
    std::optional<TrackTime> time() const { return m_time; }

    // The window tuned a channel and shows it before the radio confirms it. Until the radio names
    // it, for at most ChoiceWaitMs, reports of other channels are on their way from before the
    // choice (quick presses overtake the radio): they leave the tuned channel as it is.
    void choose(qint32 number, const ChannelTexts& texts);
    static constexpr int ChoiceWaitMs = 2000;
    // Whether a report of this channel comes from before the choice that waits.
    bool isStale(qint32 number) const;
    // The channel tuned at start-up, before anything is known of it.
    void setNumber(qint32 number);
    // The radio names the channel it plays and its texts; nothing for a stale report.
    void report(qint32 number, const ChannelTexts& texts);
    // New texts for the channel that stays tuned.
    void setTexts(const ChannelTexts& texts);
    // A time report of the radio; kept only once the radio has named the channel.
    void setTime(const TrackTime& time);

signals:
    // Once per step, naming every part that changed.
    void changed(radio::TunedChannel::Parts parts);

private:
    void apply(std::optional<qint32> number, bool confirmed, const ChannelTexts& texts);

    std::optional<qint32> m_number;
    ChannelTexts m_texts;
    std::optional<TrackTime> m_time;
    bool m_confirmed = false;
    std::optional<qint32> m_chosen; // the window's latest choice, until the radio names it
    QDeadlineTimer m_choiceWait;
};

} // namespace radio

Q_DECLARE_OPERATORS_FOR_FLAGS(radio::TunedChannel::Parts)
