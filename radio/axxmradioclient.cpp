#include "axxmradioclient.h"

#include "radio/xmradio_names.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcRadio, "vanto.radio")

namespace {
const QStringList SignalNames = {QStringLiteral("ChannelChange"),  QStringLiteral("CurrentTime"),
                                 QStringLiteral("ChannelData"),    QStringLiteral("CurrentChannelData"),
                                 QStringLiteral("SignalStrength"), QStringLiteral("MuteChanged")};
} // namespace

std::unique_ptr<AXXMRadioClient> AXXMRadioClient::create(const QDBusConnection& bus)
{
    if (!bus.isConnected()) {
        qCWarning(lcRadio) << "no session bus:" << bus.lastError().message();
        return nullptr;
    }
    return std::unique_ptr<AXXMRadioClient>(new AXXMRadioClient(bus));
}

AXXMRadioClient::AXXMRadioClient(const QDBusConnection& bus)
    : m_bus(bus)
{
    // Signals are matched by path and interface only; the sender is checked against the
    // service's current owner here, so that the owner can be followed without a blocking
    // look-up and nobody else can speak for the radio.
    for (const QString& name : SignalNames)
        m_bus.connect(QString(), QLatin1String(xmradio::ObjectPath), QLatin1String(xmradio::InterfaceName), name, this,
                      SLOT(onSignal(QDBusMessage)));
    m_watcher = new QDBusServiceWatcher(QLatin1String(xmradio::ServiceName), m_bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) { onOwnerChanged(newOwner); });
    askCurrentOwner();
}

AXXMRadioClient::~AXXMRadioClient()
{
    for (const QString& name : SignalNames)
        m_bus.disconnect(QString(), QLatin1String(xmradio::ObjectPath), QLatin1String(xmradio::InterfaceName), name,
                         this, SLOT(onSignal(QDBusMessage)));
}

void AXXMRadioClient::askCurrentOwner()
{
    QDBusMessage ask =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    ask << QLatin1String(xmradio::ServiceName);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        QDBusPendingReply<QString> reply = *w;
        // An owner change seen meanwhile is newer than this answer.
        if (!m_ownerKnown && reply.isValid()) {
            m_owner = reply.value();
            m_ownerKnown = true;
            if (!m_owner.isEmpty())
                emit ServiceFound();
        }
        w->deleteLater();
    });
}

void AXXMRadioClient::onOwnerChanged(const QString& newOwner)
{
    const bool hadOwner = !m_owner.isEmpty();
    m_owner = newOwner;
    m_ownerKnown = true;
    if (newOwner.isEmpty()) {
        if (hadOwner) {
            qCInfo(lcRadio) << "the radio service has gone away";
            emit ServiceLost();
        }
        return;
    }
    // A service that starts late, or again after a crash, learns what the window asked for.
    qCInfo(lcRadio) << "radio service owner is now" << newOwner;
    if (m_muteSet)
        send(QStringLiteral("SetMute"), m_muted);
    if (m_channel)
        send(QStringLiteral("Channel"), *m_channel);
    emit ServiceFound();
}

void AXXMRadioClient::Channel(qint32& number)
{
    m_channel = number;
    send(QStringLiteral("Channel"), number);
}

void AXXMRadioClient::setMute(bool muted)
{
    m_muted = muted;
    m_muteSet = true;
    send(QStringLiteral("SetMute"), muted);
}

void AXXMRadioClient::send(const QString& method, const QVariant& argument)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(xmradio::ServiceName), QLatin1String(xmradio::ObjectPath),
                                       QLatin1String(xmradio::InterfaceName), method);
    call << argument;
    m_bus.send(call);
}

void AXXMRadioClient::onSignal(const QDBusMessage& message)
{
    if (!m_ownerKnown || message.service() != m_owner || m_owner.isEmpty()) {
        qCDebug(lcRadio) << "ignored" << message.member() << "from" << message.service();
        return;
    }
    dispatch(message);
}

void AXXMRadioClient::dispatch(const QDBusMessage& message)
{
    const QString member = message.member();
    const QString signature = message.signature();
    const QList<QVariant> a = message.arguments();
    if (member == QLatin1String("ChannelChange") && signature == QLatin1String("i"))
        emit ChannelChange(a[0].toInt());
    else if (member == QLatin1String("CurrentTime") && signature == QLatin1String("ii"))
        emit CurrentTime(a[0].toInt(), a[1].toInt());
    else if (member == QLatin1String("ChannelData") && signature == QLatin1String("issss"))
        emit ChannelData(a[0].toInt(), a[1].toString(), a[2].toString(), a[3].toString(), a[4].toString());
    else if (member == QLatin1String("CurrentChannelData") && signature == QLatin1String("issss"))
        emit CurrentChannelData(a[0].toInt(), a[1].toString(), a[2].toString(), a[3].toString(), a[4].toString());
    else if (member == QLatin1String("SignalStrength") && signature == QLatin1String("ddd"))
        emit SignalStrength(float(a[0].toDouble()), float(a[1].toDouble()), float(a[2].toDouble()));
    else if (member == QLatin1String("MuteChanged") && signature == QLatin1String("b")) {
        m_muted = a[0].toBool();
        emit MuteChanged(m_muted);
    } else
        qCWarning(lcRadio) << "malformed signal" << member << signature << "ignored";
}
