// One window per program folder: the real program started again and again on a private session bus.
#include "app/onewindow.h"
#include "testskin.h"
#include "testsupport.h"

#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

using testsupport::Process;
using testsupport::readFile;
using testsupport::waitUntil;

namespace {

// A copy of the program folder with a stand-in radio service that outlives the window, as the
// real one does.
struct ProgramFolder {
    QTemporaryDir dir;
    QTemporaryDir runtime;

    ProgramFolder()
    {
        testskin::writeSkin(dir.filePath("Skins"));
        testsupport::writeScript(dir.filePath("service.sh"), "echo $$ >> service.pid\nexec sleep 60");
        testsupport::writeFile(dir.filePath("vantoxm.ini"), "[XMRadio]\r\nXMServicePath=service.sh\r\n");
        EXPECT_TRUE(QFile::copy(VANTO_PROGRAM_DIR "/vanto-xm", dir.filePath("vanto-xm")));
    }
    ~ProgramFolder()
    {
        for (const QByteArray& pid : readFile(dir.filePath("service.pid")).split('\n'))
            if (pid.toLongLong() > 0)
                ::kill(pid_t(pid.toLongLong()), SIGKILL);
    }
    QString path() const { return dir.path(); }

    Process start(QProcessEnvironment environment = QProcessEnvironment::systemEnvironment()) const
    {
        // A desktop session has a runtime folder; without one Qt says so on every start.
        if (!environment.contains("XDG_RUNTIME_DIR"))
            environment.insert("XDG_RUNTIME_DIR", runtime.path());
        Process program(new QProcess);
        program->setProcessEnvironment(environment);
        program->start(dir.filePath("vanto-xm"), {});
        return program;
    }
    // The process whose window answers for this folder on the bus, or 0.
    qint64 window() const
    {
        const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(app::WindowBusName(path()));
        return pid.isValid() ? qint64(pid.value()) : 0;
    }
};

// Ends the second start and returns the lines it logged.
QStringList linesOfASecondStart(QProcess& program)
{
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    return QString::fromLocal8Bit(program.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(OneWindow, ASecondStartRaisesTheFirstAndEndsWithOneLineUntilTheFirstIsGone)
{
    ProgramFolder folder;
    const Process first = folder.start();
    ASSERT_TRUE(waitUntil([&] { return folder.window() == first->processId(); }, 15000));

    const Process second = folder.start();
    const QStringList lines = linesOfASecondStart(*second);
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].contains(folder.path()) && lines[0].contains("brought to the front"))
        << lines[0].toStdString();

    // Without the first window's bus the lock still keeps the second window away.
    QProcessEnvironment elsewhere = QProcessEnvironment::systemEnvironment();
    elsewhere.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + folder.path() + "/no-bus");
    const Process third = folder.start(elsewhere);
    const QStringList thirdLines = linesOfASecondStart(*third);
    ASSERT_EQ(thirdLines.size(), 1) << thirdLines.join('\n').toStdString();
    EXPECT_TRUE(thirdLines[0].contains("could not be brought to the front")) << thirdLines[0].toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);

    ProgramFolder other;
    const Process its = other.start();
    EXPECT_TRUE(waitUntil([&] { return other.window() == its->processId(); }, 15000)) << "one window per folder";
    EXPECT_EQ(folder.window(), first->processId());

    // A window that crashes frees its folder, though its service goes on.
    ASSERT_TRUE(waitUntil([&] { return !readFile(folder.path() + "/service.pid").isEmpty(); }));
    first->kill();
    ASSERT_TRUE(first->waitForFinished(5000));
    const Process next = folder.start();
    EXPECT_TRUE(waitUntil([&] { return folder.window() == next->processId(); }, 15000));
}
