// The artist-title line lent to the alerts: a hold's "Alert set: ..." for three seconds, and each
// banner of news for fifteen seconds, one after the other. The line takes the next news from the
// watcher only when it is free, so news whose song ended while it waited never shows. While the line is lent, what the
// tuned channel plays is only kept (by the now-playing display) and comes back when the line is returned. A held
// preset goes first: its five-second message must stay readable, so the line is returned at once and the alert shown
// waits, whole, until the preset is let go.
#pragma once

#include "alerts/alertwatcher.h"
#include "skin/label.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

namespace alerts {

class AlertLine {
public:
    struct Times {
        int messageMs = 3000;
        int bannerMs = 15000;
    };

    struct Sources {
        // The oldest news still true, if any (AlertWatcher::takeNews).
        std::function<std::optional<Announcement>()> takeNews;
        // What the tuned channel plays, which the line shows again when it is returned.
        std::function<QString()> nowPlayingLine;
        // Whether a preset is held down or a save's message has the line.
        std::function<bool()> presetHeld;
    };

    AlertLine(skin::Label& line, Sources sources);

    // A hold's message: shown at once, ahead of any news; a banner it covers is shown again after it.
    void ShowMessage(const QString& text);
    // There is news to take: it is shown when the line is free.
    void NewsWaiting();
    // The channel whose banner the line shows now, if it shows one.
    std::optional<qint32> BannerChannel() const;
    // The channel was tuned: its news is heard, and its banners go.
    void DropChannel(qint32 number);

    // Whether an alert has the line: what the tuned channel plays is only kept meanwhile.
    bool lent() const { return m_lent; }

    // How long a message and a banner stay (tests take less).
    void setTimes(Times times) { m_times = times; }

private:
    struct Item {
        QString text;
        std::optional<qint32> channel; // the banner's channel; none for a message
        int ms = 0;
    };
    // Shows the next alert when the line is free, and returns the line when the one shown is over
    // or a preset is held.
    void tick();
    void showNext();
    QString fitted(const QString& text) const;
    void show(Item item);
    // Gives the line back to what the tuned channel plays, unless something else wrote it since.
    void giveBack();
    bool presetHeld() const { return m_sources.presetHeld && m_sources.presetHeld(); }

    skin::Label& m_line;
    Sources m_sources;
    Times m_times;
    bool m_lent = false;
    // Messages not yet shown, and a banner a message or a preset cut short.
    std::deque<Item> m_waiting;
    std::optional<Item> m_shown;
    bool m_newsWaiting = false; // the watcher may hold news not yet taken
    QDeadlineTimer m_until;
    QTimer m_tick;
};

} // namespace alerts
