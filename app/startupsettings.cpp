#include "startupsettings.h"

#include "base/basic.h"
#include "base/modini.h"

#include <QFileInfo>
#include <algorithm>

namespace app {
namespace {

qint16 clampTo16(const QVariant& value)
{
    return qint16(std::clamp<qint64>(value.toLongLong(), -32768, 32767));
}

// A Boolean setting read as text: text without a Boolean value reads as false.
bool booleanSetting(const QVariant& value)
{
    return basic::CBool(value.toString()).value_or(false);
}

} // namespace

StartupSettings ReadStartupSettings(const QString& iniFile)
{
    return ReadStartupSettings(modIni::IniDocument::fromFile(iniFile));
}

StartupSettings ReadStartupSettings(const modIni::IniDocument& doc)
{
    const auto radio = [&doc](const QString& key, modIni::Code code) {
        return modIni::ReadSetting(doc, QStringLiteral("XMRadio"), key, code);
    };
    const auto look = [&doc](const char* key, modIni::Code code) {
        return modIni::ReadSetting(doc, QStringLiteral("Appearance"), QString::fromLatin1(key), code);
    };
    StartupSettings s;
    s.servicePath = radio(QStringLiteral("XMServicePath"), modIni::AsString).toString();
    for (int n = 1; n <= 3; ++n)
        s.presets[size_t(n - 1)] = radio(QStringLiteral("Preset%1").arg(n), modIni::AsString).toString();
    const qint32 channel = basic::toInt32(radio(QStringLiteral("LastChannel"), modIni::AsInteger)).value_or(0);
    s.lastChannel = channel == 0 ? 1 : channel;
    s.windowLeft = clampTo16(look("WindowLeft", modIni::AsLong));
    s.windowTop = clampTo16(look("WindowTop", modIni::AsLong));
    s.windowWidth = clampTo16(look("WindowWidth", modIni::AsLong));
    s.windowHeight = clampTo16(look("WindowHeight", modIni::AsLong));
    s.fullScreen = booleanSetting(look("FullScreen", modIni::AsBooleanText));
    s.showMouseCursor = booleanSetting(look("ShowMouseCursor", modIni::AsBooleanText));
    s.daySkin = look("DaySkin", modIni::AsString).toString();
    s.nightSkin = look("NightSkin", modIni::AsString).toString();
    s.daySkinSwitchTime = look("DaySkinSwitchTime", modIni::AsString).toString();
    s.nightSkinSwitchTime = look("NightSkinSwitchTime", modIni::AsString).toString();
    s.autoSwitchDayNightSkin = booleanSetting(look("AutoSwitchDayNightSkin", modIni::AsBooleanText));
    return s;
}

QString ServiceProgram(const QString& servicePath, const QString& programFolder)
{
    if (!servicePath.isEmpty() && QFileInfo(servicePath).isRelative())
        return programFolder + QLatin1Char('/') + servicePath;
    return servicePath;
}

} // namespace app
