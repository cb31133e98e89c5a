// Ends the event loop cleanly on SIGTERM and SIGINT: the handler only writes a byte to a pipe,
// and the event loop reads it and quits, so the program leaves main normally with code 0.
#pragma once

#include <QObject>
#include <QSocketNotifier>

namespace xmservice {

class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;

private:
    static void onSignal(int signalNumber);
    void quitFromEventLoop();

    // The signal handler can reach nothing but this descriptor.
    static inline int s_writeEnd = -1;
    int m_readEnd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace xmservice
