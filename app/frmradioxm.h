// frmRadioXM: the one window of the program. Opening it is the whole start-up; closing it is
// the whole shutdown.
//
// Who owns what (all for the whole run):
//   m_controls     every control by its fixed name (skin/radioxmcontrols.h); each part gets a
//                  view of the controls it shows itself on
//   m_settings     the start-up settings, the appearance among them, read once (app/startupsettings.h)
//   m_repeat       the button held down and the repeat of its action (skin/buttonrepeat.h)
//   m_skin         LoadSkin and the first picture, and the skin's state: its name, the list's
//                  rows, its colours and texts (skin/loadskin.h, skin/skinstate.h);
//                  m_skinReporting its failures reported, the day/night stand-in
//                  (app/skinreporting.h)
//   m_table        the channel table behind the list (radio/channeltable.h)
//   m_tuned        the tuned channel: number, texts and time (radio/tunedchannel.h)
//   m_timeShift    time shift: on, paused, how far behind live, the song heard (radio/timeshift.h)
//   m_nowPlaying   the now-playing labels and the time thumb (nowplaying/nowplaying.h)
//   m_channelData  the radio's listing into the table and services.dat (channellist/channeldata.h)
//   m_list         the skinned list window, and where the list stands: top row, selection,
//                  highlight, ready (channellist/listwindow.h, channellist/liststate.h)
//   m_highlight    the list's selection and the start-up highlight (channellist/highlight.h)
//   m_chooser      choosing a channel from the list (channellist/choose.h)
//   m_tuner        tuning a row from outside the list: presets, alerts, MPRIS (channellist/tunerow.h)
//   m_scroller     the list's step buttons, track and thumb (channellist/scrolling.h)
//   m_presets      the three presets' tap, hold and lights, and the preset held (presets/presets.h)
//   m_hold         the repeat of held buttons and the tune button (presets/pressandhold.h)
//   MXM            the radio service's client on the session bus (radio/axxmradioclient.h)
//   volu           the sound card's mixer (volume/cvolume.h); m_volume the volume and mute
//                  buttons, the volume display over it and the mute shown (volume/volumecommands.h)
//   m_mpris        the window as an MPRIS2 media player on the session bus (mpris/mediaplayer.h)
//   m_alerts       artist and song alerts: the holds, the banners and the desktop's news
//                  (alerts/windowalerts.h)
//   m_firstPicture the skin's up picture over the window during start-up (app/firstpicture.h)
//
// How data flows: the radio's signals arrive as MXM_* handlers; a connection ahead of each
// first stops the no-data watchdog tmrLoad, then the handler hands the report to the table, the
// now-playing display or the signal bars. The tuned channel has one owner, m_tuned: the reports
// and a choice set it, and lblCC with the now-playing labels, the presets' lights and the media
// player follow it. Timers of the window (tmrUpdates, tmrLoad, tmrResize, tmrUpdateListing,
// tmrHighlightListItem) tick into the *_Timer handlers. A press on a list row selects it, a
// double tap chooses it: the radio is tuned, and its report of the change highlights the row
// again. What a part only announces (a choice made, the radio's change shown, a skin applied)
// is a Qt signal, which this window connects to the parts that follow it. Settings are read at
// start-up and written when they change, never at shutdown.
#pragma once

#include "alerts/windowalerts.h"
#include "app/platform.h"
#include "app/skinchoice.h"
#include "app/skinreporting.h"
#include "app/startupsettings.h"
#include "base/modfunctions.h"
#include "base/settingsfolder.h"
#include "channellist/channeldata.h"
#include "channellist/choose.h"
#include "channellist/highlight.h"
#include "channellist/listwindow.h"
#include "channellist/scrolling.h"
#include "channellist/tunerow.h"
#include "mpris/mediaplayer.h"
#include "nowplaying/nowplaying.h"
#include "presets/presets.h"
#include "presets/pressandhold.h"
#include "radio/axxmradioclient.h"
#include "radio/channeltable.h"
#include "radio/timeshift.h"
#include "radio/tunedchannel.h"
#include "skin/buttonrepeat.h"
#include "skin/loadskin.h"
#include "skin/radioxmcontrols.h"
#include "volume/alsamixer.h"
#include "volume/cvolume.h"
#include "volume/volumecommands.h"

