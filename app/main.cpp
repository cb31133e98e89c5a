// The VANTO XM Radio program: one window, no command line. Everything it needs (settings,
// skins, the channel list, the radio service) is found in the folder of its executable.
#include "app/frmradioxm.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("V.A.N.T.O XM"));

    frmRadioXM::Seams seams;
    seams.programFolder = QApplication::applicationDirPath();
    frmRadioXM window(std::move(seams));
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
