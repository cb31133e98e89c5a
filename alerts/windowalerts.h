// The alerts in the window. Holding the now-playing artist or the artist-title line for two
// seconds toggles an alert on the tuned artist, holding the title one on the tuned song; the line
// says what the hold did. The radio's reports of every channel go to the watcher, and its news to
// the artist-title line, one after the other, each to the desktop as it shows; a tap on a banner, or "Tune" on the
// desktop, tunes that channel as a double tap on its row does. A tap that is not on a banner does what it did before:
// nothing.
#pragma once

#include "alerts/alertbook.h"
#include "alerts/alertline.h"
#include "alerts/alertwatcher.h"
#include "alerts/desktopnotifier.h"
#include "radio/tunedchannel.h"
#include "skin/radioxmcontrols.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

namespace alerts {

// The labels a hold and a tap go to, and the line the alerts borrow.
struct AlertControls {
    skin::Label* lblArtist;
    skin::Label* lblTrackTitle;
    skin::Label* lblArtistTrackTitle;
    skin::PictureArea* pctArtistTrackTitle;

    static AlertControls of(skin::RadioXMControls& window)
    {
        return {window.lblArtist.get(), window.lblTrackTitle.get(), window.lblArtistTrackTitle.get(),
                window.pctArtistTrackTitle.get()};
    }
};

class WindowAlerts : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Tunes a channel as a double tap on its row does.
        std::function<void(qint32 number)> TuneChannel;
        // What the tuned channel plays, and whether a preset has the artist-title line
        // (AlertLine::Sources).
        std::function<QString()> NowPlayingLine;
        std::function<bool()> PresetHeld;
        // The artist and title the now-playing labels show, which a hold sets its alert on:
        // behind live (time shift) the song heard, not the live one.
        std::function<std::pair<QString, QString>()> SongShown;
    };

    // settings: vantoxm.ini (iniFile) as start-up read it, whose alerts are taken and written
    // back, and whether the desktop is told too ([Alerts] Desktop, True unless False). iconPath: the program's picture
    // for the desktop; where there is none (an installed program), the icon theme's "vanto-xm".
    WindowAlerts(AlertControls controls, const QString& iniFile, const radio::TunedChannel& tuned,
                 const modIni::IniDocument& settings, const QString& iconPath, Hooks hooks);
    ~WindowAlerts() override;

    // Hands the mouse events of the artist, title and artist-title labels to the handlers below.
    void connectHandlers();

    void lblArtist_MouseDown(const skin::MouseArgs& args);
    void lblTrackTitle_MouseDown(const skin::MouseArgs& args);
    void lblAlert_MouseUp(const skin::MouseArgs& args);
    void lblArtistTrackTitle_Click();

    // A ChannelData or CurrentChannelData report of the radio.
    void Report(qint32 number, const QString& station, const QString& artist, const QString& title);

    const AlertBook& book() const { return m_book; }
    AlertLine& line() { return m_line; }
    // How long a press must be held to toggle an alert: two seconds (tests take less).
    void setHoldTime(int ms) { m_hold.setInterval(ms); }

private:
    enum class Held { Artist, Song };
    void startHold(Held kind);
    // The hold lasted: the tuned artist's or song's alert is toggled and the line says so.
    void ToggleAlert();
    // The next news for the line, which goes to the desktop as the line shows it: both tell the
    // same news at the same time, and a burst of news does not pile up on the desktop.
    std::optional<Announcement> TakeNews();
    void TuneBanner(qint32 channel);

    AlertControls m_c;
    const radio::TunedChannel& m_tuned;
    Hooks m_hooks;
    QString m_iconPath;
    bool m_desktopOn = true;
    AlertBook m_book;
    AlertWatcher m_watcher;
    AlertLine m_line;
    // Made at the first news shown: a start-up without news never touches the desktop's bus.
    std::unique_ptr<DesktopNotifier> m_desktop;
    QTimer m_hold;
    Held m_held = Held::Artist;
    // The press that ended in a toggle raises no tap.
    bool m_holdActed = false;
};

} // namespace alerts
