#include "modfunctions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace modFunctions {

bool FileExists(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    return QFileInfo(path).exists();
}

bool SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

SharedWaitTimer::SharedWaitTimer(QObject* parent)
    : QObject(parent)
{
    // The wake-up tick only ends the blocking pass of the loop; the deadline decides.
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, [] {});
}

void SharedWaitTimer::arm(qint32 ms)
{
    m_due = QDeadlineTimer(qMax<qint64>(ms, 0), Qt::PreciseTimer);
    m_wake.start(qMax<qint32>(ms, 0));
}

void SharedWaitTimer::Wait(qint32 ms)
{
    arm(ms);
    do {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        // A nested wait may have re-armed the timer for a later moment; keep a wake-up pending
        // for whatever deadline is current.
        if (!signalled() && !m_wake.isActive())
            m_wake.start(int(qMax<qint64>(m_due.remainingTime(), 0)));
    } while (!signalled());
}

} // namespace modFunctions
