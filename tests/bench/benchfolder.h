// A program folder for the benchmarks that run the whole window: a listing of `channels`
// channels already in services.dat, channel 7 tuned, the Day skin of the build for both skins;
// and the window started over it.
#pragma once

#include "app/frmradioxm.h"
#include "volume/memorymixer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace bench {

inline void writeProgramFolder(const QString& folder, int channels)
{
    QByteArray services;
    for (int channel = 1; channel <= channels; ++channel)
        services += QStringLiteral("\"%1,Station %2,Genre %3\"\r\n")
                        .arg(channel, 3, 10, QLatin1Char('0'))
                        .arg(channel)
                        .arg(channel % 12)
                        .toUtf8();
    QFile file(folder + "/services.dat");
    file.open(QIODevice::WriteOnly);
    file.write(services);
    file.close();
    QFile ini(folder + "/vantoxm.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write("[XMRadio]\r\nLastChannel=7\r\n[Appearance]\r\nWindowWidth=800\r\nWindowHeight=480\r\n"
              "DaySkin=Day\r\nNightSkin=Day\r\n");
    ini.close();
    QDir().mkpath(folder + "/Skins");
    for (const QString& path : {QStringLiteral("radio_xm.ini"), QStringLiteral("Images")})
        QProcess::execute(QStringLiteral("cp"),
                          {QStringLiteral("-r"), QStringLiteral(VANTO_PROGRAM_DIR "/Skins/Day/") + path,
                           folder + QStringLiteral("/Skins/")});
}

// The whole window over such a folder, shown and past its first paint, which belongs to
// start-up and not to what a benchmark measures. The reports are measured, not the sound card:
// the mixer is held in memory.
struct StartedWindow {
    QTemporaryDir folder;
    volume::MemoryMixer::Script mixer;
    std::unique_ptr<frmRadioXM> window;

    // prepare: what the benchmark adds to the folder before the window starts.
    explicit StartedWindow(int channels, const std::function<void(const QString& folder)>& prepare = {})
    {
        writeProgramFolder(folder.path(), channels);
        if (prepare)
            prepare(folder.path());
        frmRadioXM::Seams seams;
        seams.programFolder = folder.path();
        seams.createMixer = [this] { return std::make_unique<volume::MemoryMixer>(mixer); };
        window = std::make_unique<frmRadioXM>(std::move(seams));
        window->Form_Load();
        window->show();
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300)
            QCoreApplication::processEvents();
    }
};

} // namespace bench
