// The window as an MPRIS2 media player, driven the way a desktop drives it: Debian's playerctl
// against the real window and the real simulator service on a private session bus; and the
// signals the window sends on that bus as the radio, the sound card and the player change.
#include "fakeradioservice.h"
#include "testsupport.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::pactl;
using testsupport::sinkVolume;
using testsupport::waitUntil;

namespace {

const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

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
        m_bus.connect(QString(), QStringLiteral("/org/mpris/MediaPlayer2"), PlayerInterface, QStringLiteral("Seeked"),
                      this, SLOT(recordSeek(QDBusMessage)));
    }
    ~PropertiesRecorder() override { QDBusConnection::disconnectFromBus(m_name); }
    QDBusConnection& bus() { return m_bus; }
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

public slots:
    void record(const QDBusMessage& message) { changes << qdbus_cast<QVariantMap>(message.arguments().value(1)); }
    void recordSeek(const QDBusMessage& message) { seeks << message.arguments().value(0).toLongLong(); }

private:
    QString m_name;
    QDBusConnection m_bus;
};

class Mpris : public WindowFixture {
protected:
    struct Start {
        // The simulator (30 channels listed fast); without it nothing answers but a fake.
        bool simulator = false;
        bool soundCard = true;
        // The program's own message box rather than one that answers at once.
        bool realMessageBox = false;
    };
    void start(Start how)
    {
        if (how.simulator)
            useRadioService({"--seed", "3", "--interval", "10", "--channels", "30"});
        if (how.realMessageBox)
            seams.messageBox = {};
        if (!how.soundCard)
            seams.createMixer = [] { return nullptr; };
        writeProgramFolder("LastChannel=5\r\n");
        startWindow();
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
        ASSERT_TRUE(waitUntil([&] { return window->list().state().StartupHighlightDone && ownsName(); }, 15000));
    }

    // The window with a fake service that has listed channels 1 to 10 twice, and tuned 5 with
    // a time.
    void startListed(FakeRadioService& service)
    {
        start({});
        ASSERT_TRUE(waitUntil([&] { return window->radioClient()->currentOwner() == service.uniqueName(); }));
        for (int round = 0; round < 2; ++round)
            for (int n = 1; n <= 10; ++n)
                service.emitSignal("ChannelData",
                                   {n, QStringLiteral("Station %1").arg(n), QStringLiteral("Artist %1").arg(n),
                                    QStringLiteral("Title %1").arg(n), "Genre"});
        service.emitSignal("CurrentChannelData", {5, "Station 5", "Artist 5", "Title 5", "Genre"});
        service.emitSignal("CurrentTime", {10, 200});
        ASSERT_TRUE(waitUntil([&] { return window->list().state().StartupHighlightDone && ownsName(); }));
        ASSERT_TRUE(waitUntil([&] { return window->tuned().time().has_value(); }));
    }

    // A call to the player by another program on the bus; its answer.
    QDBusMessage ask(const QString& interface, const char* method, const QVariantList& arguments = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.vantoxm", "/org/mpris/MediaPlayer2",
                                                           interface, QLatin1String(method));
        call.setArguments(arguments);
        QDBusPendingCall answer = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "caller").asyncCall(call);
        EXPECT_TRUE(waitUntil([&] { return answer.isFinished(); })) << method;
        return answer.reply();
    }
    QVariant property(const char* name)
    {
        const QDBusMessage answer = ask("org.freedesktop.DBus.Properties", "Get", {PlayerInterface, name});
        return qdbus_cast<QDBusVariant>(answer.arguments().value(0)).variant();
    }
    QDBusMessage setProperty(const char* name, const QVariant& value)
    {
        return ask("org.freedesktop.DBus.Properties", "Set",
                   {PlayerInterface, name, QVariant::fromValue(QDBusVariant(value))});
    }
};

} // namespace

