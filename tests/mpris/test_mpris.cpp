// The window as an MPRIS2 media player, driven the way a desktop drives it: Debian's playerctl
// against the real window and the real simulator service on a private session bus; and the
// signals the window sends on that bus while the radio lists its channels.
#include "app/frmradioxm.h"
#include "fakeradioservice.h"
#include "scriptedmessagebox.h"
#include "testskin.h"
#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

using testsupport::waitUntil;

namespace {

// Records the PropertiesChanged signals of the media player's object.
class PropertiesRecorder : public QObject {
    Q_OBJECT
public:
    explicit PropertiesRecorder(const QString& connectionName)
        : m_name(connectionName)
        , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName))
    {
        m_bus.connect(QString(), QStringLiteral("/org/mpris/MediaPlayer2"),
                      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"), this,
                      SLOT(record(QDBusMessage)));
    }
    ~PropertiesRecorder() override { QDBusConnection::disconnectFromBus(m_name); }
    QDBusConnection& bus() { return m_bus; }
    QList<QVariantMap> changes;

public slots:
    void record(const QDBusMessage& message) { changes << qdbus_cast<QVariantMap>(message.arguments().value(1)); }

private:
    QString m_name;
    QDBusConnection m_bus;
};

class Mpris : public ::testing::Test {
protected:
    QTemporaryDir folder;
    std::vector<ScriptedMessageBox::Shown> shown;
    std::unique_ptr<frmRadioXM> window;

    // The window with the simulator (30 channels listed fast) or, without, nothing that answers.
    void start(bool withSimulator)
    {
        testskin::writeSkin(folder.filePath("Skins"));
        QByteArray radio = "LastChannel=5\r\n";
        if (withSimulator) {
            const QString wrapper = testsupport::writeScript(folder.filePath("run-service.sh"),
                                                             "exec '" VANTO_PROGRAM_DIR
                                                             "/xm-radio-service' --seed 3 --interval 10 --channels 30");
            radio += "XMServicePath=" + wrapper.toUtf8() + "\r\n";
        }
        testsupport::writeFile(folder.filePath("vantoxm.ini"), "[XMRadio]\r\n" + radio +
                                                                   "[Appearance]\r\nWindowWidth=800\r\n"
                                                                   "WindowHeight=480\r\n");
        frmRadioXM::Seams seams;
        seams.programFolder = folder.path();
        seams.messageBox = [this](QWidget*) {
            auto box = std::make_unique<ScriptedMessageBox>();
            box->log = &shown;
            return box;
        };
        window = std::make_unique<frmRadioXM>(std::move(seams));
        window->Form_Load();
        window->show();
    }

    // The simulator outlives the window (it ends with its bus): it is stopped here, by its
    // process id, so that the next test starts with no radio service.
    void TearDown() override
    {
        window.reset();
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        const QDBusReply<uint> pid = bus->servicePid("org.vanto.XMRadio");
        if (!pid.isValid() || pid.value() == uint(QCoreApplication::applicationPid()))
            return;
        ::kill(pid_t(pid.value()), SIGTERM);
        EXPECT_TRUE(waitUntil([&] { return !bus->isServiceRegistered("org.vanto.XMRadio"); }));
    }

    skin::RadioXMControls& c() { return window->controls(); }

    bool ownsName()
    {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.mpris.MediaPlayer2.vantoxm");
    }

    // Runs playerctl for our player while the window goes on answering; its standard output.
    QString playerctl(const QStringList& arguments, int* exitCode = nullptr)
    {
        QProcess process;
        process.start(PLAYERCTL, QStringList{"-p", "vantoxm"} + arguments);
        EXPECT_TRUE(waitUntil([&] { return process.state() == QProcess::NotRunning; }, 10000))
            << "playerctl " << arguments.join(' ').toStdString();
        if (exitCode)
            *exitCode = process.exitCode();
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // The listing has come round, the tuned channel is highlighted and the player offered.
    void waitForReadyList()
    {
        ASSERT_TRUE(waitUntil([&] { return window->state().StartupHighlightDone && ownsName(); }, 15000));
    }
};

} // namespace

