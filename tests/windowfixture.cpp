#include "windowfixture.h"

#include "testskin.h"
#include "testsupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <csignal>

namespace {

const QString RadioService = QStringLiteral("org.vanto.XMRadio");

// A word for the shell, whatever it holds.
QByteArray quoted(const QString& word)
{
    return "'" + word.toUtf8().replace("'", "'\\''") + "'";
}

// A process that has ended but whose parent has not yet collected it counts as gone.
bool running(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0)
        return false;
    const QByteArray stat = testsupport::readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.mid(stat.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

WindowFixture::WindowFixture()
{
    seams.programFolder = folder.path();
    seams.messageBox = [this](QWidget*) {
        auto box = std::make_unique<ScriptedMessageBox>();
        box->log = &shown;
        box->answer = [this](const ScriptedMessageBox::Shown& s) { return answer(s); };
        return box;
    };
}

WindowFixture::~WindowFixture() = default;

void WindowFixture::TearDown()
{
    serviceStarted = nullptr;
    window.reset();
    stopServices();
}

void WindowFixture::writeProgramFolder(const QByteArray& radio, const QByteArray& appearance, const QByteArray& more)
{
    testskin::writeSkin(folder.filePath("Skins"));
    writeSettings(radio, appearance, more);
}

void WindowFixture::writeSettings(const QByteArray& radio, const QByteArray& appearance, const QByteArray& more)
{
    const QByteArray service =
        m_servicePath.isEmpty() ? QByteArray() : "XMServicePath=" + m_servicePath.toUtf8() + "\r\n";
    testsupport::writeFile(folder.filePath("vantoxm.ini"),
                           "[XMRadio]\r\n" + service + radio + "[Appearance]\r\n" + appearance + more);
}

QByteArray WindowFixture::settings() const
{
    return testsupport::readFile(folder.filePath("vantoxm.ini"));
}

void WindowFixture::useRadioService(const QStringList& arguments)
{
    QByteArray command = "exec " + quoted(VANTO_PROGRAM_DIR "/xm-radio-service");
    // The window's tests share one sound server, whose sink the volume's tests listen to for
    // silence: their services play nothing unless a test asks for a sound source.
    const QStringList quiet = arguments.contains("--source") ? QStringList() : QStringList{"--source", "none"};
    for (const QString& argument : arguments + quiet)
        command += " " + quoted(argument);
    // The shell's process becomes the service's: the id it records is the service's own.
    m_servicePath = testsupport::writeScript(folder.filePath("run-service.sh"),
                                             "echo $$ >> " + quoted(folder.filePath("service.pids")) + "\n" + command);
    m_serviceWatcher = std::make_unique<QDBusServiceWatcher>(RadioService, QDBusConnection::sessionBus(),
                                                             QDBusServiceWatcher::WatchForRegistration);
    QObject::connect(m_serviceWatcher.get(), &QDBusServiceWatcher::serviceRegistered, [this] {
        const qint64 pid = serviceOwner();
        if (serviceStarted && pid > 0 && startedServices().contains(pid))
            serviceStarted(pid);
    });
}

QList<qint64> WindowFixture::startedServices() const
{
    QList<qint64> pids;
    for (const QByteArray& line : testsupport::readFile(folder.filePath("service.pids")).split('\n'))
        if (const qint64 pid = line.trimmed().toLongLong(); pid > 0)
            pids << pid;
    return pids;
}

qint64 WindowFixture::serviceOwner()
{
    const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(RadioService);
    return pid.isValid() ? qint64(pid.value()) : 0;
}

void WindowFixture::stopServices()
{
    bool stopped = false;
    for (const qint64 pid : startedServices()) {
        if (!running(pid) || ::kill(pid_t(pid), SIGTERM) != 0)
            continue;
        stopped = true;
        EXPECT_TRUE(testsupport::waitUntil([pid] { return !running(pid); })) << "the service " << pid << " stays";
    }
    if (stopped) {
        EXPECT_TRUE(testsupport::waitUntil(
            [] { return !QDBusConnection::sessionBus().interface()->isServiceRegistered(RadioService); }));
    }
}

void WindowFixture::useMemoryMixer(volume::MemoryMixer::Script& script)
{
    seams.createMixer = [&script] { return std::make_unique<volume::MemoryMixer>(script); };
}

std::unique_ptr<frmRadioXM> WindowFixture::makeWindow()
{
    return makeWindow(seams);
}

std::unique_ptr<frmRadioXM> WindowFixture::makeWindow(frmRadioXM::Seams windowSeams)
{
    return std::make_unique<frmRadioXM>(std::move(windowSeams));
}

frmRadioXM& WindowFixture::startWindow()
{
    window = makeWindow();
    window->Form_Load();
    window->show();
    return *window;
}
