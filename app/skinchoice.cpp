#include "app/skinchoice.h"

bool IsDaytime(const QString& now, const QString& daySwitchTime, const QString& nightSwitchTime)
{
    return QString::compare(now, daySwitchTime, Qt::CaseSensitive) > 0 &&
           QString::compare(now, nightSwitchTime, Qt::CaseSensitive) < 0;
}

bool FollowsTimeOfDay(const skin::WindowState& s)
{
    return s.AutoSwitchDayNightSkin && s.NightSkin != s.DaySkin;
}

QString ChooseSkin(const skin::WindowState& s, const QString& now)
{
    if (!FollowsTimeOfDay(s))
        return QString();
    return IsDaytime(now, s.DaySkinSwitchTime, s.NightSkinSwitchTime) ? s.DaySkin : s.NightSkin;
}

std::optional<QString> OtherSkinOfPair(const skin::WindowState& s, const QString& skinName)
{
    if (!FollowsTimeOfDay(s))
        return std::nullopt;
    if (skinName == s.DaySkin)
        return s.NightSkin;
    if (skinName == s.NightSkin)
        return s.DaySkin;
    return std::nullopt;
}

std::optional<QString> DayNightSwitch::skinToLoad(const skin::WindowState& state, const QString& now)
{
    if (!FollowsTimeOfDay(state))
        return std::nullopt;
    const QString wanted = ChooseSkin(state, now);
    if (m_notLoadable && *m_notLoadable != wanted)
        m_notLoadable.reset(); // a crossing: the next time it is wanted, it is tried again
    if (m_notLoadable || state.CurrentSkin != OtherSkinOfPair(state, wanted))
        return std::nullopt;
    return wanted;
}
