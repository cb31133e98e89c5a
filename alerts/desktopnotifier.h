// The news of an alert on the desktop: one notification through org.freedesktop.Notifications on
// the session bus, with a "Tune" action that asks the window to tune the channel. Every call is
// sent without waiting for its answer, so the window never waits for the bus. Where no
// notification server answers, nothing fails and one line is logged in the run.
#pragma once

#include "alerts/alertwatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QObject>
#include <QString>
#include <optional>

namespace alerts {

class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    // appName: the name the desktop shows; appIcon: an icon name or the path of a picture.
    DesktopNotifier(QString appName, QString appIcon = {}, const QDBusConnection& bus = QDBusConnection::sessionBus(),
                    QObject* parent = nullptr);
    ~DesktopNotifier() override;

    void notify(const Announcement& news);
    // The channel is tuned now: its notifications are old news and are closed, also one whose
    // id comes later.
    void closeChannel(qint32 channel);

    // The action key of "Tune".
    static constexpr const char* TuneAction = "tune";
    // How long the desktop keeps the notification, as the window keeps its banner.
    static constexpr int ShownMs = 15000;

signals:
    // The driver chose "Tune" on the notification of this channel.
    void tuneRequested(qint32 channel);

private slots:
    void onActionInvoked(const QDBusMessage& signal);
    void onClosed(const QDBusMessage& signal);

private:
    friend class PendingNotification;
    void shown(const QDBusMessage& reply, qint32 channel);
    void failed(const QString& why);
    void close(const QString& server, uint id);

    QDBusConnection m_bus;
    QString m_appName;
    QString m_appIcon;
    // The channel of each notification still on the desktop, by the server's id; with the
    // server that gave the id, as only it may speak for that notification.
    struct Shown {
        QString server;
        qint32 channel = 0;
    };
    QHash<uint, Shown> m_shown;
    std::optional<qint32> m_tuned;
    bool m_failureLogged = false;
};

} // namespace alerts