TEST_F(Mpris, PlayerctlShowsTheTunedChannel)
{
    start({.simulator = true});
    waitForReadyList();
    ASSERT_TRUE(waitUntil([&] { return !c().lblArtist->Caption().isEmpty(); }));
    ASSERT_FALSE(c().lblTrackTitle->Caption().isEmpty()) << "a check of the title needs one";
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

TEST_F(Mpris, NextAndPreviousStepFromTheTunedChannel)
{
    start({.simulator = true});
    waitForReadyList();
    QSignalSpy changes(window->radioClient(), &AXXMRadioClient::ChannelChange);
    const auto channelAt = [&](int position) { return window->table().text(position, radio::Num).toInt(); };
    const int first = window->list().state().SelectedListItem;
    ASSERT_EQ(channelAt(first), 5) << "the tuned channel is selected";
    ASSERT_LT(first + 3, window->table().count());
    // A passenger's stray tap selects another row; the steering wheel's buttons do not follow it.
    window->lblListItem_MouseDown(first == window->list().state().TopListItem ? 2 : 0, {1, 0, 0});
    ASSERT_NE(window->list().state().SelectedListItem, first);

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
        EXPECT_EQ(window->list().state().SelectedListItem, step.position);
        EXPECT_TRUE(settings().contains("LastChannel=" + QByteArray::number(expected) + "\r\n"));
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
    EXPECT_EQ(window->list().state().SelectedListItem, first + 3);
    EXPECT_TRUE(settings().contains("LastChannel=" + QByteArray::number(channelAt(first + 3)) + "\r\n"));

    // The radio's report of the change moves the selection too: it must be in before the next step.
    ASSERT_TRUE(
        waitUntil([&] { return !changes.isEmpty() && changes.last().front().toInt() == channelAt(first + 3); }));
    testsupport::pump(100);

    // On the last channel of the list there is no next one: nothing is tuned, nothing written.
    const int last = window->table().count() - 1;
    window->chooser().ChooseListItem(last);
    ASSERT_TRUE(waitUntil([&] { return !changes.isEmpty() && changes.last().front().toInt() == channelAt(last); }));
    testsupport::pump(100);
    const QByteArray before = settings();
    EXPECT_FALSE(property("CanGoNext").toBool());
    changes.clear();
    playerctl({"next"});
    testsupport::pump(300);
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_EQ(settings(), before);
}

TEST_F(Mpris, QuickPressesStepFromTheLatestChoiceWhateverTheSlowRadioStillReports)
{
    FakeRadioService service("service");
    startListed(service);
    PropertiesRecorder desktop("desktop");
    service.calls.clear();
    // Three presses faster than the receiver: its reports of the first ones come after the third.
    for (int press = 0; press < 3; ++press)
        playerctl({"next"});
    service.emitSignal("ChannelChange", {6});
    service.emitSignal("CurrentChannelData", {6, "Station 6", "Artist 6", "Title 6", "Genre"});
    service.emitSignal("ChannelChange", {7});
    service.emitSignal("CurrentChannelData", {5, "Station 5", "Artist 5", "Title 5", "Genre"});
    testsupport::pump(200);
    EXPECT_EQ(window->tuned().numberText(), "8");
    playerctl({"next"});
    service.emitSignal("ChannelChange", {9});
    testsupport::pump(200);
    EXPECT_EQ(service.calls.filter("Channel"), QStringList({"Channel 6", "Channel 7", "Channel 8", "Channel 9"}));
    EXPECT_EQ(window->tuned().numberText(), "9");
    QStringList announced;
    for (const QVariantMap& change : desktop.changes)
        if (const QVariant metadata = change.value("Metadata"); metadata.isValid())
            announced << qdbus_cast<QVariantMap>(metadata).value("mpris:trackid").value<QDBusObjectPath>().path();
    EXPECT_EQ(announced.size(), 4) << announced.join(' ').toStdString();
    EXPECT_TRUE(announced.endsWith("/org/vanto/XMRadio/channel/9")) << announced.join(' ').toStdString();
}

TEST_F(Mpris, PlayPauseMutesAndUnmutesTheRadio)
{
    start({.simulator = true});
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

TEST_F(Mpris, PlayPauseTogglesWhatWasLastAskedForAndStopIsStopped)
{
    FakeRadioService service("service");
    startListed(service);
    service.calls.clear();
    // Presses faster than the service confirms them: a late confirmation is no news.
    ask(PlayerInterface, "PlayPause");
    ask(PlayerInterface, "PlayPause");
    service.emitSignal("MuteChanged", {true}); // the first press's
    ASSERT_TRUE(waitUntil([&] { return window->radioClient()->Mute(); }));
    ask(PlayerInterface, "PlayPause");
    EXPECT_TRUE(waitUntil([&] { return service.calls.size() == 3; }));
    EXPECT_EQ(service.calls, QStringList({"SetMute true", "SetMute false", "SetMute true"}));

    // A radio's stop mutes, and says so until it plays again; a rate of 0 pauses.
    const auto status = [&](const char* method) {
        ask(PlayerInterface, method);
        return property("PlaybackStatus").toString();
    };
    EXPECT_EQ(status("Stop"), "Stopped");
    EXPECT_EQ(status("Pause"), "Stopped");
    EXPECT_EQ(status("Play"), "Playing");
    setProperty("Rate", 0.0);
    EXPECT_EQ(property("PlaybackStatus"), "Paused");
}

TEST_F(Mpris, VolumeIsTheSoundCardsMasterLevel)
{
    pactl({"set-sink-volume", "vanto_null", "16384"});
    start({.simulator = true});
    waitForReadyList();
    EXPECT_NEAR(playerctl({"volume"}).toDouble(), 0.25, 0.01) << "read from the mixer";

    playerctl({"volume", "0.5"});
    EXPECT_NEAR(sinkVolume(), 32768, 2);
    EXPECT_NEAR(playerctl({"volume"}).toDouble(), 0.5, 0.01);

    // Only a number of the property's type: true is not full volume, 1 not 100 %.
    for (const QVariant& value : {QVariant(true), QVariant(qint32(1)), QVariant(QStringLiteral("1.0"))})
        EXPECT_EQ(setProperty("Volume", value).errorName(), "org.freedesktop.DBus.Error.InvalidArgs")
            << value.typeName();
    EXPECT_NEAR(sinkVolume(), 32768, 2);
    // The position changes all the time: it is read when needed, never announced.
    const QString xml = ask("org.freedesktop.DBus.Introspectable", "Introspect").arguments().value(0).toString();
    EXPECT_TRUE(xml.contains("<property name=\"Position\" type=\"x\" access=\"read\">\n      <annotation "
                             "name=\"org.freedesktop.DBus.Property.EmitsChangedSignal\" value=\"false\"/>"));
}

TEST_F(Mpris, RaiseShowsTheWindowAndQuitClosesItAndLeavesTheBus)
{
    start({.simulator = true});
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
    start({});
    ASSERT_TRUE(waitUntil([&] { return window->radioClient()->currentOwner() == service.uniqueName() && ownsName(); }));
    const auto report = [&](const char* name, int channel, const QString& artist, const QString& title) {
        service.emitSignal(name, {channel, QStringLiteral("Station %1").arg(channel), artist, title, "Genre"});
    };
    for (int round = 0; round < 2; ++round)
        for (int channel = 1; channel <= 40; ++channel)
            report("ChannelData", channel, "Artist", "Title");
    report("CurrentChannelData", 5, "Tuned Artist", "Tuned Title");
    service.emitSignal("CurrentTime", {10, 200});
    ASSERT_TRUE(waitUntil(
        [&] { return window->list().state().StartupHighlightDone && window->nowPlaying().TrackDuration() == 200; }));
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

// What an applet sees: each change announced once, with values that belong together.
TEST_F(Mpris, EachChangeIsAnnouncedOnceAndWhole)
{
    pactl({"set-sink-volume", "vanto_null", "16384"});
    FakeRadioService service("service");
    startListed(service);
    testsupport::pump(300);
    PropertiesRecorder recorder("recorder");
    // The one announcement of the next moment.
    const auto announced = [&] {
        EXPECT_TRUE(waitUntil([&] { return !recorder.changes.isEmpty(); }, 2000));
        testsupport::pump(300);
        EXPECT_EQ(recorder.changes.size(), 1);
        return recorder.changes.isEmpty() ? QVariantMap() : recorder.changes.takeFirst();
    };
    const auto metadata = [](const QVariantMap& change) { return qdbus_cast<QVariantMap>(change.value("Metadata")); };

    // A mute, however it came about, as the service reports it.
    service.emitSignal("MuteChanged", {true});
    EXPECT_EQ(announced(), QVariantMap({{"PlaybackStatus", "Paused"}}));
    service.emitSignal("MuteChanged", {false});
    EXPECT_EQ(announced(), QVariantMap({{"PlaybackStatus", "Playing"}}));

    // The sound card's volume, changed by another program.
    pactl({"set-sink-volume", "vanto_null", "32768"});
    const QVariantMap volume = announced();
    EXPECT_EQ(volume.keys(), QStringList{"Volume"});
    EXPECT_NEAR(volume.value("Volume").toDouble(), 0.5, 0.01);

    // Next: the new channel with its own texts, and no length before its time has come.
    ask(PlayerInterface, "Next");
    const QVariantMap next = metadata(announced());
    EXPECT_EQ(next,
              QVariantMap({{"mpris:trackid", QVariant::fromValue(QDBusObjectPath("/org/vanto/XMRadio/channel/6"))},
                           {"xesam:title", "Title 6"},
                           {"xesam:artist", QStringList{"Artist 6"}},
                           {"xesam:album", "Station 6"},
                           {"xesam:genre", QStringList{"Genre"}}}));
    // The service confirms the channel, then its time comes: the same track, now with a length.
    service.emitSignal("ChannelChange", {6});
    service.emitSignal("CurrentChannelData", {6, "Station 6", "Artist 6", "Title 6", "Genre"});
    service.emitSignal("CurrentTime", {0, 180});
    QVariantMap timed = metadata(announced());
    EXPECT_EQ(timed.take("mpris:length").toLongLong(), 180000000);
    EXPECT_EQ(timed, next);

    // The service goes: stopped, with nothing to do, in one announcement; a Next does nothing.
    const auto whenService = [](bool here) {
        return QVariantMap({{"PlaybackStatus", here ? "Playing" : "Stopped"},
                            {"CanPlay", here},
                            {"CanPause", here},
                            {"CanGoNext", here},
                            {"CanGoPrevious", here}});
    };
    service.releaseName();
    EXPECT_EQ(announced(), whenService(false));
    const QByteArray before = settings();
    ask(PlayerInterface, "Next");
    ask(PlayerInterface, "PlayPause");
    testsupport::pump(300);
    EXPECT_TRUE(recorder.changes.isEmpty());
    EXPECT_EQ(window->tuned().number(), 6);
    EXPECT_EQ(settings(), before);
    // It comes back: the status follows the radio's mute again.
    service.claimName();
    EXPECT_EQ(announced(), whenService(true));
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
    start({});
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

// Run as a test of its own (test_mpris_without_sound_card): at ignition the media keys must work
// at once, whatever start-up tells the driver about the sound card; a volume asked for then is
// dropped without an error, and said once in the log.
TEST_F(Mpris, WithoutASoundCardThePlayerIsOnTheBusWithin2SecondsAndDropsVolumesQuietly)
{
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (QByteArray(context.category) == "vanto.mpris" && text.contains("mixer"))
                logged << text;
        });
    QProcess lister;
    lister.start("sh", {"-c", "end=$(($(date +%s%N) + 2000000000)); while [ $(date +%s%N) -lt $end ]; do " PLAYERCTL
                              " -l 2>/dev/null | grep -qx vantoxm && exit 0; sleep 0.05; done; exit 1"});
    ASSERT_TRUE(lister.waitForStarted());
    // Whatever start-up shows is answered once the lister is done, so that start-up can end.
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [&] {
        if (lister.state() == QProcess::NotRunning && QApplication::activeModalWidget())
            QApplication::activeModalWidget()->close();
    });
    dismiss.start(50);
    start({.soundCard = false, .realMessageBox = true});
    ASSERT_TRUE(waitUntil([&] { return lister.state() == QProcess::NotRunning; }));
    EXPECT_EQ(lister.exitCode(), 0) << "playerctl -l did not list the player within 2 s";

    for (const double volume : {0.5, 0.7})
        EXPECT_EQ(setProperty("Volume", volume).type(), QDBusMessage::ReplyMessage);
    qInstallMessageHandler(previous);
    EXPECT_EQ(logged.size(), 1) << logged.join('\n').toStdString();
    EXPECT_EQ(property("Volume").toDouble(), 0.0);
}

#include "test_mpris.moc"

TEST_F(Mpris, BehindLiveTheSongHeardIsTheTrackAndItPausesSkipsAndSeeks)
{
    FakeRadioService service("service");
    startListed(service);
    EXPECT_FALSE(property("CanSeek").toBool());
    const auto shift = [&](bool paused, double behind, double position) {
        service.emitSignal("TimeShiftChanged", {paused, behind, 600.0, position});
    };
    shift(false, 0, 10);
    ASSERT_TRUE(waitUntil([&] { return property("CanSeek").toBool(); }));
    EXPECT_EQ(property("Position").toLongLong(), 10000000);
    service.calls.clear();
    ask(PlayerInterface, "Next"); // at live: the next channel
    ask(PlayerInterface, "Pause");
    shift(true, 205, 90);
    service.emitSignal("SongHeard", {8, "Heard Station", "Heard Artist", "Heard Title", "Rock", 180});
    ASSERT_TRUE(waitUntil([&] { return property("PlaybackStatus").toString() == "Paused"; }));
    ASSERT_TRUE(waitUntil([&] { return window->timeShift().song().has_value(); }));
    const QVariantMap metadata = qdbus_cast<QVariantMap>(property("Metadata"));
    EXPECT_EQ(metadata.value("xesam:title").toString(), "Heard Title");
    EXPECT_EQ(metadata.value("mpris:length").toLongLong(), 180000000);
    EXPECT_EQ(property("Position").toLongLong(), 90000000);
    ask(PlayerInterface, "Next");
    ask(PlayerInterface, "Previous");
    ask(PlayerInterface, "Seek", {qlonglong(5000000)});
    ask(PlayerInterface, "SetPosition",
        {QVariant::fromValue(QDBusObjectPath("/org/vanto/XMRadio/channel/8")), qlonglong(30000000)});
    ask(PlayerInterface, "PlayPause");
    EXPECT_TRUE(waitUntil([&] { return service.calls.filter(QRegularExpression("^(?!SetMute)")).size() == 7; }));
    EXPECT_EQ(service.calls.filter(QRegularExpression("^(?!SetMute)")),
              QStringList({"Channel 6", "Pause", "NextSong", "PreviousSong", "Seek 95", "Seek 30", "Resume"}));
    PropertiesRecorder recorder("recorder");
    shift(true, 205, 30);
    EXPECT_TRUE(waitUntil([&] { return !recorder.seeks.isEmpty(); }));
    EXPECT_EQ(recorder.seeks, QList<qlonglong>{30000000}) << "the sought position is announced";
}
