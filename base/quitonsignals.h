// Turns SIGTERM, SIGINT and SIGHUP (logout, shutdown, kill, Ctrl-C, a closed terminal) into an
// ordinary end from the event loop, so that a program's own closing steps still run: the handler
// only writes a byte to a pipe, and the event loop reads it and calls the given end.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>

namespace app {

class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    // end runs on the event loop's thread; by default it quits the event loop.
    explicit QuitOnSignals(std::function<void()> end = {}, QObject* parent = nullptr);
    ~QuitOnSignals() override;

private:
    static void onSignal(int signalNumber);
    void endFromEventLoop();

    // The signal handler can reach nothing but this descriptor.
    static inline int s_writeEnd = -1;
    int m_readEnd = -1;
    QSocketNotifier* m_notifier = nullptr;
    std::function<void()> m_end;
};

} // namespace app