TEST_F(Mpris, PlayerctlShowsTheTunedChannel)
{
    start(true);
    waitForReadyList();
    ASSERT_TRUE(waitUntil([&] { return !c().lblArtist->Caption().isEmpty(); }));
    QMap<QString, QString> shownKeys;
    for (const QString& line : playerctl({"metadata"}).split('\n')) {
        const QRegularExpressionMatch m = QRegularExpression(R"(^vantoxm (\S+)\s+(.*)$)").match(line);
        if (m.hasMatch())
            shownKeys.insert(m.captured(1), m.captured(2));
    }
    EXPECT_EQ(shownKeys.value("mpris:trackid"), "'/org/vanto/XMRadio/channel/5'");
    EXPECT_EQ(shownKeys.value("xesam:artist"), c().lblArtist->Caption());
    EXPECT_EQ(shownKeys.value("xesam:title"), c().lblTrackTitle->Caption());
    EXPECT_EQ(shownKeys.value("xesam:album"), c().lblStation->Caption());
    EXPECT_EQ(playerctl({"status"}), "Playing");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Mpris, NextAndPreviousTuneTheNeighbouringChannelsOfTheList)
{
    start(true);
    waitForReadyList();
    QSignalSpy changes(window->radioClient(), &AXXMRadioClient::ChannelChange);
    const auto channelAt = [&](int position) { return window->table().text(position, radio::Num).toInt(); };
    const int first = window->state().SelectedListItem;
    ASSERT_LT(first + 3, window->table().count());

    const struct {
        const char* command;
        int position;
    } steps[] = {{"next", first + 1}, {"next", first + 2}, {"previous", first + 1}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        changes.clear();
        playerctl({step.command});
        const int expected = channelAt(step.position);
        EXPECT_TRUE(waitUntil([&] { return !changes.isEmpty() && changes.last().front().toInt() == expected; }))
            << "the service tuned " << expected;
        EXPECT_EQ(window->state().SelectedListItem, step.position);
        EXPECT_TRUE(testsupport::readFile(folder.filePath("vantoxm.ini"))
                        .contains("LastChannel=" + QByteArray::number(expected) + "\r\n"));
    }

    // Two presses at once: the second, arriving while the first choice lets pending calls run,
    // steps on from where the first one went.
    PropertiesRecorder wheel("wheel");
    const QDBusMessage next = QDBusMessage::createMethodCall(
        "org.mpris.MediaPlayer2.vantoxm", "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player", "Next");
    changes.clear();
    QDBusPendingCall firstPress = wheel.bus().asyncCall(next);
    QDBusPendingCall secondPress = wheel.bus().asyncCall(next);
    ASSERT_TRUE(waitUntil([&] { return firstPress.isFinished() && secondPress.isFinished(); }));
    EXPECT_EQ(window->state().SelectedListItem, first + 3);
    EXPECT_TRUE(testsupport::readFile(folder.filePath("vantoxm.ini"))
                    .contains("LastChannel=" + QByteArray::number(channelAt(first + 3)) + "\r\n"));

    // The radio's report of the change moves the selection too: it must be in before the next step.
    ASSERT_TRUE(
        waitUntil([&] { return !changes.isEmpty() && changes.last().front().toInt() == channelAt(first + 3); }));
    testsupport::pump(100);

    // At the end of the list there is no next channel: nothing is tuned, nothing written.
    window->highlight().HighlightItem(window->table().count());
    const QByteArray before = testsupport::readFile(folder.filePath("vantoxm.ini"));
    QDBusMessage get = QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.vantoxm", "/org/mpris/MediaPlayer2",
                                                      "org.freedesktop.DBus.Properties", "Get");
    get << QStringLiteral("org.mpris.MediaPlayer2.Player") << QStringLiteral("CanGoNext");
    PropertiesRecorder other("asker");
    QDBusPendingCall answer = other.bus().asyncCall(get);
    ASSERT_TRUE(waitUntil([&] { return answer.isFinished(); }));
    EXPECT_FALSE(qdbus_cast<QDBusVariant>(answer.reply().arguments().value(0)).variant().toBool());
    changes.clear();
    playerctl({"next"});
    testsupport::pump(300);
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_EQ(testsupport::readFile(folder.filePath("vantoxm.ini")), before);
}

TEST_F(Mpris, PlayPauseMutesAndUnmutesTheRadio)
{
    start(true);
    waitForReadyList();
    QSignalSpy mutes(window->radioClient(), &AXXMRadioClient::MuteChanged);
    for (const bool muted : {true, false}) {
        mutes.clear();
        playerctl({"play-pause"});
        EXPECT_TRUE(waitUntil([&] { return !mutes.isEmpty() && mutes.last().front().toBool() == muted; }))
            << "the service reports the mute " << muted;
        EXPECT_EQ(playerctl({"status"}), muted ? "Paused" : "Playing");
    }
}

