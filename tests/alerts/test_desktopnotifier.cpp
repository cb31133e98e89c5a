// The desktop notification of an alert on a private session bus, against the test's own
// notification server on another connection.
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

struct Notifier : ::testing::Test {
    DesktopNotifier notifier{QStringLiteral("VANTO XM Radio")};
    QSignalSpy tune{&notifier, &DesktopNotifier::tuneRequested};
    const QVariantList tuneOnFirst{uint(1), QStringLiteral("tune")};
};

TEST_F(Notifier, TuneOnTheNotificationAsksForItsChannelAndOnlyItsServerSpeaks)
{
    NotificationServer server(QStringLiteral("server"));
    notifier.notify(news(7));
    notifier.notify(news(12));
    ASSERT_TRUE(waitUntil([&] { return server.received.size() == 2; }));
    const NotificationServer::Received& first = server.received[0];
    EXPECT_EQ(first.appName, "VANTO XM Radio");
    EXPECT_EQ(first.summary, "007 Hits 1");
    EXPECT_EQ(first.body, "Madonna - Vogue");
    EXPECT_EQ(first.actions, QStringList({"tune", "Tune"}));

    server.send(QStringLiteral("ActionInvoked"), tuneOnFirst);
    ASSERT_TRUE(waitUntil([&] { return tune.size() == 1; }));
    EXPECT_EQ(tune.at(0).at(0).toInt(), 7);
    // Another connection may not speak for the server's notification.
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
    other.send(NotificationServer::signal(QStringLiteral("ActionInvoked"), tuneOnFirst));
    testsupport::pump(200);
    EXPECT_EQ(tune.size(), 1);
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
    // Another action, or a notification the server has closed, tunes nothing.
    server.send(QStringLiteral("ActionInvoked"), {uint(2), QStringLiteral("default")});
    server.send(QStringLiteral("NotificationClosed"), {uint(2), uint(1)});
    server.send(QStringLiteral("ActionInvoked"), {uint(2), QStringLiteral("tune")});
    server.send(QStringLiteral("ActionInvoked"), tuneOnFirst);
    ASSERT_TRUE(waitUntil([&] { return tune.size() == 2; }));
    testsupport::pump(100);
    EXPECT_EQ(tune.size(), 2);
    EXPECT_EQ(tune.at(1).at(0).toInt(), 7);
}

TEST_F(Notifier, ASlowServerDoesNotHoldTheWindow)
{
    NotificationServer server(QStringLiteral("server"), true);
    // The server answers on this very thread: a call that waited for it would wait its full timeout.
    QElapsedTimer clock;
    clock.start();
    notifier.notify(news(33));
    EXPECT_LT(clock.elapsed(), 1000);
    ASSERT_TRUE(waitUntil([&] { return server.received.size() == 1; }));
    server.answerNow();
    server.send(QStringLiteral("ActionInvoked"), tuneOnFirst);
    ASSERT_TRUE(waitUntil([&] { return tune.size() == 1; }));
    EXPECT_EQ(tune.at(0).at(0).toInt(), 33);
}

QStringList logged;

TEST_F(Notifier, WithoutAServerNothingFailsAndOneLineIsLogged)
{
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (QByteArray(context.category) == "vanto.alerts")
                logged << text;
        });
    notifier.notify(news(7));
    notifier.notify(news(8));
    ASSERT_TRUE(waitUntil([&] { return !logged.isEmpty(); }));
    notifier.notify(news(9));
    testsupport::pump(300);
    EXPECT_EQ(logged.size(), 1) << logged.join('\n').toStdString();

    DesktopNotifier offBus(QStringLiteral("VANTO XM Radio"), QString(), QDBusConnection(QStringLiteral("none")));
    offBus.notify(news(7));
    offBus.notify(news(8));
    EXPECT_EQ(logged.size(), 2);
    qInstallMessageHandler(previous);
}

} // namespace
