#include "windowalerts.h"

#include "alerts/logging.h"
#include "base/basic.h"

#include <QFileInfo>

namespace alerts {
namespace {

const QString AppName = QStringLiteral("V.A.N.T.O XM Radio");
constexpr int HoldMs = 2000;

} // namespace

WindowAlerts::WindowAlerts(AlertControls controls, const QString& iniFile, const radio::TunedChannel& tuned,
                           const modIni::IniDocument& settings, const QString& iconPath, Hooks hooks)
    : m_c(controls)
    , m_tuned(tuned)
    , m_hooks(std::move(hooks))
    , m_iconPath(QFileInfo::exists(iconPath) ? iconPath : QStringLiteral("vanto-xm"))
    , m_desktopOn(basic::CBool(settings.value(QStringLiteral("Alerts"), QStringLiteral("Desktop")).value_or(QString()))
                      .value_or(true))
    , m_book(iniFile, settings)
    , m_watcher(m_book.Index())
    , m_line(*controls.lblArtistTrackTitle, {[this] { return TakeNews(); }, m_hooks.NowPlayingLine, m_hooks.PresetHeld})
{
    m_hold.setSingleShot(true);
    m_hold.setInterval(HoldMs);
    connect(&m_hold, &QTimer::timeout, this, &WindowAlerts::ToggleAlert);
    // The tuned channel's news is heard already, whenever it was tuned.
    connect(&m_tuned, &radio::TunedChannel::changed, this, [this](radio::TunedChannel::Parts parts) {
        if (!(parts & radio::TunedChannel::Number) || !m_tuned.number())
            return;
        m_watcher.setTunedChannel(*m_tuned.number());
        m_line.DropChannel(*m_tuned.number());
        if (m_desktop)
            m_desktop->closeChannel(*m_tuned.number());
    });
    if (m_tuned.number())
        m_watcher.setTunedChannel(*m_tuned.number());
}

WindowAlerts::~WindowAlerts() = default;

void WindowAlerts::connectHandlers()
{
    const auto up = [this](const skin::MouseArgs& a) { lblAlert_MouseUp(a); };
    m_c.lblArtist->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { lblArtist_MouseDown(a); },
                                 .mouseUp = up};
    m_c.lblTrackTitle->handlers() = {.mouseDown = [this](const skin::MouseArgs& a) { lblTrackTitle_MouseDown(a); },
                                     .mouseUp = up};
    // The artist-title line is as wide as its text; a driver aims at the framed line around it,
    // so the frame takes the same hold and tap.
    const skin::MouseHandlers line = {.mouseDown = [this](const skin::MouseArgs& a) { lblArtist_MouseDown(a); },
                                      .mouseUp = up,
                                      .click = [this] { lblArtistTrackTitle_Click(); }};
    m_c.lblArtistTrackTitle->handlers() = line;
    m_c.pctArtistTrackTitle->handlers() = line;
}

void WindowAlerts::lblArtist_MouseDown(const skin::MouseArgs&)
{
    startHold(Held::Artist);
}

void WindowAlerts::lblTrackTitle_MouseDown(const skin::MouseArgs&)
{
    startHold(Held::Song);
}

void WindowAlerts::lblAlert_MouseUp(const skin::MouseArgs&)
{
    m_hold.stop();
}

void WindowAlerts::lblArtistTrackTitle_Click()
{
    if (std::exchange(m_holdActed, false))
        return;
    if (const std::optional<qint32> channel = m_line.BannerChannel())
        TuneBanner(*channel);
}

void WindowAlerts::startHold(Held kind)
{
    m_held = kind;
    m_holdActed = false;
    m_hold.start();
}

void WindowAlerts::ToggleAlert()
{
    m_holdActed = true;
    const auto [artist, title] = m_hooks.SongShown();
    const AlertBook::Toggle toggle =
        m_held == Held::Artist ? m_book.ToggleArtist(artist) : m_book.ToggleSong(artist, title);
    if (toggle.outcome == AlertBook::Outcome::Refused)
        return;
    // An alert that did not reach the settings file is gone at the next start: the line says so.
    m_line.ShowMessage(toggle.saved ? toggle.Message() : toggle.Message() + QStringLiteral(" (not saved)"));
}

void WindowAlerts::Report(qint32 number, const QString& station, const QString& artist, const QString& title)
{
    if (m_watcher.Report(number, station, artist, title))
        m_line.NewsWaiting();
}

std::optional<Announcement> WindowAlerts::TakeNews()
{
    std::optional<Announcement> news = m_watcher.takeNews();
    if (!news || !m_desktopOn)
        return news;
    if (!m_desktop) {
        m_desktop = std::make_unique<DesktopNotifier>(AppName, m_iconPath);
        connect(m_desktop.get(), &DesktopNotifier::tuneRequested, this, &WindowAlerts::TuneBanner);
    }
    m_desktop->notify(*news);
    return news;
}

void WindowAlerts::TuneBanner(qint32 channel)
{
    if (m_hooks.TuneChannel)
        m_hooks.TuneChannel(channel);
}

} // namespace alerts
