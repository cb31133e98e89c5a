// The self-pipe between the signal handler and the event loop.
#include "quitonsignals.h"
#include "base/logging.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace app {

namespace {

constexpr int EndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

void installHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

} // namespace

QuitOnSignals::QuitOnSignals(std::function<void()> end, QObject* parent)
    : QObject(parent)
    , m_end(end ? std::move(end) : [] { QCoreApplication::quit(); })
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcSignals) << "no pipe for SIGTERM, SIGINT and SIGHUP; they will end the program abruptly";
        return;
    }
    m_readEnd = ends[0];
    s_writeEnd = ends[1];
    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignals::endFromEventLoop);
    for (const int signalNumber : EndingSignals)
        installHandler(signalNumber, &QuitOnSignals::onSignal);
}

QuitOnSignals::~QuitOnSignals()
{
    if (m_readEnd < 0)
        return;
    for (const int signalNumber : EndingSignals)
        installHandler(signalNumber, SIG_DFL);
    ::close(s_writeEnd);
    ::close(m_readEnd);
    s_writeEnd = -1;
}

void QuitOnSignals::onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s_writeEnd, &byte, 1);
    errno = savedErrno;
}

void QuitOnSignals::endFromEventLoop()
{
    char bytes[16];
    while (::read(m_readEnd, bytes, sizeof bytes) > 0) {
    }
    m_end();
}

} // namespace app