#include <QTime>
#include <QWidget>
#include <array>
#include <deque>
#include <functional>
#include <memory>

class frmRadioXM : public QWidget {
    Q_OBJECT
public:
    // What the window needs from outside; tests give their own.
    struct Seams {
        QString programFolder;
        // Where the settings go when the program folder is not the user's (an installed program).
        app::UserFolders userFolders = app::StandardUserFolders();
        std::function<QTime()> clock = [] { return QTime::currentTime(); };
        std::function<std::unique_ptr<app::MessageBox>(QWidget*)> messageBox;
        std::function<std::unique_ptr<AXXMRadioClient>()> createRadio = [] { return AXXMRadioClient::create(); };
        std::function<std::unique_ptr<volume::MixerDevice>()> createMixer = [] {
            return std::make_unique<volume::AlsaMixer>(QStringLiteral("default"));
        };
    };

    explicit frmRadioXM(Seams seams);
    ~frmRadioXM() override;

    // Start-up: settings, window geometry, skin, channel table and presets; the window is shown
    // with them; then the service, the mixer, the radio and the timers.
    void Form_Load();

    skin::RadioXMControls& controls() { return *m_controls; }
    const app::StartupSettings& settings() const { return m_settings; }
    bool startupComplete() const { return m_startupComplete; }
    const skin::SkinState& skinState() const { return m_skin->state(); }
    const radio::ChannelTable& table() const { return m_table; }
    radio::TunedChannel& tuned() { return m_tuned; }
    const radio::TimeShift& timeShift() const { return m_timeShift; }
    AXXMRadioClient* radioClient() const { return MXM.get(); }
    const skin::CursorDisplay& cursor() const { return m_cursor; }
    const skin::TwipsScale& twipsScale() const { return m_scale; }
    modFunctions::SharedWaitTimer& waits() { return m_waits; }
    channellist::ListWindow& list() { return *m_list; }
    channellist::Highlighter& highlight() { return *m_highlight; }
    channellist::ChannelChooser& chooser() { return *m_chooser; }
    channellist::RowTuner& tuner() { return *m_tuner; }
    channellist::Scroller& scroller() { return *m_scroller; }
    presets::Presets& presets() { return *m_presets; }
    presets::PressAndHold& pressAndHold() { return *m_hold; }
    const skin::ButtonRepeat& repeat() const { return *m_repeat; }
    const nowplaying::NowPlaying& nowPlaying() const { return *m_nowPlaying; }
    const volume::VolumeCommands& volumeButtons() const { return *m_volume; }
    alerts::WindowAlerts& alerts() { return *m_alerts; }

    // Loads the current skin, its failures reported (app/skinreporting.h).
    bool LoadSkinReportingErrors() { return m_skinReporting->LoadSkinReportingErrors(); }

