#include "frmradioxm.h"
#include "app/logging.h"

#include "app/firstpicture.h"
#include "app/startupsettings.h"
#include "nowplaying/signalbars.h"
#include "skin/paintskinnedcontrol.h"

#include <QCloseEvent>
#include <QLoggingCategory>
#include <QWindow>

using modFunctions::FileExists;

namespace {

const QString Caption = QStringLiteral("V.A.N.T.O - XM Radio");
const QString QuestionTitle = QStringLiteral("V.A.N.T.O XM Error");
const QString QuestionText = QStringLiteral("No data received from XMRadioService - are you sure it's running?\r\n\r\n"
                                            "Do you wish to try starting the service and wait another 10 seconds?");

// How long the first picture may wait for the display to map the window before start-up goes on.
constexpr int FirstFrameWaitMs = 500;

} // namespace

frmRadioXM::frmRadioXM(Seams seams)
    : m_seams(std::move(seams))
    , m_folders(app::ChooseSettingsFolders(m_seams.programFolder, m_seams.userFolders))
    , m_iniFile(m_folders.settings + QLatin1String("/vantoxm.ini"))
    , m_scale(skin::TwipsScale::forWidget(this))
{
    setObjectName(QStringLiteral("frmRadioXM"));
    setWindowTitle(Caption);
    createControls();
    createSkinLoader();
    createList();
    createNowPlaying();
    createPresets();
    createVolume();
    connectHandlers();
}

void frmRadioXM::createControls()
{
    m_messageBox = m_seams.messageBox ? m_seams.messageBox(this) : std::make_unique<app::QtMessageBox>(this);
    m_controls = std::make_unique<skin::RadioXMControls>(this, m_scale, /*measureAfterFirstPicture=*/true);
    m_repeat = std::make_unique<skin::ButtonRepeat>(m_controls->tmrButtonPressed);
}

void frmRadioXM::createSkinLoader()
{
    m_skin = std::make_unique<skin::SkinLoader>(*this, *m_controls, m_scale, m_cursor, m_folders.skinFolders);
    connect(m_skin.get(), &skin::SkinLoader::skinApplied, this, &frmRadioXM::SkinApplied);
    m_skinReporting = std::make_unique<app::SkinReporting>(*m_skin, m_settings, m_dayNight, *m_messageBox);
}

void frmRadioXM::createNowPlaying()
{
    m_nowPlaying = std::make_unique<nowplaying::NowPlaying>(
        nowplaying::NowPlayingControls::of(*m_controls), m_waits, m_table, m_tuned, m_timeShift,
        nowplaying::NowPlaying::Hooks{
            [this] { return m_presets && m_presets->PresetPressed() != presets::HeldPreset::None; },
            [this] { return m_alerts && m_alerts->line().lent(); },
            [this](TimeShiftCommand command, double position) { timeShift(command, position); }});
    connect(m_nowPlaying.get(), &nowplaying::NowPlaying::channelRowChanged, this,
            [this](qint32 item) { m_highlight->HighlightItem(item); });
    connect(m_nowPlaying.get(), &nowplaying::NowPlaying::tunedChannelChanged, this,
            [this] { m_presets->RefreshPresetButtons(); });
    m_channelData = std::make_unique<radio::ChannelDataHandler>(*m_list, m_table, m_tuned,
                                                                m_folders.settings + QLatin1String("/services.dat"));
}

void frmRadioXM::createList()
{
    m_list =
        std::make_unique<channellist::ListWindow>(channellist::ListControls::of(*m_controls), m_skin->state(), m_table);
    m_highlight = std::make_unique<channellist::Highlighter>(m_table, *m_list, m_waits, m_tuned);
    m_chooser = std::make_unique<channellist::ChannelChooser>(
        m_iniFile, m_table, m_tuned, *m_list,
        channellist::ChannelChooser::Hooks{[this](qint32& number) {
                                               if (MXM)
                                                   MXM->Channel(number);
                                           },
                                           [this](bool muted) { setRadioMute(muted); }});
    connect(m_chooser.get(), &channellist::ChannelChooser::rowChosen, this,
            [this] { m_presets->RefreshPresetButtons(); });
    m_scroller = std::make_unique<channellist::Scroller>(channellist::ScrollControls::of(*m_controls),
                                                         skin::ButtonPainter(*m_controls, m_scale), m_table, *m_list,
                                                         *m_highlight, *m_repeat);
    m_tuner = std::make_unique<channellist::RowTuner>(m_table, *m_chooser, *m_highlight);
}

