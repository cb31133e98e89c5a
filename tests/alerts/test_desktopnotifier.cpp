// The desktop notification of an alert on a private session bus, against a small notification
// server of the test's own on another connection: what is sent, the "Tune" action, who may speak
// for a notification, a server that is slow to answer, and no server at all.
#include "alerts/desktopnotifier.h"
#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace alerts;
using testsupport::waitUntil;

namespace {

const QString ServerPath = QStringLiteral("/org/freedesktop/Notifications");
const QString ServerInterface = QStringLiteral("org.freedesktop.Notifications");

// The server side of the desktop's notifications: records each Notify and answers it with a new
// id, at once or when the test says.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Received {
        QString appName, summary, body;
        QStringList actions;
        uint id = 0;
    };

    explicit NotificationServer(const QString& connectionName, bool answerLater = false)
        : m_name(connectionName)
        , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName))
        , m_answerLater(answerLater)
    {
        m_bus.registerObject(ServerPath, this, QDBusConnection::ExportAllSlots);
        m_bus.registerService(ServerInterface);
    }
    ~NotificationServer() override
    {
        m_bus.unregisterService(ServerInterface);
        QDBusConnection::disconnectFromBus(m_name);
    }

    // Sends a signal of the server as the server.
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

public slots:
    uint Notify(const QString& appName, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int, const QDBusMessage& call)
    {
        received.push_back({appName, summary, body, actions, uint(received.size() + 1)});
        if (m_answerLater) {
            call.setDelayedReply(true);
            m_waiting.push_back({call, uint(received.size())});
        }
        return uint(received.size());
    }

private:
    QString m_name;
    QDBusConnection m_bus;
    bool m_answerLater;
    std::vector<std::pair<QDBusMessage, uint>> m_waiting;
};

Announcement news(qint32 channel)
{
    return {channel, QStringLiteral("Hits 1"), QStringLiteral("Madonna"), QStringLiteral("Vogue"), false};
}

// The log lines of the alerts' category while it lives.
struct AlertLog {
    AlertLog()
    {
        lines.clear();
        previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (QByteArray(context.category) == "vanto.alerts")
                lines << text;
        });
    }
    ~AlertLog() { qInstallMessageHandler(previous); }
    static inline QStringList lines;
    QtMessageHandler previous;
};

TEST(DesktopNotifier, TuneOnTheNotificationAsksForItsChannel)
{
    NotificationServer server(QStringLiteral("server"));
    DesktopNotifier notifier(QStringLiteral("VANTO XM Radio"));
    QSignalSpy tune(&notifier, &DesktopNotifier::tuneRequested);
    notifier.notify(news(7));
    notifier.notify(news(12));
    ASSERT_TRUE(waitUntil([&] { return server.received.size() == 2; }));
    const NotificationServer::Received& first = server.received[0];
    EXPECT_EQ(first.appName, "VANTO XM Radio");
    EXPECT_EQ(first.summary, "Madonna - Vogue");
    EXPECT_EQ(first.body, "on 007 Hits 1");
    EXPECT_EQ(first.actions, QStringList({"tune", "Tune"}));

    server.send(QStringLiteral("ActionInvoked"), {uint(1), QStringLiteral("tune")});
    ASSERT_TRUE(waitUntil([&] { return tune.size() == 1; }));
    EXPECT_EQ(tune.at(0).at(0).toInt(), 7);
    // Another action, or a notification the server has closed, tunes nothing.
    server.send(QStringLiteral("ActionInvoked"), {uint(2), QStringLiteral("default")});
    server.send(QStringLiteral("NotificationClosed"), {uint(2), uint(1)});
    server.send(QStringLiteral("ActionInvoked"), {uint(2), QStringLiteral("tune")});
    server.send(QStringLiteral("ActionInvoked"), {uint(1), QStringLiteral("tune")});
    ASSERT_TRUE(waitUntil([&] { return tune.size() == 2; }));
    testsupport::pump(100);
    EXPECT_EQ(tune.size(), 2);
    EXPECT_EQ(tune.at(1).at(0).toInt(), 7);
}

TEST(DesktopNotifier, OnlyTheServerThatShowedItSpeaksForANotification)
{
    NotificationServer server(QStringLiteral("server"));
    DesktopNotifier notifier(QStringLiteral("VANTO XM Radio"));
    QSignalSpy tune(&notifier, &DesktopNotifier::tuneRequested);
    notifier.notify(news(7));
    ASSERT_TRUE(waitUntil([&] { return server.received.size() == 1; }));
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
    other.send(NotificationServer::signal(QStringLiteral("ActionInvoked"), {uint(1), QStringLiteral("tune")}));
    testsupport::pump(200);
    EXPECT_EQ(tune.size(), 0);
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
}

TEST(DesktopNotifier, ASlowServerDoesNotHoldTheWindow)
{
    NotificationServer server(QStringLiteral("server"), true);
    DesktopNotifier notifier(QStringLiteral("VANTO XM Radio"));
    QSignalSpy tune(&notifier, &DesktopNotifier::tuneRequested);
    // The server answers on this very thread: a call that waited for it would wait its full timeout.
    QElapsedTimer clock;
    clock.start();
    notifier.notify(news(33));
    EXPECT_LT(clock.elapsed(), 1000);
    ASSERT_TRUE(waitUntil([&] { return server.received.size() == 1; }));
    server.answerNow();
    server.send(QStringLiteral("ActionInvoked"), {uint(1), QStringLiteral("tune")});
    ASSERT_TRUE(waitUntil([&] { return tune.size() == 1; }));
    EXPECT_EQ(tune.at(0).at(0).toInt(), 33);
}

TEST(DesktopNotifier, WithoutAServerNothingFailsAndOneLineIsLogged)
{
    AlertLog log;
    DesktopNotifier notifier(QStringLiteral("VANTO XM Radio"));
    notifier.notify(news(7));
    notifier.notify(news(8));
    ASSERT_TRUE(waitUntil([&] { return !AlertLog::lines.isEmpty(); }));
    notifier.notify(news(9));
    testsupport::pump(300);
    EXPECT_EQ(AlertLog::lines.size(), 1) << AlertLog::lines.join('\n').toStdString();

    DesktopNotifier offBus(QStringLiteral("VANTO XM Radio"), QString(), QDBusConnection(QStringLiteral("none")));
    offBus.notify(news(7));
    offBus.notify(news(8));
    EXPECT_EQ(AlertLog::lines.size(), 2);
}

} // namespace

#include "test_desktopnotifier.moc"
