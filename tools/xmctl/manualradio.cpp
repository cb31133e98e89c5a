// Printing the window's calls and sending signals as the interface spells them.
#include "manualradio.h"

#include "bus/xmradio_names.h"
#include "service/busservice.h"
#include "xmctladaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace xmctl {

ManualRadio::ManualRadio(FILE* out, QObject* parent)
    : QObject(parent)
    , m_out(out)
{
}

QString ManualRadio::publish()
{
    new XmctlAdaptor(this); // owned by this object
    return xmservice::claimRadioService(this);
}

bool ManualRadio::send(const Command& command)
{
    QDBusMessage message = QDBusMessage::createSignal(QString::fromLatin1(xmradio::ObjectPath),
                                                      QString::fromLatin1(xmradio::InterfaceName), command.signal);
    message.setArguments(command.arguments);
    return QDBusConnection::sessionBus().send(message);
}

void ManualRadio::flush()
{
    // The bus handles a connection's messages in order: its answer to this question comes after
    // it has taken every signal sent before.
    QDBusConnection::sessionBus().interface()->isServiceRegistered(QString::fromLatin1(xmradio::ServiceName));
}

void ManualRadio::Channel(int number)
{
    print(QStringLiteral("Channel %1").arg(number));
}

void ManualRadio::SetMute(bool muted)
{
    print(QStringLiteral("SetMute %1").arg(muted ? QLatin1String("true") : QLatin1String("false")));
}

void ManualRadio::Pause()
{
    print(QStringLiteral("Pause"));
}

void ManualRadio::Resume()
{
    print(QStringLiteral("Resume"));
}

void ManualRadio::Live()
{
    print(QStringLiteral("Live"));
}

void ManualRadio::NextSong()
{
    print(QStringLiteral("NextSong"));
}

void ManualRadio::PreviousSong()
{
    print(QStringLiteral("PreviousSong"));
}

void ManualRadio::Seek(double position)
{
    print(QStringLiteral("Seek %1").arg(position));
}

QString ManualRadio::SaveSong()
{
    print(QStringLiteral("SaveSong"));
    return {};
}

bool ManualRadio::TimeShift(bool& paused, double& behindLive, double& buffered, double& position)
{
    print(QStringLiteral("TimeShift"));
    paused = false;
    behindLive = buffered = position = 0;
    return false;
}

void ManualRadio::print(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), m_out);
    std::fflush(m_out);
}

} // namespace xmctl
