// The artist-title line lent to the alerts: a hold's "Alert set: ..." for three seconds, and each
// banner of news for fifteen seconds, one after the other. While the line is lent, what the tuned
// channel plays is only kept (WindowState::ArtistTrackTitle) and comes back when the line is
// returned. A held preset goes first: its five-second message must stay readable, so the line is
// returned at once and the alert shown waits, whole, until the preset is let go.
#pragma once

#include "alerts/alertwatcher.h"
#include "skin/controls.h"
#include "skin/windowstate.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <deque>
#include <optional>

namespace alerts {

class AlertLine {
public:
    struct Times {
        int messageMs = 3000;
        int bannerMs = 15000;
    };

    AlertLine(skin::Label& line, skin::WindowState& state);

    // A hold's message: shown at once, ahead of any news; a banner it covers is shown again after it.
    void ShowMessage(const QString& text);
    // A banner of news, after those before it.
    void ShowBanner(const Announcement& news);
    // The channel whose banner the line shows now, if it shows one.
    std::optional<qint32> BannerChannel() const;
    // The channel was tuned: its news is heard, and its banners go.
    void DropChannel(qint32 number);

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
    void show(Item item);
    // Gives the line back to what the tuned channel plays, unless something else wrote it since.
    void giveBack();
    bool presetHeld() const { return !m_state.PresetPressed.isEmpty(); }

    skin::Label& m_line;
    skin::WindowState& m_state;
    Times m_times;
    std::deque<Item> m_waiting;
    std::optional<Item> m_shown;
    QDeadlineTimer m_until;
    QTimer m_tick;
};

} // namespace alerts
