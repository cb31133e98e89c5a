// The keys of vantoxm.ini that start-up reads, read once into one value.
#pragma once

#include "base/modini.h"

#include <QString>
#include <array>

namespace app {

struct StartupSettings {
    // [XMRadio]
    QString servicePath;            // XMServicePath as written: relative to the program's folder or absolute
    std::array<QString, 3> presets; // Preset1 to Preset3 as written
    qint32 lastChannel = 1;         // LastChannel; 0 or no number is channel 1
    // [Appearance]
    qint16 windowLeft = 0, windowTop = 0, windowWidth = 0, windowHeight = 0;
    bool fullScreen = false, showMouseCursor = false, autoSwitchDayNightSkin = false;
    QString daySkin, nightSkin, daySkinSwitchTime, nightSkinSwitchTime;
};

// A missing file or key gives the value above; Booleans without a Boolean text read as false.
StartupSettings ReadStartupSettings(const QString& iniFile);
StartupSettings ReadStartupSettings(const modIni::IniDocument& doc);

// The service program to start: a relative path is taken from the program's folder, so the
// service is found wherever that folder is; absolute paths and the empty path stay as they are.
QString ServiceProgram(const QString& servicePath, const QString& programFolder);

} // namespace app
