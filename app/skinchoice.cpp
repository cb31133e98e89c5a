#include "app/skinchoice.h"

bool IsDaytime(const QString& now, const QString& daySwitchTime, const QString& nightSwitchTime)
{
    return QString::compare(now, daySwitchTime, Qt::CaseSensitive) > 0 &&
           QString::compare(now, nightSwitchTime, Qt::CaseSensitive) < 0;
}

bool FollowsTimeOfDay(const app::StartupSettings& s)
{
    return s.autoSwitchDayNightSkin && s.nightSkin != s.daySkin;
}

QString ChooseSkin(const app::StartupSettings& s, const QString& now)
{
    if (!FollowsTimeOfDay(s))
        return QString();
    return IsDaytime(now, s.daySkinSwitchTime, s.nightSkinSwitchTime) ? s.daySkin : s.nightSkin;
}

std::optional<QString> OtherSkinOfPair(const app::StartupSettings& s, const QString& skinName)
{
    if (!FollowsTimeOfDay(s))
        return std::nullopt;
    if (skinName == s.daySkin)
        return s.nightSkin;
    if (skinName == s.nightSkin)
        return s.daySkin;
    return std::nullopt;
}

std::optional<QString> DayNightSwitch::skinToLoad(const app::StartupSettings& settings, const QString& currentSkin,
                                                  const QString& now)
{
    if (!FollowsTimeOfDay(settings))
        return std::nullopt;
    const QString wanted = ChooseSkin(settings, now);
    if (m_notLoadable && *m_notLoadable != wanted)
        m_notLoadable.reset(); // a crossing: the next time it is wanted, it is tried again
    if (m_notLoadable || currentSkin != OtherSkinOfPair(settings, wanted))
        return std::nullopt;
    return wanted;
}
