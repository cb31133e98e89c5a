// The CPU time a child process has used so far, in milliseconds, as the kernel counts it (user
// and system, all threads): how the tests and the benchmark weigh the radio service.
#pragma once

#include <QFile>
#include <QList>
#include <QProcess>
#include <unistd.h>

inline qint64 cpuMs(const QProcess& process)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process.processId()));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.at(11).toLongLong() + fields.at(12).toLongLong()) * 1000 / ::sysconf(_SC_CLK_TCK);
}
