// The volume display's cost: one RefreshVolumeDisplay over the real mixer against a bare ALSA
// read of the same level and switch in the same run, and the share of one core that the idle
// window (radio silent) spends, with the real mixer and with one held in memory. Needs ALSA's
// default device to reach a sound server; scripts/bench.sh starts one.
#include "app/frmradioxm.h"
#include "benchsupport.h"
#include "volume/alsamixer.h"
#include "volume/memorymixer.h"
#include "volume/volumecommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <alsa/asoundlib.h>
#include <cstdio>
#include <ctime>

namespace {

constexpr int Reads = 100000;

class SilentBox : public app::MessageBox {
public:
    Answer show(const QString& title, const QString& text, Icon, Buttons) override
    {
        std::printf("message box: %s: %s\n", qPrintable(title), qPrintable(text));
        return Answer::Yes;
    }
};

// A bare ALSA read of the master level and switch on the caller's thread, as a program without
// any layer of its own would do it.
class BareRead {
public:
    BareRead()
    {
        snd_mixer_open(&m_mixer, 0);
        snd_mixer_attach(m_mixer, "default");
        snd_mixer_selem_register(m_mixer, nullptr, nullptr);
        snd_mixer_load(m_mixer);
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_name(id, "Master");
        m_master = snd_mixer_find_selem(m_mixer, id);
    }
    ~BareRead() { snd_mixer_close(m_mixer); }
    void operator()()
    {
        snd_mixer_handle_events(m_mixer);
        snd_mixer_selem_get_playback_volume(m_master, SND_MIXER_SCHN_FRONT_LEFT, &m_level);
        snd_mixer_selem_get_playback_switch(m_master, SND_MIXER_SCHN_FRONT_LEFT, &m_on);
    }

private:
    snd_mixer_t* m_mixer = nullptr;
    snd_mixer_elem_t* m_master = nullptr;
    long m_level = 0;
    int m_on = 0;
};

// One call each of the refresh and of the bare read, in microseconds: batches of calls taken
// in turns, so that both meet the same machine, and the median of the batches.
std::pair<double, double> refreshAndBare()
{
    QWidget form;
    skin::TwipsScale scale = skin::TwipsScale::forWidget(&form);
    skin::RadioXMControls controls(&form, scale);
    skin::SkinState skinState;
    skinState.VolumeSuffix = QStringLiteral("%");
    SilentBox box;
    volume::cVolume volu(std::make_unique<volume::AlsaMixer>(QStringLiteral("default")), box);
    volume::VolumeCommands commands(
        volume::VolumeControls::of(controls), skinState,
        volume::VolumeCommands::Hooks{[&volu] { return &volu; }, [] { return std::optional<bool>(false); }, [](bool) {},
                                      [](skin::PictureArea&, qint16) {}, [] { return false; },
                                      [] { return std::optional<bool>(); }, [](bool) {}});
    BareRead bare;
    constexpr int Batch = 100;
    std::vector<double> ours, baseline;
    for (int run = 0; run < Reads / Batch; ++run) {
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < Batch; ++i)
            commands.RefreshVolumeDisplay();
        ours.push_back(double(clock.nsecsElapsed()) / 1000.0 / Batch);
        clock.restart();
        for (int i = 0; i < Batch; ++i)
            bare();
        baseline.push_back(double(clock.nsecsElapsed()) / 1000.0 / Batch);
    }
    std::sort(ours.begin(), ours.end());
    std::sort(baseline.begin(), baseline.end());
    return {ours[ours.size() / 2], baseline[baseline.size() / 2]};
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Percent of one core the idle window spends over some seconds, after its start-up.
double idleWindowPercent(bool realMixer, int seconds)
{
    QTemporaryDir folder;
    QFile ini(folder.filePath(QStringLiteral("vantoxm.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[XMRadio]\r\n[Appearance]\r\nWindowWidth=800\r\nWindowHeight=480\r\nDaySkin=Day\r\nNightSkin=Day\r\n");
    ini.close();
    QDir().mkpath(folder.filePath(QStringLiteral("Skins")));
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral(VANTO_PROGRAM_DIR "/Skins/Day/."),
                                             folder.filePath(QStringLiteral("Skins"))});
    frmRadioXM::Seams seams;
    seams.programFolder = folder.path();
    seams.messageBox = [](QWidget*) { return std::make_unique<SilentBox>(); };
    seams.createRadio = [] { return std::unique_ptr<AXXMRadioClient>(); };
    volume::MemoryMixer::Script script;
    script.lines[0].level = 32768;
    if (!realMixer)
        seams.createMixer = [&script] { return std::make_unique<volume::MemoryMixer>(script); };
    frmRadioXM window(std::move(seams));
    window.Form_Load();
    window.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents();
    const double start = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double percent = (cpuSeconds() - start) / (double(clock.elapsed()) / 1000.0) * 100.0;
    window.close();
    return percent;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const auto [ours, bare] = refreshAndBare();
    bench::row("RefreshVolumeDisplay (real mixer)", ours, bare, "us", 1.5);
    const double idleMemory = idleWindowPercent(false, 8);
    const double idleReal = idleWindowPercent(true, 8);
    std::printf(
        "%-38s %10.3f %%   with the mixer in memory %6.3f %%   extra %6.3f %% of one core   target < 0.5 %%  %s\n",
        "idle window, real mixer", idleReal, idleMemory, idleReal - idleMemory, idleReal < 0.5 ? "ok" : "MISSED");
    return 0;
}