void frmRadioXM::createPresets()
{
    m_presets = std::make_unique<presets::Presets>(
        presets::PresetControls::of(*m_controls), skin::ButtonPainter(*m_controls, m_scale), m_skin->state(), m_iniFile,
        m_waits, m_tuned,
        presets::Presets::Hooks{[this](qint32 number) { return m_tuner->TuneChannel(number); },
                                [this] { return m_nowPlaying->ArtistTrackTitle(); }});
    m_hold = std::make_unique<presets::PressAndHold>(
        presets::HoldControls::of(*m_controls), skin::ButtonPainter(*m_controls, m_scale), *m_repeat,
        presets::PressAndHold::Actions{[this] { cmdVolumeUp_Click(); }, [this] { cmdVolumeDown_Click(); },
                                       [this] { m_scroller->ScrollPageUp(); }, [this] { m_scroller->ScrollPageDown(); },
                                       [this] { m_scroller->ScrollUp(); }, [this] { m_scroller->ScrollDown(); },
                                       [this] { m_chooser->ChooseSelected(); }});
}

void frmRadioXM::createVolume()
{
    m_volume = std::make_unique<volume::VolumeCommands>(
        volume::VolumeControls::of(*m_controls), m_skin->state(),
        volume::VolumeCommands::Hooks{
            [this] { return volu.get(); }, [this] { return MXM ? std::optional<bool>(MXM->Mute()) : std::nullopt; },
            [this](bool muted) { setRadioMute(muted); },
            [this](skin::PictureArea& button, qint16 state) { paint(button, state); },
            [this] { return m_scroller->thumbHeld(); },
            [this] { return m_timeShift.on() ? std::optional<bool>(m_timeShift.paused()) : std::nullopt; },
            [this](bool paused) { timeShift(paused ? TimeShiftCommand::Pause : TimeShiftCommand::Resume); }});
}

frmRadioXM::~frmRadioXM()
{
    Form_Unload();
}

void frmRadioXM::connectHandlers()
{
    skin::RadioXMControls& c = *m_controls;
    // The presets light up for the channel tuned, however it came to be tuned.
    connect(&m_tuned, &radio::TunedChannel::changed, this, [this](radio::TunedChannel::Parts parts) {
        if (parts & radio::TunedChannel::Number)
            m_presets->RefreshPresetButtons();
    });
    connect(&c.tmrLoad, &skin::Timer::tick, this, &frmRadioXM::tmrLoad_Timer);
    connect(&c.tmrResize, &skin::Timer::tick, this, &frmRadioXM::tmrResize_Timer);
    connect(&c.tmrUpdates, &skin::Timer::tick, this, &frmRadioXM::tmrUpdates_Timer);
    connect(&c.tmrUpdateListing, &skin::Timer::tick, this, [this] { m_list->tmrUpdateListing_Timer(); });
    connect(&c.tmrHighlightListItem, &skin::Timer::tick, this, [this] { m_highlight->tmrHighlightListItem_Timer(); });
    connect(&c.tmrSavePreset, &skin::Timer::tick, this, [this] { m_presets->tmrSavePreset_Timer(); });
    connect(&c.tmrButtonPressed, &skin::Timer::tick, this, [this] { m_hold->tmrButtonPressed_Timer(); });
    c.cmdExit->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { cmdExit_MouseDown(a); },
                             .mouseUp = [this](const skin::MouseArgs& a) { cmdExit_MouseUp(a); },
                             .click = [this] { cmdExit_Click(); }};
    for (int group = 0; group < 6; ++group)
        c.rowGroup(group).setHandlers([this](int index) {
            return skin::MouseHandlers{
                .mouseDown = [this, index](const skin::MouseArgs& a) { lblListItem_MouseDown(qint16(index), a); },
                .dblClick = [this, index] { lblListItem_DblClick(qint16(index)); }};
        });
    m_scroller->connectHandlers();
    m_nowPlaying->connectHandlers();
    m_presets->connectHandlers();
    m_hold->connectHandlers();
    presets::PressAndHold& h = *m_hold;
    c.cmdVolumeUp->handlers() = {.mouseDown = [&h](const skin::MouseArgs& a) { h.cmdVolumeUp_MouseDown(a); },
                                 .mouseUp = [&h](const skin::MouseArgs& a) { h.cmdVolumeUp_MouseUp(a); },
                                 .click = [this] { cmdVolumeUp_Click(); }};
    c.cmdVolumeDown->handlers() = {.mouseDown = [&h](const skin::MouseArgs& a) { h.cmdVolumeDown_MouseDown(a); },
                                   .mouseUp = [&h](const skin::MouseArgs& a) { h.cmdVolumeDown_MouseUp(a); },
                                   .click = [this] { cmdVolumeDown_Click(); }};
    c.cmdVolumeMute->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { cmdVolumeMute_MouseDown(a); },
                                   .mouseUp = [this](const skin::MouseArgs& a) { cmdVolumeMute_MouseUp(a); },
                                   .click = [this] { cmdVolumeMute_Click(); }};
}

