// The desktop notification of an alert on a private session bus, against a small notification
// server of the test's own on another connection: what is sent, the "Tune" action, who may speak
// for a notification, a server that is slow to answer, and no server at all.
#include "alerts/desktopnotifier.h"
#include "notificationserver.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace alerts;
using testsupport::waitUntil;

namespace {

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
