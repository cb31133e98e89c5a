// The start-up keys of vantoxm.ini read from a file the test writes, and where the service
// program is looked for.
#include "app/startupsettings.h"
#include "testsupport.h"

#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using app::ReadStartupSettings;

TEST(StartupSettings, ReadsEveryKeyAsWritten)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("vantoxm.ini");
    testsupport::writeFile(ini, "[XMRadio]\r\nXMServicePath=bin/service\r\nPreset1=7\r\nPreset3=\"120\"\r\n"
                                "LastChannel=42\r\n[Appearance]\r\nWindowLeft=-20\r\nWindowTop=100000\r\n"
                                "WindowWidth=640\r\nWindowHeight=480\r\nFullScreen=True\r\nShowMouseCursor=-1\r\n"
                                "AutoSwitchDayNightSkin=yes\r\nDaySkin=Day\r\nNightSkin=Night\r\n"
                                "DaySkinSwitchTime=07:00:00\r\nNightSkinSwitchTime=19:00:00\r\n");
    const app::StartupSettings s = ReadStartupSettings(ini);
    EXPECT_EQ(s.servicePath, "bin/service");
    EXPECT_EQ(s.presets[0], "7");
    EXPECT_EQ(s.presets[1], "");
    EXPECT_EQ(s.presets[2], "120");
    EXPECT_EQ(s.lastChannel, 42);
    EXPECT_EQ(s.windowLeft, -20);
    EXPECT_EQ(s.windowTop, 32767) << "a position past 16 bits is held at the edge";
    EXPECT_EQ(QSize(s.windowWidth, s.windowHeight), QSize(640, 480));
    EXPECT_TRUE(s.fullScreen);
    EXPECT_TRUE(s.showMouseCursor);
    EXPECT_FALSE(s.autoSwitchDayNightSkin) << "text without a Boolean value reads as false";
    EXPECT_EQ(QStringList({s.daySkin, s.nightSkin, s.daySkinSwitchTime, s.nightSkinSwitchTime}),
              QStringList({"Day", "Night", "07:00:00", "19:00:00"}));
}

TEST(StartupSettings, AMissingFileOrChannelZeroStartsOnChannelOne)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReadStartupSettings(dir.filePath("none.ini")).lastChannel, 1);
    testsupport::writeFile(dir.filePath("zero.ini"), "[XMRadio]\r\nLastChannel=0\r\n");
    EXPECT_EQ(ReadStartupSettings(dir.filePath("zero.ini")).lastChannel, 1);
}

TEST(StartupSettings, ARelativeServicePathIsTakenFromTheProgramFolder)
{
    EXPECT_EQ(app::ServiceProgram("bin/service", "/opt/vanto"), "/opt/vanto/bin/service");
    EXPECT_EQ(app::ServiceProgram("/usr/bin/service", "/opt/vanto"), "/usr/bin/service");
    EXPECT_EQ(app::ServiceProgram("", "/opt/vanto"), "");
}