// --- start-up ------------------------------------------------------------------------------

void frmRadioXM::Form_Load()
{
    // At ignition the driver sees the radio at once: the skin's picture is on screen before the
    // controls are laid out over it, and they are before the radio service, the mixer and the
    // bus are started.
    ClearLabels();
    // Read once: the start-up keys and the alerts come from the same copy of the file.
    const modIni::IniDocument ini = modIni::IniDocument::fromFile(m_iniFile);
    m_settings = app::ReadStartupSettings(ini);
    const app::StartupSettings& settings = m_settings;
    m_presets->LoadPresets(settings.presets);
    m_skin->setShowMouseCursor(settings.showMouseCursor);
    m_skin->setCurrentSkin(ChooseSkin(settings, timeOfDay()));
    app::PlaceWindow(*this, settings);
    ShowFirstPicture();
    app::ReturnFreedPicturesToTheSystem();
    LoadSkinReportingErrors();
    m_controls->pctTimeScroll->setLeft(0);
    // From here on a step that fails is skipped and start-up goes on.
    m_table.CreateColumns(m_controls->lv->Width());
    const QString services = m_folders.settings + QLatin1String("/services.dat");
    if (FileExists(services))
        m_table.LoadServices(services);
    m_tuned.setNumber(settings.lastChannel);
    m_presets->RefreshPresetButtons();
    ShowSkin();
    createAlerts(ini);
    StartService(settings.servicePath);
    OpenMixer();
    CreateRadio();
    TuneLastChannel(settings.lastChannel);
    m_mpris = std::make_unique<mpris::MediaPlayer>(mpris::WindowParts{
        *this, m_tuned, m_timeShift, m_list->state(), m_table, *m_tuner, MXM.get(), [this] { return volu.get(); }});
    m_controls->tmrLoad.setEnabled(true);
    m_controls->tmrUpdates.setEnabled(true);
}

QString frmRadioXM::timeOfDay() const
{
    return m_seams.clock().toString(QStringLiteral("HH:mm:ss"));
}

void frmRadioXM::StartService(const QString& servicePath)
{
    const QString path = app::ServiceProgram(servicePath, m_seams.programFolder);
    if (!FileExists(path))
        return;
    if (!app::StartDetached(path, m_seams.programFolder))
        qCWarning(lcApp) << "the radio service" << path << "could not be started";
}

void frmRadioXM::ClearLabels()
{
    skin::RadioXMControls& c = *m_controls;
    for (skin::Label* label :
         {c.lblVolume.get(), c.lblDate.get(), c.lblTime.get(), c.lblGPSSpeed.get(), c.lblSpeedCam.get(),
          c.lblGPSSatellites.get(), c.lblCC.get(), c.lblStation.get(), c.lblArtist.get(), c.lblGenre.get(),
          c.lblTrackTitle.get(), c.lblCurrentPos.get(), c.lblTotalTrackTime.get(), c.lblArtistTrackTitle.get()})
        label->setCaption(QString());
}

void frmRadioXM::SkinApplied(bool again, qint16 rowsBefore)
{
    if (again) {
        ShowWindowAgain(rowsBefore);
        return;
    }
    // The first skin fills the list from its first channel, and the mute button shows the
    // mixer's master mute.
    qint32 start = 0;
    m_list->PopulateList(start);
    paint(*m_controls->cmdVolumeMute, volu && volu->VolumeMute() ? skin::StateOn : skin::StateUp);
}

