// Loading the current skin with its failures reported: a broken skin is reported once in a
// message box naming the file and the problem, and a skin of the day/night pair that cannot be
// loaded has the other one stand in.
#pragma once

#include "app/platform.h"
#include "app/skinchoice.h"
#include "skin/loadskin.h"

#include <QSet>
#include <QString>

namespace app {

class SkinReporting {
public:
    SkinReporting(skin::SkinLoader& loader, const StartupSettings& settings, DayNightSwitch& dayNight, MessageBox& box);

    // Without either skin of the pair the window goes on with what it has. Returns whether one
    // loaded.
    bool LoadSkinReportingErrors();

private:
    bool loadSkinOnce();

    skin::SkinLoader& m_loader;
    const StartupSettings& m_settings;
    DayNightSwitch& m_dayNight;
    MessageBox& m_box;
    QSet<QString> m_reported;
};

} // namespace app
