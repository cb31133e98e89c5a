// Registration on the session bus, with the reasons a second instance or a missing bus give.
#include "busservice.h"

#include "bus/xmradio_names.h"
#include "radiobackend.h"
#include "receiveradaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace xmservice {

QString claimRadioService(QObject* object)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QStringLiteral("cannot connect to the D-Bus session bus (%1)").arg(bus.lastError().message());
    // The object comes first: whoever sees the name appear can call it at once.
    if (!bus.registerObject(QString::fromLatin1(xmradio::ObjectPath), object))
        return QStringLiteral("cannot register the object %1 on the session bus")
            .arg(QString::fromLatin1(xmradio::ObjectPath));
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        QString::fromLatin1(xmradio::ServiceName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return QStringLiteral("cannot claim the name %1 on the session bus (%2)")
            .arg(QString::fromLatin1(xmradio::ServiceName), reply.error().message());
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return QStringLiteral("the name %1 is already owned on the session bus")
            .arg(QString::fromLatin1(xmradio::ServiceName));
    return {};
}

QString publishReceiver(RadioBackend* receiver)
{
    new ReceiverAdaptor(receiver); // owned by the receiver
    return claimRadioService(receiver);
}

} // namespace xmservice
