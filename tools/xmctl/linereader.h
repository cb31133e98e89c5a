// Reads standard input line by line from the event loop, so calls from the bus keep being
// answered while a person types.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

namespace xmctl {

class LineReader : public QObject {
    Q_OBJECT
public:
    explicit LineReader(int fd, QObject* parent = nullptr);

signals:
    // One line, without its line end (LF or CR LF), decoded as UTF-8.
    void lineRead(const QString& line);
    // The input has ended; a last line without a line end came before.
    void finished();

private:
    void readAvailable();
    void emitCompleteLines();

    int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_pending;
};

} // namespace xmctl
