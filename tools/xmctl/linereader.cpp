// Reads of a descriptor whenever the event loop reports data, cut into lines.
#include "linereader.h"

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace xmctl {

LineReader::LineReader(int fd, QObject* parent)
    : QObject(parent)
    , m_fd(fd)
    , m_notifier(fd, QSocketNotifier::Read)
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &LineReader::readAvailable);
}

void LineReader::readAvailable()
{
    char buffer[4096];
    const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (count > 0) {
        m_pending.append(buffer, count);
        emitCompleteLines();
        return;
    }
    m_notifier.setEnabled(false);
    if (!m_pending.isEmpty())
        emit lineRead(QString::fromUtf8(std::exchange(m_pending, {})));
    emit finished();
}

void LineReader::emitCompleteLines()
{
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        emit lineRead(QString::fromUtf8(line));
    }
}

} // namespace xmctl
