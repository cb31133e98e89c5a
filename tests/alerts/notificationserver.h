// A notification server of the tests' own, on its own connection to the session bus: it records
// each Notify and answers it with a new id, at once or when the test says, and sends the desktop's
// signals.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <vector>

inline const QString ServerPath = QStringLiteral("/org/freedesktop/Notifications");
inline const QString ServerInterface = QStringLiteral("org.freedesktop.Notifications");

class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Received {
        QString appName, icon, summary, body;
        QStringList actions;
        uint id = 0;
    };

    explicit NotificationServer(const QString& connectionName, bool answerLater = false)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName))
        , m_answerLater(answerLater)
    {
        m_bus.registerObject(ServerPath, this, QDBusConnection::ExportAllSlots);
        m_bus.registerService(ServerInterface);
    }
    ~NotificationServer() override
    {
        m_bus.unregisterService(ServerInterface);
        QDBusConnection::disconnectFromBus(m_bus.name());
    }

    void send(const QString& member, const QVariantList& arguments) { m_bus.send(signal(member, arguments)); }
    void answerNow()
    {
        for (const auto& [call, id] : m_waiting)
            m_bus.send(call.createReply(QVariant::fromValue(id)));
        m_waiting.clear();
    }
    static QDBusMessage signal(const QString& member, const QVariantList& arguments)
    {
        QDBusMessage message = QDBusMessage::createSignal(ServerPath, ServerInterface, member);
        message.setArguments(arguments);
        return message;
    }

    std::vector<Received> received;
    std::vector<uint> closed; // the ids the program closed

public slots:
    uint Notify(const QString& appName, uint, const QString& icon, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int, const QDBusMessage& call)
    {
        received.push_back({appName, icon, summary, body, actions, uint(received.size() + 1)});
        if (m_answerLater) {
            call.setDelayedReply(true);
            m_waiting.push_back({call, uint(received.size())});
        }
        return uint(received.size());
    }
    void CloseNotification(uint id)
    {
        closed.push_back(id);
        send(QStringLiteral("NotificationClosed"), {id, 3u}); // closed by a call
    }

private:
    QDBusConnection m_bus;
    bool m_answerLater;
    std::vector<std::pair<QDBusMessage, uint>> m_waiting;
};
