// The serial port under the receiver: opens the device, keeps trying every 2 s while it cannot,
// and closes and reopens it when it goes away (a pulled USB receiver, a loose cable).
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

namespace xmservice {

class SerialLink : public QObject {
    Q_OBJECT
public:
    static constexpr int RetryIntervalMs = 2000;

    SerialLink(QString devicePath, int baud, QObject* parent = nullptr);

    // Opens the device now, or keeps trying until it can.
    void open();
    bool isOpen() const { return m_up; }
    void send(const QByteArray& bytes);

signals:
    void opened();
    void lost();
    void received(const QByteArray& bytes);

private:
    void tryOpen();
    void onError(QSerialPort::SerialPortError error);
    void closeAndRetry(const QString& reason);

    QString m_path;
    int m_baud;
    QSerialPort m_port;
    QTimer m_retry;
    QString m_lastFailure; // logged once until the reason changes
    bool m_up = false;     // open, and no error since
};

// Why a device cannot be opened, in the user's terms (a missing group membership, a missing
// device), with the port's own error text.
QString openFailureReason(const QString& path, QSerialPort::SerialPortError error, const QString& errorText);

} // namespace xmservice
