// Where the program keeps what it writes. A program folder the user can write in (a portable
// folder) keeps everything, as it always has. An installed program folder is not the user's:
// each user's settings and channel list then live in the user's configuration folder, and the
// user's own skins in the user's data folder, looked up before the program folder's.
#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The file the package puts in the program folder it installs. Such a folder is never the
// user's, not even for root, who could write in it: an upgrade replaces what the package put
// there, and a removal leaves behind what the program added.
inline constexpr char InstalledMarker[] = "installed.txt";

// The user's own folders for an installed program.
struct UserFolders {
    QString config; // vantoxm.ini, services.dat, xm-radio-service.ini
    QString data;   // Skins
};

// ~/.config/vanto-xm and ~/.local/share/vanto-xm, or their places under XDG_CONFIG_HOME and
// XDG_DATA_HOME, through Qt's standard locations.
UserFolders StandardUserFolders();

// Whether the program folder is the user's: the settings file named can be written by the user,
// or is missing from a folder the user can write in, and the package did not install the folder.
bool ProgramFolderIsUsers(const QString& programFolder, const QString& fileName);

// The folder whose settings a window started from programFolder writes: the program folder when
// it is the user's, otherwise the user's configuration folder, made when missing.
QString SettingsFolderOf(const QString& programFolder, const UserFolders& user);

struct SettingsFolders {
    QString settings;        // holds vantoxm.ini and services.dat
    QStringList skinFolders; // the Skins folders, searched in this order
};

// The folders of a start, with one log line naming the settings folder. A program folder that
// is not the user's hands the settings to the user's configuration folder, which gets a copy of
// the program folder's vantoxm.ini on the first start. When that folder cannot be made, the
// settings are read from the program folder as they always were.
SettingsFolders ChooseSettingsFolders(const QString& programFolder, bool programFolderIsUsers, const UserFolders& user);
SettingsFolders ChooseSettingsFolders(const QString& programFolder, const UserFolders& user);

// Copies the program folder's vantoxm.ini into the user's configuration folder unless the user
// has one. False when the folder or the copy cannot be written.
bool PrepareUserSettings(const QString& programFolder, const QString& userConfigFolder);

// The folder of the skin named: the first of the Skins folders that holds its radio_xm.ini, else
// the place in the last one, so that a skin found nowhere is reported where the program's own
// skins are. An empty name is a Skins folder itself.
QString SkinFolder(const QStringList& skinFolders, const QString& name);

// The radio service's settings file: beside the service in a folder of the user's; in an
// installed folder the user's own file comes first, when there is one.
QString ServiceSettingsFile(const QString& serviceFolder, const QString& userConfigFolder);

} // namespace app
