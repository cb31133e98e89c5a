// scripts/run.sh as a newcomer runs it: on a terminal of its own (a pseudo-terminal), outside a
// login session (no session bus, no runtime folder), stopped with Ctrl-C. The build it starts is
// the one the tests use, so its build step finds nothing to do.
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QString>
#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The processes the run started, by the mark each carries in its environment.
QStringList processesOfRun(pid_t run)
{
    const QByteArray mark = "VANTO_XM_RUN=" + QByteArray::number(run) + '.';
    QStringList found;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
        if (environ.open(QIODevice::ReadOnly) && environ.readAll().contains(mark))
            found << pid;
    }
    return found;
}

TEST(RunScript, CtrlCEndsTheRunAtOnceAndTheTerminalKeepsTheProgramsOwnLines)
{
    int terminal = -1;
    const pid_t run = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (run == 0) {
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        unsetenv("XDG_RUNTIME_DIR");
        if (chdir(VANTO_SOURCE_DIR) == 0)
            execlp("bash", "bash", "scripts/run.sh", nullptr);
        _exit(127);
    }
    ASSERT_GT(run, 0);
    // A run the test gave up on must not outlive it.
    const auto end = qScopeGuard([&] {
        if (waitpid(run, nullptr, WNOHANG) == 0)
            ::kill(-run, SIGKILL);
        ::close(terminal);
    });

    // Keeps what the terminal shows until done() holds or ms have passed; false when they passed.
    QByteArray shown;
    const auto readUntil = [&](int ms, const auto& done) {
        char buffer[4096];
        for (QDeadlineTimer deadline(ms); !deadline.hasExpired();) {
            if (done())
                return true;
            pollfd ready{terminal, POLLIN, 0};
            const ssize_t got = ::poll(&ready, 1, 10) > 0 ? ::read(terminal, buffer, sizeof buffer) : 0;
            if (got > 0)
                shown.append(buffer, got);
        }
        return false;
    };
    ASSERT_TRUE(readUntil(120000, [&] { return shown.contains("To play the radio service by hand"); }))
        << shown.constData();
    ASSERT_FALSE(processesOfRun(run).isEmpty());
    // The rest of the hint, when it comes within a second.
    const qsizetype hint = shown.size();
    readUntil(1000, [&] { return shown.size() > hint; });

    QElapsedTimer stopping;
    stopping.start();
    ASSERT_GT(::write(terminal, "\x03", 1), 0);
    ASSERT_TRUE(readUntil(10000, [&] { return waitpid(run, nullptr, WNOHANG) == run; })) << shown.constData();
    EXPECT_LT(stopping.elapsed(), 1500) << "the window, the service and the bus end at once";
    EXPECT_TRUE(processesOfRun(run).isEmpty()) << qPrintable(processesOfRun(run).join(' '));

    // What is not the program's: Qt's complaint about a missing runtime folder, the private
    // bus's own lines.
    for (const char* foreign : {"XDG_RUNTIME_DIR", "dbus-daemon", "fd limit", "Reloaded configuration"})
        EXPECT_FALSE(shown.contains(foreign)) << foreign << " in:\n" << shown.constData();
}

} // namespace
