// The whole program measured from outside, as a driver meets it at ignition: the time from exec
// until the X server shows the skinned window, the CPU the process spent until then, and its
// peak memory after 10 seconds with the simulator listing. Each figure is set against a bare
// Qt program (bare_window) in runs taken in turns, on a virtual X server whose frame buffer is
// read straight from its file. Peak memory is also set against a bare that draws the skin's
// texts and holds the mixer, which tells what those cost any program from what the window costs.
// Run under a private session bus; scripts/bench.sh does that and gives ALSA a sound server, as a
// car has.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

const QString ProgramFolder = QStringLiteral(VANTO_PROGRAM_DIR);
const QString BareWindow = QStringLiteral(VANTO_BARE_WINDOW);
const QString BareTextMixer = QStringLiteral(VANTO_BARE_TEXT_MIXER);
// The skin the starts are measured with: the day skin of a new install at 800 x 480.
const QString DaySkin = QStringLiteral("DriveDay");

struct Summary {
    double min = 0, median = 0, max = 0;
};

Summary summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

std::vector<double> ratios(const std::vector<double>& ours, const std::vector<double>& bare)
{
    std::vector<double> r;
    for (size_t i = 0; i < ours.size(); ++i)
        r.push_back(ours[i] / bare[i]);
    return r;
}

void printRow(const char* what, const std::vector<double>& ours, const std::vector<double>& bare, const char* unit,
              double target)
{
    const Summary o = summarise(ours), b = summarise(bare), r = summarise(ratios(ours, bare));
    std::printf("%-40s ours %7.1f %s (%.1f to %.1f)  bare %7.1f %s (%.1f to %.1f)  ratio %.2f (%.2f to %.2f)", what,
                o.median, unit, o.min, o.max, b.median, unit, b.min, b.max, r.median, r.min, r.max);
    if (target > 0)
        std::printf("  target <= %.1f  %s", target, r.median <= target ? "ok" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
}

// A program folder of its own, as installed: the program, the simulator, the skins, and
// settings that keep the default day skin whatever the hour.
class ProgramCopy {
public:
    explicit ProgramCopy(QSize size)
    {
        for (const char* file : {"vanto-xm", "xm-radio-service", "xm-radio-service.ini"})
            QFile::copy(ProgramFolder + '/' + file, path(file));
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), ProgramFolder + "/Skins", m_dir.path()});
        QProcess::execute(QStringLiteral("cp"),
                          {QStringLiteral("-r"), ProgramFolder + "/Skins/" + DaySkin + "/.", path("Skins")});
        m_size = size;
    }

    // Settings with or without the simulator: the starts are timed without it, so that they
    // measure the window and not the service's first answers.
    void writeSettings(bool withService) const
    {
        QFile ini(path("vantoxm.ini"));
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(QStringLiteral("[XMRadio]\r\nXMServicePath=%1\r\nLastChannel=20\r\nPreset1=20\r\n"
                                 "Preset2=32\r\nPreset3=46\r\n[Appearance]\r\nWindowLeft=0\r\nWindowTop=0\r\n"
                                 "WindowWidth=%2\r\nWindowHeight=%3\r\nFullScreen=False\r\nShowMouseCursor=True\r\n"
                                 "AutoSwitchDayNightSkin=False\r\n")
                      .arg(withService ? QStringLiteral("xm-radio-service") : QString())
                      .arg(m_size.width())
                      .arg(m_size.height())
                      .toLatin1());
    }
    QString path(const char* file) const { return m_dir.path() + '/' + file; }
    QString folder() const { return m_dir.path(); }

    // Ends every process started from this folder: the program and the simulator it started.
    void endAll() const
    {
        for (int round = 0; round < 50; ++round) {
            bool any = false;
            for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
                const QString exe = QFile::symLinkTarget("/proc/" + pid + "/exe");
                if (!pid.toInt() || !exe.startsWith(m_dir.path()))
                    continue;
                any = true;
                ::kill(pid.toInt(), round < 20 ? SIGTERM : SIGKILL);
            }
            if (!any)
                return;
            QThread::msleep(20);
        }
    }

private:
    QTemporaryDir m_dir;
    QSize m_size;
};

