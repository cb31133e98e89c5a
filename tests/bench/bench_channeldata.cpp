// ChannelData reports handled per second: the real window with a 250-channel table against a
// bare D-Bus receiver that does nothing with the reports, in the same run. A child process owns
// the radio service's name and sends the reports while the receiver is busy, so the figure is
// the receiver's own cost of draining them, not the sender's speed.
#include "app/frmradioxm.h"
#include "benchfolder.h"
#include "benchsupport.h"
#include "bus/xmradio_names.h"
#include "volume/memorymixer.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr int Channels = 250;
constexpr int Events = 50000;

QDBusMessage report(int i)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1String(xmradio::ObjectPath), QLatin1String(xmradio::InterfaceName), QStringLiteral("ChannelData"));
    const int channel = i % Channels + 1;
    signal << channel << QStringLiteral("Station %1").arg(channel) << QStringLiteral("Artist %1").arg(i)
           << QStringLiteral("Title %1").arg(i) << QStringLiteral("Genre %1").arg(channel % 12);
    return signal;
}

// The sending side, run as a child process: owns the service name, then sends on "go".
int sendReports()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerService(QLatin1String(xmradio::ServiceName)))
        return 1;
    std::cout << "ready " << bus.baseService().toStdString() << std::endl;
    std::string go;
    std::getline(std::cin, go);
    for (int i = 0; i < Events; ++i)
        bus.send(report(i));
    // A round trip to the bus after the last report: everything before it has left.
    bus.interface()->serviceOwner(QStringLiteral("org.freedesktop.DBus"));
    return 0;
}

class BareReceiver : public QObject {
    Q_OBJECT
public:
    int count = 0;
public slots:
    void onData(int, const QString&, const QString&, const QString&, const QString&) { ++count; }
};

struct Sender {
    QProcess process;
    QString name;
    Sender()
    {
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--send")});
        process.waitForReadyRead(10000);
        name = QString::fromUtf8(process.readLine()).trimmed().section(QLatin1Char(' '), 1);
    }
    // Sends everything while this side's main thread is blocked, so the reports queue up.
    void sendAll()
    {
        process.write("go\n");
        process.waitForFinished(60000);
        // The bus daemon and this side's bus thread finish passing the reports on meanwhile; the
        // drain then measures the main thread's handling alone.
        QThread::msleep(1500);
    }
};

// Milliseconds until count() reaches Events; -1 when some never arrive.
double drain(const std::function<int()>& count)
{
    QElapsedTimer clock;
    clock.start();
    while (count() < Events) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (clock.elapsed() > 60000)
            return -1;
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

double measureBare()
{
    BareReceiver receiver;
    QDBusConnection::sessionBus().connect(QString(), QLatin1String(xmradio::ObjectPath),
                                          QLatin1String(xmradio::InterfaceName), QStringLiteral("ChannelData"),
                                          &receiver, SLOT(onData(int, QString, QString, QString, QString)));
    Sender sender;
    sender.sendAll();
    const double ms = drain([&] { return receiver.count; });
    QDBusConnection::sessionBus().disconnect(QString(), QLatin1String(xmradio::ObjectPath),
                                             QLatin1String(xmradio::InterfaceName), QStringLiteral("ChannelData"),
                                             &receiver, SLOT(onData(int, QString, QString, QString, QString)));
    return ms;
}

// Without MPRIS: another connection holds the media player's name, as a first instance of the
// window would, and the window goes on without it. The same window with and without the player,
// in the same run, shows the player's own cost.
double measureWindow(bool* complete, bool withoutMpris)
{
    const QString otherInstance = QStringLiteral("other-instance");
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, otherInstance);
    if (withoutMpris)
        other.registerService(QStringLiteral("org.mpris.MediaPlayer2.vantoxm"));
    bench::StartedWindow started(Channels);
    frmRadioXM& window = *started.window;
    int count = 0;
    QObject::connect(window.radioClient(), &AXXMRadioClient::ChannelData, [&count] { ++count; });
    Sender sender;
    while (window.radioClient()->currentOwner() != sender.name)
        QCoreApplication::processEvents();
    sender.sendAll();
    const double ms = drain([&] { return count; });
    // No report lost: the table holds the last report of every channel.
    const int last = window.table().FindItem(radio::ChannelTable::RowKey((Events - 1) % Channels + 1));
    *complete = window.table().count() == Channels &&
                window.table().text(last, radio::Artist) == QStringLiteral("Artist %1").arg(Events - 1);
    window.close();
    QDBusConnection::disconnectFromBus(otherInstance);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--send") {
        QCoreApplication app(argc, argv);
        return sendReports();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 5;
    std::vector<double> bare, window, withoutMpris;
    bool complete = true;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(measureBare());
        bool ok = false;
        window.push_back(measureWindow(&ok, false));
        complete = complete && ok;
        withoutMpris.push_back(measureWindow(&ok, true));
        complete = complete && ok;
    }
    std::sort(bare.begin(), bare.end());
    std::sort(window.begin(), window.end());
    std::sort(withoutMpris.begin(), withoutMpris.end());
    const double bareMs = bare[runs / 2], windowMs = window[runs / 2], withoutMprisMs = withoutMpris[runs / 2];
    std::printf("ChannelData reports, %d a run over %d channels (median of %d runs)\n", Events, Channels, runs);
    std::printf("bare receiver   %9.0f reports/s\n", Events / bareMs * 1000);
    std::printf("window          %9.0f reports/s   %s\n", Events / windowMs * 1000,
                complete ? "no report lost" : "REPORTS LOST");
    bench::row("cost per report, window vs bare", windowMs * 1000 / Events, bareMs * 1000 / Events, "us", 3.0);
    // The media player follows no listing report: within the noise, the two are the same.
    bench::row("window vs the window without MPRIS", windowMs * 1000 / Events, withoutMprisMs * 1000 / Events, "us",
               1.2);
    return complete ? 0 : 1;
}

#include "bench_channeldata.moc"
