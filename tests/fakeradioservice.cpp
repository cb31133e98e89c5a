#include "fakeradioservice.h"

#include "bus/xmradio_names.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

FakeRadioService::FakeRadioService(const QString& connectionName, bool claim)
    : m_connectionName(connectionName)
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName))
{
    m_bus.registerObject(QLatin1String(xmradio::ObjectPath), this, QDBusConnection::ExportScriptableSlots);
    if (claim)
        claimName();
}

FakeRadioService::~FakeRadioService()
{
    m_bus.unregisterObject(QLatin1String(xmradio::ObjectPath));
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool FakeRadioService::claimName()
{
    return m_bus.registerService(QLatin1String(xmradio::ServiceName));
}

void FakeRadioService::releaseName()
{
    m_bus.unregisterService(QLatin1String(xmradio::ServiceName));
}

void FakeRadioService::emitSignal(const QString& name, const QVariantList& arguments)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(QLatin1String(xmradio::ObjectPath), QLatin1String(xmradio::InterfaceName), name);
    signal.setArguments(arguments);
    m_bus.send(signal);
}

void FakeRadioService::Channel(int number)
{
    calls << QStringLiteral("Channel %1").arg(number);
}

void FakeRadioService::SetMute(bool muted)
{
    calls << QStringLiteral("SetMute %1").arg(muted ? QStringLiteral("true") : QStringLiteral("false"));
}