    // Handlers.
    void tmrLoad_Timer();
    void tmrResize_Timer();
    void tmrUpdates_Timer();
    void cmdExit_MouseDown(const skin::MouseArgs& args);
    void cmdExit_MouseUp(const skin::MouseArgs& args);
    void cmdExit_Click();
    void MXM_ChannelChange(qint32 number);
    void MXM_CurrentTime(qint32 position, qint32 duration);
    void MXM_ChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                         const QString& genre);
    void MXM_CurrentChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                                const QString& genre);
    void MXM_SignalStrength(float rock, float roll, float ground);
    void MXM_TimeShiftChanged(bool paused, double behindLive, double buffered, double position);
    void MXM_SongHeard(qint32 number, const QString& station, const QString& artist, const QString& title,
                       const QString& genre, qint32 duration);
    void MXM_ServiceLost();
    void RadioHeard();
    // Runs the reports of the radio that came while one was handled, in order: see CreateRadio.
    void handleWaitingReports();
    // The six row label groups share these: each acts on the whole row at index.
    void lblListItem_MouseDown(qint16 index, const skin::MouseArgs& args);
    void lblListItem_DblClick(qint16 index);
    void cmdVolumeUp_Click();
    void cmdVolumeDown_Click();
    void cmdVolumeMute_Click();
    void cmdVolumeMute_MouseDown(const skin::MouseArgs& args);
    void cmdVolumeMute_MouseUp(const skin::MouseArgs& args);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The parts of the window, in the order they are built.
    void createControls();
    void createSkinLoader();
    void createList();
    void createNowPlaying();
    void createPresets();
    void createVolume();
    void StartService(const QString& servicePath);
    void ClearLabels();
    void CreateRadio();
    // Reads the alerts and lets the artist, title and artist-title labels set them.
    void createAlerts(const modIni::IniDocument& ini);
    void TuneLastChannel(qint32 channel);
    void OpenMixer();
    // Shows the window with the skin's up picture over it, decoded ahead of the load.
    void ShowFirstPicture();
    // The loaded skin takes the first picture's place.
    void ShowSkin();
    void Form_Unload();
    // Connects the timers, the controls' mouse events and the presets' lights to their handlers;
    // the scroller, the presets and the hold wire their own controls.
    void connectHandlers();
    // The time of day as the switch times are written: "hh:mm:ss", 24-hour.
    QString timeOfDay() const;
    void followScreen();
    // Restarts the no-data watchdog's whole interval.
    void restartWatchdog();
    void paint(skin::PictureArea& target, qint16 state);
    // Mutes or unmutes the radio, when there is one.
    void setRadioMute(bool muted);
    // Asks the radio for a move in time shift, when there is one.
    void timeShift(TimeShiftCommand command, double position = 0);
    // A skin was applied, its window's updates still locked (skin::SkinLoader::skinApplied).
    void SkinApplied(bool again, qint16 rowsBefore);
    // After every skin load but the first, the window shows what it showed before: the list
    // where it stood with its selection, the presets' lights, the radio's mute, the signal bars
    // and the time thumb (the labels keep their texts through a load).
    void ShowWindowAgain(qint16 rowsBefore);

    Seams m_seams;
    app::SettingsFolders m_folders;
    QString m_iniFile;
    app::StartupSettings m_settings;
    bool m_startupComplete = false;
    skin::TwipsScale m_scale;
    skin::CursorDisplay m_cursor;
    modFunctions::SharedWaitTimer m_waits;
    std::unique_ptr<app::MessageBox> m_messageBox;
    std::unique_ptr<skin::RadioXMControls> m_controls;
    std::unique_ptr<skin::ButtonRepeat> m_repeat;
    radio::ChannelTable m_table;
    radio::TunedChannel m_tuned;
    radio::TimeShift m_timeShift;
    std::unique_ptr<skin::SkinLoader> m_skin;
    std::unique_ptr<app::SkinReporting> m_skinReporting;
    std::unique_ptr<nowplaying::NowPlaying> m_nowPlaying;
    std::unique_ptr<radio::ChannelDataHandler> m_channelData;
    std::unique_ptr<channellist::ListWindow> m_list;
    std::unique_ptr<channellist::Highlighter> m_highlight;
    std::unique_ptr<channellist::ChannelChooser> m_chooser;
    std::unique_ptr<channellist::RowTuner> m_tuner;
    std::unique_ptr<channellist::Scroller> m_scroller;
    std::unique_ptr<presets::Presets> m_presets;
    std::unique_ptr<presets::PressAndHold> m_hold;
    std::unique_ptr<AXXMRadioClient> MXM;
    std::unique_ptr<volume::cVolume> volu;
    std::unique_ptr<volume::VolumeCommands> m_volume;
    std::unique_ptr<mpris::MediaPlayer> m_mpris;
    std::unique_ptr<alerts::WindowAlerts> m_alerts;
    std::unique_ptr<QWidget> m_firstPicture;
    // The radio's reports that came while one was handled, oldest first.
    std::deque<std::function<void()>> m_reports;
    bool m_handlingReport = false;
    bool m_questionOpen = false;
    bool m_heardWhileAsking = false; // the radio spoke while the no-data question was up
    bool m_followingScreen = false;
    bool m_unloaded = false;
    DayNightSwitch m_dayNight;
    // The last signal strengths reported, which a skin load draws again.
    std::array<float, 3> m_signal{};
};