void frmRadioXM::ShowWindowAgain(qint16 rowsBefore)
{
    m_highlight->ShowListAgain(rowsBefore);
    m_presets->RefreshPresetButtons();
    m_volume->ShowRadioMute();
    nowplaying::SignalStrength(nowplaying::SignalBars::of(*m_controls), m_signal[0], m_signal[1], m_signal[2]);
    m_nowPlaying->PlaceTimeThumb();
}

void frmRadioXM::CreateRadio()
{
    MXM = m_seams.createRadio ? m_seams.createRadio() : nullptr;
    if (!MXM) {
        qCWarning(lcApp) << "no radio client: the radio service cannot be reached";
        return;
    }
    // Anything the radio says stops the no-data watchdog first, and answers its question when it
    // is up: slots run in the order connected. Then the reports are handled one at a time, in
    // the order the bus delivered them: a handler that lets pending events run (a paint between
    // reports, the wait for a held preset) would otherwise handle the next report inside it, and
    // the list, the labels and the alerts would hear the older report last.
    const auto heard = [this]<typename... Args>(void (AXXMRadioClient::*signal)(Args...),
                                                void (frmRadioXM::*handler)(Args...)) {
        connect(MXM.get(), signal, this, &frmRadioXM::RadioHeard);
        connect(MXM.get(), signal, this, [this, handler](Args... args) {
            // Kept (copied) only when another report is being handled; usually run at once.
            if (m_handlingReport) {
                m_reports.push_back([this, handler, args...] { (this->*handler)(args...); });
                return;
            }
            m_handlingReport = true;
            (this->*handler)(args...);
            handleWaitingReports();
        });
    };
    heard(&AXXMRadioClient::ChannelChange, &frmRadioXM::MXM_ChannelChange);
    heard(&AXXMRadioClient::CurrentTime, &frmRadioXM::MXM_CurrentTime);
    heard(&AXXMRadioClient::ChannelData, &frmRadioXM::MXM_ChannelData);
    heard(&AXXMRadioClient::CurrentChannelData, &frmRadioXM::MXM_CurrentChannelData);
    heard(&AXXMRadioClient::SignalStrength, &frmRadioXM::MXM_SignalStrength);
    heard(&AXXMRadioClient::TimeShiftChanged, &frmRadioXM::MXM_TimeShiftChanged);
    heard(&AXXMRadioClient::SongHeard, &frmRadioXM::MXM_SongHeard);
    connect(MXM.get(), &AXXMRadioClient::MuteChanged, this, &frmRadioXM::RadioHeard);
    connect(MXM.get(), &AXXMRadioClient::ServiceLost, this, &frmRadioXM::MXM_ServiceLost);
}

void frmRadioXM::createAlerts(const modIni::IniDocument& ini)
{
    m_alerts = std::make_unique<alerts::WindowAlerts>(
        alerts::AlertControls::of(*m_controls), m_iniFile, m_tuned, ini,
        m_seams.programFolder + QLatin1String("/vanto-xm.png"),
        alerts::WindowAlerts::Hooks{[this](qint32 number) { m_tuner->TuneChannel(number); },
                                    [this] { return m_nowPlaying->ArtistTrackTitle(); },
                                    [this] { return m_presets->HoldsArtistTitleLine(); },
                                    [this] { return m_nowPlaying->ShownArtistTitle(); }});
    m_alerts->connectHandlers();
}

void frmRadioXM::ShowFirstPicture()
{
    const QImage picture = m_skin->FirstPicture();
    if (!picture.isNull()) {
        m_firstPicture = std::make_unique<app::FirstPicture>(*this, picture);
        app::ShowPainted(*this, FirstFrameWaitMs);
    } else
        m_controls->textMeasure.release();
}

void frmRadioXM::ShowSkin()
{
    // A load that failed before it laid out the list has not let the labels measure yet.
    m_controls->textMeasure.release();
    const bool covered = m_firstPicture != nullptr;
    m_firstPicture.reset();
    if (!isVisible())
        app::ShowPainted(*this, FirstFrameWaitMs);
    else if (covered)
        repaint();
}

