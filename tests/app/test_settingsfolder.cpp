// Where settings, the channel list and skins are kept: a portable program folder as always, an
// installed one in the user's folders; and the real window started from an installed folder.
#include "base/settingsfolder.h"
#include "fakeradioservice.h"
#include "testskin.h"
#include "testsupport.h"
#include "windowfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::readFile;
using testsupport::writeFile;

namespace {

const QByteArray ShippedSettings = "[XMRadio]\r\nXMServicePath=xm-radio-service\r\nLastChannel=42\r\n"
                                   "; Caf\xe9 in Windows-1252\r\n[Appearance]\r\nDaySkin=Mine\r\nNightSkin=Night\r\n"
                                   "DaySkinSwitchTime=07:00:00\r\nNightSkinSwitchTime=19:00:00\r\n"
                                   "AutoSwitchDayNightSkin=True\r\n";

class Folders : public WindowFixture {
protected:
    // The window's program folder.
    QTemporaryDir& program = folder;
    QTemporaryDir home;
    app::UserFolders user{home.filePath("config/vanto-xm"), home.filePath("data/vanto-xm")};

    void install() { writeFile(program.filePath(app::InstalledMarker), "installed\n"); }
    // Every entry of the program folder with its bytes, to show that nothing was written there.
    QMap<QString, QByteArray> programFiles() const
    {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(program.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            files[name] = readFile(program.filePath(name));
        return files;
    }
};

} // namespace

TEST_F(Folders, APortableFolderKeepsEverythingAndLeavesTheUsersFoldersAlone)
{
    writeFile(program.filePath("vantoxm.ini"), ShippedSettings);
    const app::SettingsFolders folders = app::ChooseSettingsFolders(program.path(), user);
    EXPECT_EQ(folders.settings, program.path());
    EXPECT_EQ(folders.skinFolders, QStringList{program.filePath("Skins")});
    EXPECT_FALSE(QFileInfo::exists(home.filePath("config")));
}

TEST_F(Folders, AnInstalledFolderGivesTheUserACopyOfItsSettingsOnTheFirstStartOnly)
{
    install();
    writeFile(program.filePath("vantoxm.ini"), ShippedSettings);
    writeFile(program.filePath("services.dat"), "\"007,Seven,Rock\"\r\n");
    const auto before = programFiles();
    // The marker makes the folder the package's even for root, who could write in it.
    EXPECT_FALSE(app::ProgramFolderIsUsers(program.path(), "vantoxm.ini"));

    const app::SettingsFolders folders = app::ChooseSettingsFolders(program.path(), user);
    EXPECT_EQ(folders.settings, user.config);
    EXPECT_EQ(folders.skinFolders, QStringList({user.data + "/Skins", program.filePath("Skins")}));
    EXPECT_EQ(readFile(user.config + "/vantoxm.ini"), ShippedSettings) << "copied byte for byte";
    EXPECT_FALSE(QFileInfo::exists(user.config + "/services.dat")) << "the channel list is the user's own";
    EXPECT_EQ(QDir(user.config).entryList(QDir::Files | QDir::Hidden), QStringList{"vantoxm.ini"})
        << "no temporary file left";
    EXPECT_EQ(programFiles(), before);

    writeFile(user.config + "/vantoxm.ini", "[XMRadio]\r\nLastChannel=7\r\n");
    writeFile(program.filePath("vantoxm.ini"), ShippedSettings + "Preset1=9\r\n"); // an upgrade
    EXPECT_EQ(app::ChooseSettingsFolders(program.path(), user).settings, user.config);
    EXPECT_EQ(readFile(user.config + "/vantoxm.ini"), "[XMRadio]\r\nLastChannel=7\r\n");

    // Where the user's folder cannot be made, the program folder's settings are still read.
    QDir(home.filePath("config")).removeRecursively();
    writeFile(home.filePath("config"), "a file where the folder should be");
    const app::SettingsFolders unmade = app::ChooseSettingsFolders(program.path(), user);
    EXPECT_EQ(unmade.settings, program.path());
    EXPECT_EQ(unmade.skinFolders.front(), user.data + "/Skins");
}

namespace {

// Runs the check as a user who owns nothing here: as root in a child process that becomes
// "nobody", else as the user running the tests. The modes give every user the same rights.
bool isUsersAsAnotherUser(const QString& folder)
{
    if (::geteuid() != 0)
        return app::ProgramFolderIsUsers(folder, "vantoxm.ini");
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        ::_exit(app::ProgramFolderIsUsers(folder, "vantoxm.ini") ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) < 2) << "the check could not run as nobody";
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

} // namespace

TEST_F(Folders, AFolderIsTheUsersWhenTheSettingsCanBeWrittenThere)
{
    struct Case {
        const char* name;
        bool settingsFile;
        QFile::Permissions fileMode;
        QFile::Permissions folderMode;
        bool users;
    };
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions readWrite = readOnly | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    const QFile::Permissions enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(home.path(), readOnly | enter | QFile::WriteOwner);
    const Case cases[] = {
        {"settings writable in a read-only folder: written in place", true, readWrite, readOnly | enter, true},
        {"no settings yet in a folder the user may write in", false, {}, readWrite | enter, true},
        {"no settings in a read-only folder", false, {}, readOnly | enter, false},
        {"settings read-only in a writable folder", true, readOnly, readWrite | enter, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = home.filePath(QString::number(&c - cases));
        const QString file = folder + "/vantoxm.ini";
        if (c.settingsFile) {
            writeFile(file, ShippedSettings);
            QFile::setPermissions(file, c.fileMode);
        } else
            QDir().mkpath(folder);
        QFile::setPermissions(folder, c.folderMode);
        EXPECT_EQ(isUsersAsAnotherUser(folder), c.users);
        QFile::setPermissions(folder, readWrite | enter);
    }
}

TEST_F(Folders, TheUsersSkinComesFirstWhenItHasItsSkinFile)
{
    const QStringList both{user.data + "/Skins", program.filePath("Skins")};
    writeFile(user.data + "/Skins/Mine/radio_xm.ini", "[General]\r\n");
    writeFile(program.filePath("Skins/Mine/radio_xm.ini"), "[General]\r\n");
    writeFile(program.filePath("Skins/Day/radio_xm.ini"), "[General]\r\n");
    QDir().mkpath(user.data + "/Skins/Day/Images"); // a skin begun but without its file
    writeFile(program.filePath("Skins/radio_xm.ini"), "[General]\r\n");

    EXPECT_EQ(app::SkinFolder(both, "Mine"), user.data + "/Skins/Mine");
    EXPECT_EQ(app::SkinFolder(both, "Day"), program.filePath("Skins/Day"));
    EXPECT_EQ(app::SkinFolder(both, "Gone"), program.filePath("Skins/Gone")) << "reported beside the program's";
    EXPECT_EQ(app::SkinFolder(both, ""), program.filePath("Skins")) << "the Skins folder itself";
    writeFile(user.data + "/Skins/radio_xm.ini", "[General]\r\n");
    EXPECT_EQ(app::SkinFolder(both, ""), user.data + "/Skins");
    EXPECT_EQ(app::SkinFolder({program.filePath("Skins")}, "../Skins/Gone/"), program.filePath("Skins/Gone"))
        << "a portable folder's one Skins folder, the name cleaned";
}

TEST_F(Folders, TheRadioServiceReadsTheUsersSettingsFirstOnlyInAnInstalledFolder)
{
    const QString beside = program.filePath("xm-radio-service.ini");
    const QString own = user.config + "/xm-radio-service.ini";
    writeFile(beside, "[Receiver]\r\nDevice=simulator\r\n");
    writeFile(own, "[Receiver]\r\nDevice=/dev/serial/by-id/usb-receiver\r\n");
    EXPECT_EQ(app::ServiceSettingsFile(program.path(), user.config), beside) << "portable";
    install();
    EXPECT_EQ(app::ServiceSettingsFile(program.path(), user.config), own);
    QFile::remove(own);
    EXPECT_EQ(app::ServiceSettingsFile(program.path(), user.config), beside);
}

TEST_F(Folders, AnInstalledWindowKeepsSettingsChannelListAndSkinsInTheUsersFolders)
{
    install();
    writeFile(program.filePath("vantoxm.ini"), ShippedSettings);
    testskin::writeSkin(program.filePath("Skins/Night"));
    testskin::writeSkin(user.data + "/Skins/Mine");
    const auto before = programFiles();
    FakeRadioService service("service");
    volume::MemoryMixer::Script mixer;
    seams.userFolders = user;
    seams.clock = [] { return QTime(12, 0, 0); };
    useMemoryMixer(mixer);
    window = makeWindow();
    window->Form_Load();

    // The day skin is only in the user's folder: had it not been found, a message and the
    // night skin would stand in.
    EXPECT_TRUE(shown.empty()) << shown.front().text.toStdString();
    EXPECT_EQ(window->controls().lblCC->Caption(), "42");
    ASSERT_TRUE(testsupport::waitUntil([&] { return service.calls.contains("Channel 42"); }));
    service.emitSignal("ChannelData", {7, QString("Seven"), QString("Artist"), QString("Title"), QString("Rock")});
    ASSERT_TRUE(testsupport::waitUntil([&] { return window->table().FindItem("007") >= 0; }));
    window->chooser().ChooseListItem(window->table().FindItem("007"));

    EXPECT_TRUE(readFile(user.config + "/vantoxm.ini").contains("LastChannel=7\r\n"));
    EXPECT_EQ(readFile(user.config + "/services.dat"), "\"007,Seven,Rock\"\r\n");
    EXPECT_EQ(programFiles(), before);
}
