// The recorder listens with an empty sender, so it catches the signals of whichever process
// owns the radio service, even one started after the recorder.
#include "busrecorder.h"

#include "bus/xmradio_names.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace {

const char* const SignalNames[] = {"ChannelChange",  "CurrentTime", "ChannelData",      "CurrentChannelData",
                                   "SignalStrength", "MuteChanged", "TimeShiftChanged", "SongHeard"};

} // namespace

BusRecorder::BusRecorder()
{
    m_clock.start();
    for (const char* name : SignalNames) {
        QDBusConnection::sessionBus().connect(QString(), QString::fromLatin1(xmradio::ObjectPath),
                                              QString::fromLatin1(xmradio::InterfaceName), QString::fromLatin1(name),
                                              this, SLOT(record(QDBusMessage)));
    }
}

QList<BusSignal> BusRecorder::received(const QString& member) const
{
    QList<BusSignal> found;
    for (const BusSignal& signal : m_all) {
        if (signal.member == member)
            found.append(signal);
    }
    return found;
}

int BusRecorder::indexOf(const QString& member, const QVariant& firstArgument) const
{
    for (int i = 0; i < m_all.size(); ++i) {
        const BusSignal& signal = m_all.at(i);
        if (signal.member == member && !signal.arguments.isEmpty() && signal.arguments.first() == firstArgument)
            return i;
    }
    return -1;
}

void BusRecorder::record(const QDBusMessage& message)
{
    m_all.append({message.member(), message.arguments(), m_clock.elapsed()});
}

QDBusMessage askRadio(const QString& method, const QVariantList& arguments, int timeoutMs)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(xmradio::ServiceName),
                                                       QString::fromLatin1(xmradio::ObjectPath),
                                                       QString::fromLatin1(xmradio::InterfaceName), method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, timeoutMs);
}

bool callRadio(const QString& method, const QVariant& argument)
{
    return askRadio(method, {argument}).type() == QDBusMessage::ReplyMessage;
}

bool radioNameOwned()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(QString::fromLatin1(xmradio::ServiceName));
}