void frmRadioXM::TuneLastChannel(qint32 channel)
{
    if (!MXM)
        return;
    MXM->setMute(false);
    MXM->Channel(channel);
}

void frmRadioXM::OpenMixer()
{
    volu = std::make_unique<volume::cVolume>(m_seams.createMixer ? m_seams.createMixer() : nullptr, *m_messageBox);
    // The skin was painted before the mixer was open: a muted sound card and the level show now,
    // not at the next periodic update.
    if (volu->VolumeMute())
        m_volume->ShowMixerMute();
    m_volume->RefreshVolumeDisplay();
}

void frmRadioXM::setRadioMute(bool muted)
{
    if (MXM)
        MXM->setMute(muted);
}

void frmRadioXM::timeShift(TimeShiftCommand command, double position)
{
    if (MXM)
        MXM->timeShift(command, position);
}

void frmRadioXM::paint(skin::PictureArea& target, qint16 state)
{
    skin::PaintSkinnedControl(*m_controls, target, state, m_scale);
}

// --- timers --------------------------------------------------------------------------------

void frmRadioXM::tmrLoad_Timer()
{
    // One question at a time: the watchdog keeps ticking while it is on screen.
    if (m_questionOpen)
        return;
    m_questionOpen = true;
    m_heardWhileAsking = false;
    const app::MessageBox::Answer answer = m_messageBox->show(
        QuestionTitle, QuestionText, app::MessageBox::Icon::Question, app::MessageBox::Buttons::YesNo);
    m_questionOpen = false;
    // The radio spoke while the question was up: it is answered, and the service runs already.
    if (m_heardWhileAsking)
        return;
    if (answer == app::MessageBox::Answer::Yes) {
        // The path is read again: it may have been put right while the question was up.
        StartService(app::ReadStartupSettings(m_iniFile).servicePath);
        // "Wait another 10 seconds" counts from the answer, however long the question was up.
        restartWatchdog();
    } else
        close();
}

void frmRadioXM::tmrResize_Timer()
{
    LoadSkinReportingErrors();
    // Stopped also after a failed load: a broken skin must not be retried every 50 ms.
    m_controls->tmrResize.setEnabled(false);
}

void frmRadioXM::tmrUpdates_Timer()
{
    m_startupComplete = true;
    // CurrentSkin changes before the load, so ticks during the load do not load again.
    if (const std::optional<QString> next =
            m_dayNight.skinToLoad(m_settings, m_skin->state().CurrentSkin, timeOfDay())) {
        m_skin->setCurrentSkin(*next);
        LoadSkinReportingErrors();
    }
    m_volume->RefreshVolumeDisplay();
    if (m_mpris)
        m_mpris->FollowVolume();
}

// --- the exit button -----------------------------------------------------------------------

void frmRadioXM::cmdExit_MouseDown(const skin::MouseArgs&)
{
    paint(*m_controls->cmdExit, skin::StateDown);
}
void frmRadioXM::cmdExit_MouseUp(const skin::MouseArgs&)
{
    paint(*m_controls->cmdExit, skin::StateUp);
}
void frmRadioXM::cmdExit_Click()
{
    close();
}

// --- the volume buttons ------------------------------------------------------------------

void frmRadioXM::cmdVolumeUp_Click()
{
    m_volume->IncreaseVolume();
}
void frmRadioXM::cmdVolumeDown_Click()
{
    m_volume->DecreaseVolume();
}
void frmRadioXM::cmdVolumeMute_Click()
{
    m_volume->ToggleMute();
}
void frmRadioXM::cmdVolumeMute_MouseDown(const skin::MouseArgs&)
{
    m_volume->ShowMutePressed();
}
void frmRadioXM::cmdVolumeMute_MouseUp(const skin::MouseArgs&)
{
    m_volume->ShowMixerMute();
}

// --- radio events --------------------------------------------------------------------------

void frmRadioXM::handleWaitingReports()
{
    while (!m_reports.empty()) {
        const std::function<void()> next = std::move(m_reports.front());
        m_reports.pop_front();
        next();
    }
    m_handlingReport = false;
}

void frmRadioXM::MXM_ChannelChange(qint32 number)
{
    m_nowPlaying->ChannelChange(number);
}

