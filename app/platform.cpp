#include "platform.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace app {

MessageBox::Answer QtMessageBox::show(const QString& title, const QString& text, Icon icon, Buttons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None: break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    }
    if (buttons == Buttons::YesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else
        box.setStandardButtons(QMessageBox::Ok);
    const int chosen = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return chosen == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void ShowPainted(QWidget& window, int timeoutMs)
{
    window.show();
    QWindow* handle = window.windowHandle();
    // The window system paints the window as soon as it reports it exposed.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(timeoutMs);
    while (handle && !handle->isExposed() && deadline.isActive())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

bool StartDetached(const QString& program, const QString& workingFolder)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(workingFolder);
    return process.startDetached();
}

} // namespace app