TEST_F(Mpris, VolumeIsTheSoundCardsMasterLevel)
{
    const auto pactl = [](const QStringList& arguments) {
        QProcess p;
        p.start(QStringLiteral("pactl"), arguments);
        p.waitForFinished(5000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    };
    // The test server's sink, in its own units (65536 is 100 %).
    const auto sinkVolume = [&] {
        const QString out = pactl({"get-sink-volume", "vanto_null"});
        const int colon = out.indexOf(QLatin1Char(':'), out.indexOf(QLatin1String("front-left")));
        return out.mid(colon + 1).section(QLatin1Char('/'), 0, 0).trimmed().toLong();
    };
    pactl({"set-sink-volume", "vanto_null", "16384"});
    start(true);
    waitForReadyList();
    EXPECT_NEAR(playerctl({"volume"}).toDouble(), 0.25, 0.01) << "read from the mixer";

    playerctl({"volume", "0.5"});
    EXPECT_NEAR(sinkVolume(), 32768, 2);
    EXPECT_NEAR(playerctl({"volume"}).toDouble(), 0.5, 0.01);
}

TEST_F(Mpris, RaiseShowsTheWindowAndQuitClosesItAndLeavesTheBus)
{
    start(true);
    waitForReadyList();
    PropertiesRecorder caller("caller");
    window->showMinimized();
    caller.bus().asyncCall(QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.vantoxm", "/org/mpris/MediaPlayer2",
                                                          "org.mpris.MediaPlayer2", "Raise"));
    EXPECT_TRUE(waitUntil([&] { return !window->isMinimized() && window->isVisible(); }));
    caller.bus().asyncCall(QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.vantoxm", "/org/mpris/MediaPlayer2",
                                                          "org.mpris.MediaPlayer2", "Quit"));
    EXPECT_TRUE(waitUntil([&] { return !window->isVisible() && window->radioClient() == nullptr; }));
    EXPECT_TRUE(waitUntil([&] { return !ownsName(); }));
}

TEST_F(Mpris, ReportsOfOtherChannelsAnnounceNothing)
{
    FakeRadioService service("service");
    start(false);
    ASSERT_TRUE(waitUntil([&] { return window->radioClient()->currentOwner() == service.uniqueName() && ownsName(); }));
    const auto report = [&](const char* name, int channel, const QString& artist, const QString& title) {
        service.emitSignal(name, {channel, QStringLiteral("Station %1").arg(channel), artist, title, "Genre"});
    };
    for (int round = 0; round < 2; ++round)
        for (int channel = 1; channel <= 40; ++channel)
            report("ChannelData", channel, "Artist", "Title");
    report("CurrentChannelData", 5, "Tuned Artist", "Tuned Title");
    service.emitSignal("CurrentTime", {10, 200});
    ASSERT_TRUE(
        waitUntil([&] { return window->state().StartupHighlightDone && window->state().TrackDuration == 200; }));
    testsupport::pump(1200); // the player's look for changes without a report has run

    PropertiesRecorder recorder("recorder");
    const auto otherChannel = [](int i) { return 6 + i % 35; };
    for (int i = 0; i < 1000; ++i)
        report("ChannelData", otherChannel(i), QStringLiteral("Artist %1").arg(i), QStringLiteral("Title %1").arg(i));
    const int last = window->table().FindItem(radio::ChannelTable::RowKey(otherChannel(999)));
    ASSERT_TRUE(waitUntil([&] { return window->table().text(last, radio::Artist) == "Artist 999"; }));
    testsupport::pump(1200);
    EXPECT_TRUE(recorder.changes.isEmpty()) << recorder.changes.size() << " PropertiesChanged signals";

    // The tuned channel's new song is announced, once.
    report("CurrentChannelData", 5, "Tuned Artist", "Next Song");
    ASSERT_TRUE(waitUntil([&] { return !recorder.changes.isEmpty(); }));
    testsupport::pump(300);
    ASSERT_EQ(recorder.changes.size(), 1);
    EXPECT_EQ(recorder.changes.front().keys(), QStringList{"Metadata"});
    EXPECT_EQ(qdbus_cast<QVariantMap>(recorder.changes.front().value("Metadata")).value("xesam:title").toString(),
              "Next Song");
}

TEST_F(Mpris, ASecondInstanceGoesOnWithoutMpris)
{
    // The first instance, as another program on the bus, owns the name already.
    QDBusConnection first = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "first");
    ASSERT_TRUE(first.registerService("org.mpris.MediaPlayer2.vantoxm"));
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (QByteArray(context.category) == "vanto.mpris")
                logged << text;
        });
    FakeRadioService service("service");
    start(false);
    EXPECT_TRUE(waitUntil([&] { return !logged.isEmpty(); }));
    testsupport::pump(300);
    qInstallMessageHandler(previous);
    ASSERT_EQ(logged.size(), 1) << logged.join('\n').toStdString();
    EXPECT_TRUE(logged.front().contains("another instance")) << logged.front().toStdString();
    EXPECT_EQ(QDBusConnection::sessionBus().interface()->serviceOwner("org.mpris.MediaPlayer2.vantoxm").value(),
              first.baseService());
    // The window goes on: the radio still follows the service.
    service.emitSignal("CurrentChannelData", {5, "Station", "Artist", "Title", "Genre"});
    EXPECT_TRUE(waitUntil([&] { return c().lblStation->Caption() == "Station"; }));
    QDBusConnection::disconnectFromBus("first");
}

#include "test_mpris.moc"
