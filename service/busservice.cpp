// Registration on the session bus, with the reasons a second instance or a missing bus give.
#include "busservice.h"

#include "bus/xmradio_names.h"
#include "radiobackend.h"
#include "receiveradaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace xmservice {
namespace {

// The adaptor is generated from the interface and relays the back-end's signals by signature: a
// signal of the back-end whose arguments differ from the interface's would never reach the bus,
// without a word. The build compares them instead.
template <typename Ours, typename Interface> constexpr bool SameArguments = false;
template <typename... Args>
constexpr bool SameArguments<void (RadioBackend::*)(Args...), void (ReceiverAdaptor::*)(Args...)> = true;

static_assert(SameArguments<decltype(&RadioBackend::ChannelChange), decltype(&ReceiverAdaptor::ChannelChange)>);
static_assert(SameArguments<decltype(&RadioBackend::CurrentTime), decltype(&ReceiverAdaptor::CurrentTime)>);
static_assert(SameArguments<decltype(&RadioBackend::ChannelData), decltype(&ReceiverAdaptor::ChannelData)>);
static_assert(
    SameArguments<decltype(&RadioBackend::CurrentChannelData), decltype(&ReceiverAdaptor::CurrentChannelData)>);
static_assert(SameArguments<decltype(&RadioBackend::SignalStrength), decltype(&ReceiverAdaptor::SignalStrength)>);
static_assert(SameArguments<decltype(&RadioBackend::MuteChanged), decltype(&ReceiverAdaptor::MuteChanged)>);
static_assert(SameArguments<decltype(&RadioBackend::TimeShiftChanged), decltype(&ReceiverAdaptor::TimeShiftChanged)>);
static_assert(SameArguments<decltype(&RadioBackend::SongHeard), decltype(&ReceiverAdaptor::SongHeard)>);

} // namespace

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
