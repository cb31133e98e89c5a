// The desktop notifier: Notify calls without waiting, and the server's ActionInvoked and
// NotificationClosed signals for the notifications it showed.
#include "desktopnotifier.h"

#include "alerts/logging.h"

#include <QDBusError>
#include <QVariantMap>
#include <algorithm>

namespace alerts {
namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");

// A server that never says a notification closed must not make the list grow for the whole run.
constexpr qsizetype MaxShown = 32;

} // namespace

// The answer to one Notify call. It reaches the window's thread the way the server's signals
// do and in their order, so an action is never seen before the id it belongs to.
class PendingNotification : public QObject {
    Q_OBJECT
public:
    PendingNotification(DesktopNotifier* notifier, qint32 channel)
        : QObject(notifier)
        , m_notifier(notifier)
        , m_channel(channel)
    {
    }

public slots:
    void replied(const QDBusMessage& reply)
    {
        m_notifier->shown(reply, m_channel);
        deleteLater();
    }
    void failed(const QDBusError& error)
    {
        m_notifier->failed(error.name() + QStringLiteral(": ") + error.message());
        deleteLater();
    }

private:
    DesktopNotifier* m_notifier;
    qint32 m_channel;
};

DesktopNotifier::DesktopNotifier(QString appName, QString appIcon, const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_appName(std::move(appName))
    , m_appIcon(std::move(appIcon))
{
    if (!m_bus.isConnected())
        return;
    // Matched by path and interface only: the sender is checked against the server that showed
    // the notification, which needs no look-up of the name's owner.
    m_bus.connect(QString(), Path, Interface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(QDBusMessage)));
    m_bus.connect(QString(), Path, Interface, QStringLiteral("NotificationClosed"), this, SLOT(onClosed(QDBusMessage)));
}

DesktopNotifier::~DesktopNotifier()
{
    if (!m_bus.isConnected())
        return;
    m_bus.disconnect(QString(), Path, Interface, QStringLiteral("ActionInvoked"), this,
                     SLOT(onActionInvoked(QDBusMessage)));
    m_bus.disconnect(QString(), Path, Interface, QStringLiteral("NotificationClosed"), this,
                     SLOT(onClosed(QDBusMessage)));
}

void DesktopNotifier::notify(const Announcement& news)
{
    if (!m_bus.isConnected()) {
        failed(QStringLiteral("no session bus"));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("vanto-xm")}};
    call << m_appName << uint(0) << m_appIcon << news.Summary() << news.Body()
         << QStringList{QLatin1String(TuneAction), QStringLiteral("Tune")} << hints << qint32(ShownMs);
    auto* pending = new PendingNotification(this, news.channel);
    if (!m_bus.callWithCallback(call, pending, SLOT(replied(QDBusMessage)), SLOT(failed(QDBusError)))) {
        delete pending;
        failed(m_bus.lastError().message());
    }
}

void DesktopNotifier::shown(const QDBusMessage& reply, qint32 channel)
{
    if (reply.signature() != QLatin1String("u")) {
        failed(QStringLiteral("the notification server answered with %1").arg(reply.signature()));
        return;
    }
    const uint id = reply.arguments().constFirst().toUInt();
    if (channel == m_tuned) { // tuned while the server was answering
        close(reply.service(), id);
        return;
    }
    if (m_shown.size() >= MaxShown) // server ids grow, so the smallest is the oldest
        m_shown.remove(*std::min_element(m_shown.keyBegin(), m_shown.keyEnd()));
    m_shown.insert(id, {reply.service(), channel});
}

void DesktopNotifier::closeChannel(qint32 channel)
{
    m_tuned = channel;
    for (auto it = m_shown.begin(); it != m_shown.end();) {
        if (it->channel == channel) {
            close(it->server, it.key());
            it = m_shown.erase(it);
        } else {
            ++it;
        }
    }
}

void DesktopNotifier::close(const QString& server, uint id)
{
    QDBusMessage call = QDBusMessage::createMethodCall(server, Path, Interface, QStringLiteral("CloseNotification"));
    call << id;
    m_bus.send(call);
}

void DesktopNotifier::failed(const QString& why)
{
    if (m_failureLogged)
        return;
    m_failureLogged = true;
    qCInfo(lcAlerts) << "alerts are not shown on the desktop:" << why;
}

void DesktopNotifier::onActionInvoked(const QDBusMessage& signal)
{
    if (signal.signature() != QLatin1String("us"))
        return;
    const auto it = m_shown.constFind(signal.arguments().at(0).toUInt());
    if (it == m_shown.cend() || it->server != signal.service())
        return;
    if (signal.arguments().at(1).toString() == QLatin1String(TuneAction))
        emit tuneRequested(it->channel);
}

void DesktopNotifier::onClosed(const QDBusMessage& signal)
{
    if (signal.signature() != QLatin1String("uu"))
        return;
    const auto it = m_shown.constFind(signal.arguments().at(0).toUInt());
    if (it != m_shown.cend() && it->server == signal.service())
        m_shown.erase(it);
}

} // namespace alerts

#include "desktopnotifier.moc"