// A virtual X server of the window's size whose screen is read from its frame buffer file.
class Screen {
public:
    explicit Screen(QSize size)
        : m_size(size)
    {
        m_display = QStringLiteral(":%1").arg(90 + (QCoreApplication::applicationPid() % 8));
        m_xvfb.start(QStringLiteral("Xvfb"),
                     {m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                      QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()), QStringLiteral("-fbdir"),
                      m_fbdir.path(), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        const QString socket = "/tmp/.X11-unix/X" + m_display.mid(1);
        const QString file = m_fbdir.path() + "/Xvfb_screen0";
        for (int i = 0; i < 500 && !(QFile::exists(socket) && QFile::exists(file)); ++i)
            QThread::msleep(10);
        QThread::msleep(200);
        const int fd = ::open(qPrintable(file), O_RDONLY);
        m_length = size_t(QFileInfo(file).size());
        m_map = static_cast<const uchar*>(::mmap(nullptr, m_length, PROT_READ, MAP_SHARED, fd, 0));
        ::close(fd);
        const auto field = [this](int i) {
            const uchar* p = m_map + 4 * i;
            return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
        };
        m_pixels = m_map + field(0) + field(19) * 12;
        m_stride = field(12);
    }
    ~Screen()
    {
        ::munmap(const_cast<uchar*>(m_map), m_length);
        m_xvfb.terminate();
        m_xvfb.waitForFinished();
    }
    QString display() const { return m_display; }
    // The whole screen's pixels as they are now.
    QByteArray snapshot() const
    {
        return QByteArray(reinterpret_cast<const char*>(m_pixels), qsizetype(m_stride) * m_size.height());
    }
    bool same(const QByteArray& snapshot) const
    {
        return std::memcmp(snapshot.constData(), m_pixels, size_t(snapshot.size())) == 0;
    }
    QRgb pixel(QPoint p) const
    {
        const uchar* at = m_pixels + size_t(p.y()) * m_stride + size_t(p.x()) * 4;
        return qRgb(at[2], at[1], at[0]);
    }

private:
    QSize m_size;
    QString m_display;
    QTemporaryDir m_fbdir;
    QProcess m_xvfb;
    const uchar* m_map = nullptr;
    size_t m_length = 0;
    const uchar* m_pixels = nullptr;
    size_t m_stride = 0;
};

// Points of the window where the default day skin's up picture shows: the share of them that the
// screen shows tells whether the skin is on screen.
class SkinProbe {
public:
    explicit SkinProbe(QSize size)
    {
        QImageReader reader(ProgramFolder + "/Skins/" + DaySkin + "/Images/Radio_XM_Up.jpg");
        reader.setScaledSize(size);
        const QImage up = reader.read();
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x) {
                const QPoint p((2 * x + 1) * size.width() / 96, (2 * y + 1) * size.height() / 64);
                m_points.push_back({p, up.pixel(p)});
            }
    }
    double shown(const Screen& screen) const
    {
        int same = 0;
        for (const auto& [p, want] : m_points) {
            const QRgb got = screen.pixel(p);
            same += std::abs(qRed(got) - qRed(want)) <= 40 && std::abs(qGreen(got) - qGreen(want)) <= 40 &&
                    std::abs(qBlue(got) - qBlue(want)) <= 40;
        }
        return double(same) / double(m_points.size());
    }

private:
    std::vector<std::pair<QPoint, QRgb>> m_points;
};

// CPU time of every thread of a process so far, in milliseconds.
double cpuMs(qint64 pid)
{
    double ns = 0;
    for (const QString& task :
         QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/task/%2/schedstat").arg(pid).arg(task));
        if (stat.open(QIODevice::ReadOnly))
            ns += stat.readAll().split(' ').value(0).toDouble();
    }
    return ns / 1e6;
}

double peakMemoryMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

struct Launch {
    QString program;
    QStringList arguments;
};

struct StartFigures {
    double wallMs = 0;
    double cpuMs = 0;
    // When the window's picture last changed before it stayed still for QuietMs.
    double settledWallMs = 0;
    double settledCpuMs = 0;
};

constexpr int QuietMs = 200;

class Bench {
public:
    Bench(QSize size)
        : m_size(size)
        , m_copy(size)
        , m_screen(size)
        , m_probe(size)
    {
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        m_env.insert(QStringLiteral("DISPLAY"), m_screen.display());
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        m_env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false;vanto.*=false"));
        const QString up = m_copy.folder() + "/Skins/" + DaySkin + "/Images/";
        m_ours = {m_copy.path("vanto-xm"), {}};
        m_bareStart = {BareWindow,
                       {QString::number(size.width()), QString::number(size.height()), up + "Radio_XM_Up.jpg"}};
        m_bareMemory = {BareWindow,
                        {QString::number(size.width()), QString::number(size.height()), QStringLiteral("--bus"),
                         up + "Radio_XM_Up.jpg", up + "Radio_XM_Down.jpg", up + "Radio_XM_On.jpg"}};
        m_bareTextMixer = {BareTextMixer, m_bareMemory.arguments};
    }

