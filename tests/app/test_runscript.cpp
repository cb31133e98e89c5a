// scripts/run.sh as a newcomer runs it: on a terminal of its own (a pseudo-terminal), outside a
// login session (no session bus, no runtime folder), stopped with Ctrl-C. The build it starts is
// the one the tests use, so its build step finds nothing to do.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QElapsedTimer started()
{
    QElapsedTimer clock;
    clock.start();
    return clock;
}

class Terminal {
public:
    Terminal()
    {
        m_pid = forkpty(&m_fd, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            unsetenv("DBUS_SESSION_BUS_ADDRESS");
            unsetenv("XDG_RUNTIME_DIR");
            if (chdir(VANTO_SOURCE_DIR) == 0)
                execlp("bash", "bash", "scripts/run.sh", nullptr);
            _exit(127);
        }
    }
    ~Terminal()
    {
        if (m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0)
            ::kill(-m_pid, SIGKILL);
        ::close(m_fd);
    }
    // Reads what the terminal shows for up to ms, or until it closes.
    void read(int ms)
    {
        pollfd ready{m_fd, POLLIN, 0};
        char buffer[4096];
        ssize_t got = 0;
        if (::poll(&ready, 1, ms) > 0 && (got = ::read(m_fd, buffer, sizeof buffer)) > 0)
            m_shown.append(buffer, got);
    }
    bool readUntil(const QByteArray& text, int ms)
    {
        for (QElapsedTimer clock = started(); !m_shown.contains(text) && clock.elapsed() < ms;)
            read(50);
        return m_shown.contains(text);
    }
    void type(const char* keys) { ASSERT_GT(::write(m_fd, keys, strlen(keys)), 0); }
    bool ended(int ms)
    {
        for (QElapsedTimer clock = started(); clock.elapsed() < ms;) {
            read(10);
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = 0;
                return true;
            }
        }
        return false;
    }
    const QByteArray& shown() const { return m_shown; }
    pid_t pid() const { return m_pid; }

private:
    int m_fd = -1;
    pid_t m_pid = -1;
    QByteArray m_shown;
};

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
    Terminal terminal;
    ASSERT_TRUE(terminal.readUntil("To play the radio service by hand", 120000)) << terminal.shown().constData();
    const pid_t run = terminal.pid();
    ASSERT_FALSE(processesOfRun(run).isEmpty());
    terminal.read(1000);

    QElapsedTimer stopping;
    stopping.start();
    terminal.type("\x03");
    ASSERT_TRUE(terminal.ended(10000)) << terminal.shown().constData();
    EXPECT_LT(stopping.elapsed(), 1500) << "the window, the service and the bus end at once";
    EXPECT_TRUE(processesOfRun(run).isEmpty()) << qPrintable(processesOfRun(run).join(' '));

    // What is not the program's: Qt's complaint about a missing runtime folder, the private
    // bus's own lines.
    for (const char* foreign : {"XDG_RUNTIME_DIR", "dbus-daemon", "fd limit", "Reloaded configuration"})
        EXPECT_FALSE(terminal.shown().contains(foreign)) << foreign << " in:\n" << terminal.shown().constData();
}

} // namespace
