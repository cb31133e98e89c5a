#include "axxmradioclient.h"
#include "radio/logging.h"

#include "bus/xmradio_names.h"
#include "radio/clientmembers.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QLoggingCategory>
#include <optional>
#include <tuple>
#include <utility>

namespace client = xmradio::client;

namespace {

QStringList signalNames()
{
    QStringList names;
    for (const client::Entry& member : client::Members)
        if (member.kind == client::Kind::Signal)
            names << QLatin1String(member.name);
    return names;
}

const QStringList SignalNames = signalNames();

template <typename... Args, std::size_t... I>
std::tuple<Args...> arguments(const client::Member<client::Kind::Signal, Args...>&, const QList<QVariant>& a,
                              std::index_sequence<I...>)
{
    return {a[I].value<Args>()...};
}

// The signal's arguments in the member's types, or nothing when the message is another member or
// carries other types.
template <typename... Args>
std::optional<std::tuple<Args...>> read(const client::Member<client::Kind::Signal, Args...>& member,
                                        const QDBusMessage& message)
{
    if (message.member() != QLatin1String(member.name) || message.signature() != QLatin1String(member.signature))
        return std::nullopt;
    return arguments(member, message.arguments(), std::index_sequence_for<Args...>{});
}

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
            dispatchEarlySignals();
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
        send(client::SetMute, m_muted);
    if (m_channel)
        send(client::Channel, *m_channel);
    emit ServiceFound();
    dispatchEarlySignals();
}

// What the owner said before it was known to be the owner, in the order it came; anybody else's
// signals are dropped.
void AXXMRadioClient::dispatchEarlySignals()
{
    const QList<QDBusMessage> early = std::exchange(m_beforeOwner, {});
    for (const QDBusMessage& message : early)
        onSignal(message);
}

void AXXMRadioClient::Channel(qint32& number)
{
    m_channel = number;
    send(client::Channel, number);
}

void AXXMRadioClient::setMute(bool muted)
{
    m_muted = muted;
    m_muteSet = true;
    send(client::SetMute, muted);
}

void AXXMRadioClient::timeShift(TimeShiftCommand command, double position)
{
    switch (command) {
    case TimeShiftCommand::Pause: send(client::Pause); break;
    case TimeShiftCommand::Resume: send(client::Resume); break;
    case TimeShiftCommand::Live: send(client::Live); break;
    case TimeShiftCommand::NextSong: send(client::NextSong); break;
    case TimeShiftCommand::PreviousSong: send(client::PreviousSong); break;
    case TimeShiftCommand::Seek: send(client::Seek, position); break;
    }
}

template <typename... Args>
void AXXMRadioClient::send(const client::Member<client::Kind::Method, Args...>& method,
                           const std::type_identity_t<Args>&... arguments)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(xmradio::ServiceName), QLatin1String(xmradio::ObjectPath),
                                       QLatin1String(xmradio::InterfaceName), QLatin1String(method.name));
    call.setArguments({QVariant::fromValue(arguments)...});
    m_bus.send(call);
}

void AXXMRadioClient::onSignal(const QDBusMessage& message)
{
    if (!m_ownerKnown) {
        if (m_beforeOwner.size() < MostEarlySignals)
            m_beforeOwner.append(message);
        return;
    }
    if (message.service() != m_owner || m_owner.isEmpty()) {
        qCDebug(lcRadio) << "ignored" << message.member() << "from" << message.service();
        return;
    }
    dispatch(message);
}

void AXXMRadioClient::dispatch(const QDBusMessage& message)
{
    if (auto a = read(client::ChannelChange, message))
        std::apply([this](auto... v) { emit ChannelChange(v...); }, *a);
    else if (auto a = read(client::CurrentTime, message))
        std::apply([this](auto... v) { emit CurrentTime(v...); }, *a);
    else if (auto a = read(client::ChannelData, message))
        std::apply([this](auto... v) { emit ChannelData(v...); }, *a);
    else if (auto a = read(client::CurrentChannelData, message))
        std::apply([this](auto... v) { emit CurrentChannelData(v...); }, *a);
    else if (auto a = read(client::SignalStrength, message))
        std::apply([this](auto... v) { emit SignalStrength(float(v)...); }, *a);
    else if (auto a = read(client::MuteChanged, message)) {
        m_muted = std::get<0>(*a);
        emit MuteChanged(m_muted);
    } else if (auto a = read(client::TimeShiftChanged, message))
        std::apply([this](auto... v) { emit TimeShiftChanged(v...); }, *a);
    else if (auto a = read(client::SongHeard, message))
        std::apply([this](auto... v) { emit SongHeard(v...); }, *a);
    else
        qCWarning(lcRadio) << "malformed signal" << message.member() << message.signature() << "ignored";
}