void frmRadioXM::MXM_CurrentTime(qint32 position, qint32 duration)
{
    m_nowPlaying->CurrentTime(position, duration);
}

void frmRadioXM::MXM_ChannelData(qint32 number, const QString& station, const QString& artist, const QString& title,
                                 const QString& genre)
{
    const bool wasReady = m_list->state().ChannelListReady;
    m_channelData->ChannelData(number, station, artist, title, genre);
    if (m_alerts)
        m_alerts->Report(number, station, artist, title);
    // The listing has come round: the media player can step through the list now.
    if (!wasReady && m_list->state().ChannelListReady && m_mpris)
        m_mpris->Refresh();
}

void frmRadioXM::MXM_CurrentChannelData(qint32 number, const QString& station, const QString& artist,
                                        const QString& title, const QString& genre)
{
    m_nowPlaying->CurrentChannelData(number, station, artist, title, genre);
    if (m_alerts)
        m_alerts->Report(number, station, artist, title);
}

void frmRadioXM::MXM_SignalStrength(float rock, float roll, float ground)
{
    m_signal = {rock, roll, ground};
    nowplaying::SignalStrength(nowplaying::SignalBars::of(*m_controls), rock, roll, ground);
}

void frmRadioXM::MXM_TimeShiftChanged(bool paused, double behindLive, double buffered, double position)
{
    m_timeShift.report(paused, behindLive, buffered, position);
}

void frmRadioXM::MXM_SongHeard(qint32 number, const QString& station, const QString& artist, const QString& title,
                               const QString& genre, qint32 duration)
{
    m_timeShift.songHeard({number, station, artist, title, genre, duration});
}

void frmRadioXM::MXM_ServiceLost()
{
    // What the service kept is gone with it.
    m_timeShift.lost();
    // Nothing is received any more: the bars drop to nothing, and the no-data question comes
    // 10 seconds later as at start-up, unless the service returns and speaks first.
    m_signal = {};
    nowplaying::SignalStrength(nowplaying::SignalBars::of(*m_controls), 0, 0, 0);
    restartWatchdog();
}

// A radio that speaks needs no watchdog, and a no-data question on screen is out of date: it is
// closed as if answered Yes, without a second service.
void frmRadioXM::RadioHeard()
{
    m_controls->tmrLoad.setEnabled(false);
    if (!m_questionOpen || std::exchange(m_heardWhileAsking, true))
        return;
    qCInfo(lcApp) << "the radio speaks again: the no-data question is closed";
    m_messageBox->dismiss(app::MessageBox::Answer::Yes);
}

void frmRadioXM::restartWatchdog()
{
    // A running timer is not restarted by enabling it again.
    m_controls->tmrLoad.setEnabled(false);
    m_controls->tmrLoad.setEnabled(true);
}

// --- the list rows ---------------------------------------------------------------------------

void frmRadioXM::lblListItem_MouseDown(qint16 index, const skin::MouseArgs& args)
{
    m_highlight->lblListItem_MouseDown(index, args);
}

void frmRadioXM::lblListItem_DblClick(qint16 index)
{
    m_chooser->lblListItem_DblClick(index);
}

// --- resize and shutdown -------------------------------------------------------------------

void frmRadioXM::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_startupComplete && !m_skin->state().LoadingSkin)
        m_controls->tmrResize.setEnabled(true);
}

void frmRadioXM::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    followScreen();
}

void frmRadioXM::followScreen()
{
    if (m_followingScreen || !windowHandle())
        return;
    m_followingScreen = true;
    // On another screen the twips per pixel and the pixel density may differ: the skin is laid
    // out again for it, as after a resize.
    connect(windowHandle(), &QWindow::screenChanged, this, [this] {
        m_scale = skin::TwipsScale::forWidget(this);
        if (m_startupComplete && !m_skin->state().LoadingSkin)
            m_controls->tmrResize.setEnabled(true);
    });
}

void frmRadioXM::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmRadioXM::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    volu.reset();
    // The window's timers end with it.
    for (skin::Timer* timer : findChildren<skin::Timer*>())
        timer->setEnabled(false);
    m_tuner->Unload();
    if (m_mpris)
        m_mpris->Unload();
    if (MXM)
        MXM->setMute(true);
    MXM.reset();
}
