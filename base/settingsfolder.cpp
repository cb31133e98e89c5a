#include "base/settingsfolder.h"
#include "base/logging.h"

#include "base/modfunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <unistd.h>

namespace app {

namespace {

const QString SettingsFile = QStringLiteral("vantoxm.ini");
const QString ServiceSettings = QStringLiteral("xm-radio-service.ini");
const QString UserFolderName = QStringLiteral("/vanto-xm");

// Asked of the system for the real user, as the write itself will be: root may write anywhere.
bool userMayWrite(const QString& path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

QStringList userSkinsFirst(const QString& programFolder, const UserFolders& user)
{
    return {user.data + QLatin1String("/Skins"), programFolder + QLatin1String("/Skins")};
}

} // namespace

UserFolders StandardUserFolders()
{
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + UserFolderName,
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + UserFolderName};
}

bool ProgramFolderIsUsers(const QString& programFolder, const QString& fileName)
{
    if (QFileInfo::exists(programFolder + QLatin1Char('/') + QLatin1String(InstalledMarker)))
        return false;
    const QString file = programFolder + QLatin1Char('/') + fileName;
    // The settings store writes a file in place where it may not replace it.
    return QFileInfo::exists(file) ? userMayWrite(file) : userMayWrite(programFolder);
}

QString SettingsFolderOf(const QString& programFolder, const UserFolders& user)
{
    if (ProgramFolderIsUsers(programFolder, SettingsFile))
        return programFolder;
    QDir().mkpath(user.config);
    return user.config;
}

SettingsFolders ChooseSettingsFolders(const QString& programFolder, bool programFolderIsUsers, const UserFolders& user)
{
    if (programFolderIsUsers) {
        qCInfo(lcSettings).noquote() << "settings in the program folder" << programFolder;
        return {programFolder, {programFolder + QLatin1String("/Skins")}};
    }
    if (!PrepareUserSettings(programFolder, user.config)) {
        qCWarning(lcSettings).noquote() << "settings read from the program folder" << programFolder
                                        << "and not kept: cannot write" << user.config;
        return {programFolder, userSkinsFirst(programFolder, user)};
    }
    qCInfo(lcSettings).noquote() << "settings in" << user.config << "(the program folder" << programFolder
                                 << "is not the user's)";
    return {user.config, userSkinsFirst(programFolder, user)};
}

SettingsFolders ChooseSettingsFolders(const QString& programFolder, const UserFolders& user)
{
    return ChooseSettingsFolders(programFolder, ProgramFolderIsUsers(programFolder, SettingsFile), user);
}

bool PrepareUserSettings(const QString& programFolder, const QString& userConfigFolder)
{
    if (!QDir().mkpath(userConfigFolder) || !userMayWrite(userConfigFolder))
        return false;
    const QString own = userConfigFolder + QLatin1Char('/') + SettingsFile;
    QFile shipped(programFolder + QLatin1Char('/') + SettingsFile);
    if (QFileInfo::exists(own) || !shipped.open(QIODevice::ReadOnly))
        return true; // the user's settings stay; without shipped ones the first write makes the file
    // Written aside and renamed, so that a start cut short leaves no half file that later starts
    // would take for the user's settings.
    QSaveFile copy(own);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(shipped.readAll()) < 0 || !copy.commit())
        return false;
    modFunctions::SyncFolder(userConfigFolder);
    return true;
}

QString SkinFolder(const QStringList& skinFolders, const QString& name)
{
    for (const QString& skins : skinFolders) {
        const QString folder = QDir::cleanPath(skins + QLatin1Char('/') + name);
        if (QFileInfo::exists(folder + QLatin1String("/radio_xm.ini")))
            return folder;
    }
    return QDir::cleanPath(skinFolders.value(skinFolders.size() - 1) + QLatin1Char('/') + name);
}

QString ServiceSettingsFile(const QString& serviceFolder, const QString& userConfigFolder)
{
    const QString beside = serviceFolder + QLatin1Char('/') + ServiceSettings;
    if (ProgramFolderIsUsers(serviceFolder, ServiceSettings))
        return beside;
    const QString own = userConfigFolder + QLatin1Char('/') + ServiceSettings;
    return QFileInfo::exists(own) ? own : beside;
}

} // namespace app
