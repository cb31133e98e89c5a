// Everything the port can do wrong ends in the same place: close, log once, try again in 2 s.
#include "seriallink.h"

#include "logging.h"

#include <QFileInfo>

namespace xmservice {

SerialLink::SerialLink(QString devicePath, int baud, QObject* parent)
    : QObject(parent)
    , m_path(std::move(devicePath))
    , m_baud(baud)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(RetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &SerialLink::tryOpen);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLink::onError);
    connect(&m_port, &QSerialPort::readyRead, this, [this] { emit received(m_port.readAll()); });
}

void SerialLink::open()
{
    tryOpen();
}

void SerialLink::send(const QByteArray& bytes)
{
    if (m_up)
        m_port.write(bytes);
}

void SerialLink::tryOpen()
{
    m_port.setPortName(m_path);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString reason = openFailureReason(m_path, m_port.error(), m_port.errorString());
        if (reason != m_lastFailure)
            qCWarning(lcService).noquote() << reason << "- trying again every 2 s";
        m_lastFailure = reason;
        m_port.clearError();
        m_retry.start();
        return;
    }
    const bool configured = m_port.setBaudRate(m_baud) && m_port.setDataBits(QSerialPort::Data8) &&
                            m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
                            m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        closeAndRetry(
            QStringLiteral("cannot set %1 to %2 baud, 8N1: %3").arg(m_path).arg(m_baud).arg(m_port.errorString()));
        return;
    }
    m_lastFailure.clear();
    m_up = true;
    qCInfo(lcService).noquote() << QStringLiteral("receiver port %1 open at %2 baud").arg(m_path).arg(m_baud);
    emit opened();
}

void SerialLink::onError(QSerialPort::SerialPortError error)
{
    // Open failures are handled where the open is tried; a read or write error on an open port
    // means the device is gone or broken.
    if (!m_up || error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    closeAndRetry(
        QStringLiteral("receiver port %1 lost: the device went away or failed (%2)").arg(m_path, m_port.errorString()));
}

void SerialLink::closeAndRetry(const QString& reason)
{
    // A port that keeps failing the same way (a baud rate it cannot take) says so once.
    if (reason != m_lastFailure)
        qCWarning(lcService).noquote() << reason << "- reopening every 2 s";
    m_lastFailure = reason;
    m_up = false;
    // Closing from inside the port's own notification is safe once the notification is over.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_port.isOpen())
                m_port.close();
            m_port.clearError();
        },
        Qt::QueuedConnection);
    m_port.clearError();
    m_retry.start();
    emit lost();
}

QString openFailureReason(const QString& path, QSerialPort::SerialPortError error, const QString& errorText)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("cannot open the receiver at %1: no such device (is it plugged in?)").arg(path);
    if (error == QSerialPort::PermissionError)
        return QStringLiteral("cannot open the receiver at %1: permission denied (%2); add the user to the group "
                              "that owns the device, usually dialout, and log in again")
            .arg(path, errorText);
    return QStringLiteral("cannot open the receiver at %1: %2").arg(path, errorText);
}

} // namespace xmservice
