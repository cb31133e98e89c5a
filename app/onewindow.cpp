#include "onewindow.h"
#include "app/logging.h"

#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QWidget>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace app {
namespace {

const QString ObjectPath = QStringLiteral("/org/vanto/XMRadioWindow");
const QString Interface = QStringLiteral("org.vanto.XMRadioWindow");
// A window busy with its start-up answers within this; a second start does not wait longer.
constexpr int RaiseTimeoutMs = 3000;
// RequestName's flag, as the bus daemon defines it.
constexpr uint DoNotQueue = 4;

} // namespace

ProgramFolderLock::ProgramFolderLock(const QString& folder)
{
    // O_CLOEXEC: the radio service the window starts must not keep the folder locked after the
    // window has ended.
    m_fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return;
    const int error = errno;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_heldByAnother = error == EWOULDBLOCK;
    if (!m_heldByAnother)
        qCWarning(lcApp).noquote() << QStringLiteral("The folder %1 cannot be locked (%2): a second "
                                                     "start from it would open a second window.")
                                          .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
}

ProgramFolderLock::~ProgramFolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString WindowBusName(const QString& folder)
{
    // The folder's own path, links resolved, so that every way of naming it gives one name. A
    // name element must not begin with a digit.
    const QString path = QDir(folder).canonicalPath();
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(path.isEmpty() ? folder : path), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return QStringLiteral("org.vanto.XMRadioWindow.f") + QString::fromLatin1(hash);
}

int RaiseRunningWindow(const QString& folder)
{
    const QDBusMessage call =
        QDBusMessage::createMethodCall(WindowBusName(folder), ObjectPath, Interface, QStringLiteral("Raise"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, RaiseTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        qCInfo(lcApp).noquote()
            << QStringLiteral("The window of %1 runs already; it was brought to the front.").arg(folder);
    else
        qCInfo(lcApp).noquote() << QStringLiteral(
                                       "The window of %1 runs already; it could not be brought to the front (%2).")
                                       .arg(folder, reply.errorMessage());
    return 0;
}

RaiseOnRequest::RaiseOnRequest(QWidget& window, const QString& folder)
    : m_window(window)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(ObjectPath, this, QDBusConnection::ExportAllSlots))
        return;
    // Asked without waiting, as the media player's name is; the folder lock already makes this
    // window the only one that asks for it. The name goes with the connection at the end.
    QDBusMessage request =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request << WindowBusName(folder) << DoNotQueue;
    bus.send(request);
}

void RaiseOnRequest::Raise()
{
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

} // namespace app
