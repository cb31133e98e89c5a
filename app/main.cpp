// The VANTO XM Radio program: one window, no command line. Everything it needs (settings,
// skins, the channel list, the radio service) is found in the folder of its executable; an
// installed program keeps each user's settings and channel list in the user's own folders. A
// second start over the same settings brings the running window to the front instead.
#include "app/frmradioxm.h"
#include "app/logging.h"
#include "app/onewindow.h"
#include "base/quitonsignals.h"
#include "base/settingsfolder.h"

#include <QApplication>
#include <QLoggingCategory>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("V.A.N.T.O XM"));
    QApplication::setApplicationVersion(QStringLiteral(VANTO_XM_VERSION));
    const QString programFolder = QApplication::applicationDirPath();
    // One window per settings folder: two windows would both write its vantoxm.ini. An installed
    // program folder is shared by its users, each with settings of their own.
    const QString settingsFolder = app::SettingsFolderOf(programFolder, app::StandardUserFolders());
    const app::ProgramFolderLock oneWindow(settingsFolder);
    if (oneWindow.heldByAnother())
        return app::RaiseRunningWindow(settingsFolder);
    qCInfo(lcApp).noquote() << "V.A.N.T.O XM Radio" << QApplication::applicationVersion();

    frmRadioXM::Seams seams;
    seams.programFolder = programFolder;
    frmRadioXM window(std::move(seams));
    // Logout, shutdown, kill and Ctrl-C close the window as the exit button does, so that the
    // radio is muted before the program ends; exit also ends a question on screen.
    const app::QuitOnSignals closeOnSignals([&window] {
        window.close();
        QCoreApplication::exit(0);
    });
    // Start-up shows the window as soon as its first picture is ready.
    window.Form_Load();
    // Offered once start-up is over, so that it costs start-up nothing.
    const app::RaiseOnRequest raiseOnRequest(window, settingsFolder);
    return QApplication::exec();
}