    // From exec until the skin is on screen.
    StartFigures start(const Launch& launch)
    {
        waitForBlankScreen();
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        process.start(launch.program, launch.arguments);
        StartFigures figures;
        const auto now = [&] { return double(clock.nsecsElapsed()) / 1e6; };
        while (clock.elapsed() < 10000) {
            if (m_probe.shown(m_screen) >= 0.85) {
                figures.wallMs = figures.settledWallMs = now();
                figures.cpuMs = figures.settledCpuMs = cpuMs(process.processId());
                break;
            }
            QThread::usleep(250);
        }
        QByteArray last = m_screen.snapshot();
        while (figures.wallMs > 0 && now() - figures.settledWallMs < QuietMs) {
            QThread::usleep(500);
            if (m_screen.same(last))
                continue;
            figures.settledWallMs = now();
            figures.settledCpuMs = cpuMs(process.processId());
            last = m_screen.snapshot();
        }
        if (figures.wallMs == 0)
            std::printf("%s never showed the skin\n", qPrintable(launch.program));
        finish(process);
        return figures;
    }

    // Peak memory after 10 seconds with the simulator listing; the bare program gets a
    // simulator of its own.
    double memory(const Launch& launch, bool startSimulator)
    {
        waitForBlankScreen();
        QProcess simulator;
        if (startSimulator) {
            simulator.setProcessEnvironment(m_env);
            simulator.setWorkingDirectory(m_copy.folder());
            simulator.setStandardOutputFile(QProcess::nullDevice());
            simulator.setStandardErrorFile(QProcess::nullDevice());
            simulator.start(m_copy.path("xm-radio-service"), {});
        }
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(launch.program, launch.arguments);
        QThread::sleep(10);
        const double mb = peakMemoryMb(process.processId());
        finish(process);
        simulator.waitForFinished(3000);
        return mb;
    }

    void run(int startRuns, int memoryRuns)
    {
        const QString at = QStringLiteral("%1 x %2").arg(m_size.width()).arg(m_size.height());
        // A first start fills services.dat, so the counted starts are ordinary ones.
        if (memoryRuns > 0) {
            m_copy.writeSettings(true);
            memory(m_ours, false);
            std::vector<double> oursMb, bareMb, textMixerMb;
            for (int i = 0; i < memoryRuns; ++i) {
                oursMb.push_back(memory(m_ours, false));
                bareMb.push_back(memory(m_bareMemory, true));
                textMixerMb.push_back(memory(m_bareTextMixer, true));
            }
            printRow(qPrintable("peak memory " + at), oursMb, bareMb, "MB", 1.2);
            printRow(qPrintable("  against a bare with texts and mixer " + at), oursMb, textMixerMb, "MB", 0);
        }
        m_copy.writeSettings(false);
        start(m_ours);
        start(m_bareStart);
        std::vector<StartFigures> ours, bare;
        for (int i = 0; i < startRuns; ++i) {
            ours.push_back(start(m_ours));
            bare.push_back(start(m_bareStart));
        }
        const auto column = [](const std::vector<StartFigures>& runs, double StartFigures::*field) {
            std::vector<double> values;
            for (const StartFigures& run : runs)
                values.push_back(run.*field);
            return values;
        };
        struct Row {
            const char* what;
            double StartFigures::*field;
            double target;
        };
        for (const Row& row : {Row{"first skinned paint, wall ", &StartFigures::wallMs, 1.2},
                               Row{"first skinned paint, CPU ", &StartFigures::cpuMs, 1.2},
                               Row{"all drawn (texts, volume), wall ", &StartFigures::settledWallMs, 0},
                               Row{"all drawn (texts, volume), CPU ", &StartFigures::settledCpuMs, 0}})
            printRow(qPrintable(row.what + at), column(ours, row.field), column(bare, row.field), "ms", row.target);
    }

private:
    void finish(QProcess& process)
    {
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished();
        }
        m_copy.endAll();
    }

    void waitForBlankScreen()
    {
        for (int i = 0; i < 400 && m_probe.shown(m_screen) > 0.5; ++i)
            QThread::msleep(5);
    }

    QSize m_size;
    ProgramCopy m_copy;
    Screen m_screen;
    SkinProbe m_probe;
    QTemporaryDir m_runtime;
    QProcessEnvironment m_env;
    Launch m_ours, m_bareStart, m_bareMemory, m_bareTextMixer;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int startRuns = args.size() > 2 ? args[1].toInt() : 11;
    const int memoryRuns = args.size() > 2 ? args[2].toInt() : 3;
    std::printf("The whole program from outside (medians, ranges in brackets; starts: %d runs in turns with the "
                "bare window, memory: %d)\n",
                startRuns, memoryRuns);
    for (const QSize size : {QSize(800, 480), QSize(1920, 1080)})
        Bench(size).run(startRuns, memoryRuns);
    return 0;
}
