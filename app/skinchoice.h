// The day/night skin choice: which skin a time of day wants, when the periodic update switches,
// and which skin stands in when the wanted one cannot be loaded.
#pragma once

#include "app/startupsettings.h"

#include <QString>
#include <optional>

// The day test shared by start-up and the periodic update: day when the time of day, as
// "hh:mm:ss", lies strictly between the two switch times (ordinal text comparison).
bool IsDaytime(const QString& now, const QString& daySwitchTime, const QString& nightSwitchTime);
// Whether the skin follows the time of day: automatic switching on and two different skin names.
// An empty name is a skin too (the Skins folder itself).
bool FollowsTimeOfDay(const app::StartupSettings& settings);
// The skin to use at a time of day: the day or night skin while the skin follows the time of
// day, else the empty name.
QString ChooseSkin(const app::StartupSettings& settings, const QString& now);
// The other skin of the day/night pair, to stand in for a skin of the pair that cannot be loaded;
// nothing when the skin does not follow the time of day or the name is not one of the pair.
std::optional<QString> OtherSkinOfPair(const app::StartupSettings& settings, const QString& skinName);

// The periodic switch: a skin is loaded only at a crossing, once, and only when the skin in use
// is the other one of the pair. A skin that could not be loaded is tried again at the next
// crossing that wants it, not at every tick in between.
class DayNightSwitch {
public:
    // The skin to load at this time of day, with currentSkin on screen, or nothing.
    std::optional<QString> skinToLoad(const app::StartupSettings& settings, const QString& currentSkin,
                                      const QString& now);
    // The skin wanted now could not be loaded; its partner stands in.
    void notLoadable(const QString& skinName) { m_notLoadable = skinName; }

private:
    std::optional<QString> m_notLoadable;
};
