#include "platform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <malloc.h>

namespace app {

namespace {

void setUp(QMessageBox& box, const QString& title, const QString& text, MessageBox::Icon icon)
{
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MessageBox::Icon::None: break;
    case MessageBox::Icon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageBox::Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageBox::Icon::Information: box.setIcon(QMessageBox::Information); break;
    }
}

} // namespace

MessageBox::Answer QtMessageBox::show(const QString& title, const QString& text, Icon icon, Buttons buttons)
{
    QMessageBox box(m_parent);
    setUp(box, title, text, icon);
    if (buttons == Buttons::YesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else
        box.setStandardButtons(QMessageBox::Ok);
    m_open = &box;
    const int chosen = box.exec();
    m_open = nullptr;
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return chosen == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtMessageBox::dismiss(Answer answer)
{
    if (m_open)
        m_open->done(answer == Answer::Yes  ? QMessageBox::Yes
                     : answer == Answer::No ? QMessageBox::No
                                            : QMessageBox::Ok);
}

void QtMessageBox::notify(const QString& title, const QString& text, Icon icon)
{
    auto* box = new QMessageBox(m_parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    setUp(*box, title, text, icon);
    box->setStandardButtons(QMessageBox::Ok);
    box->show();
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
    // The picture is on its way to the display; the display draws it before the heavier work
    // that follows takes the processor.
    if (handle && handle->isExposed())
        QGuiApplication::sync();
}

void ReturnFreedPicturesToTheSystem()
{
    // Pictures are large and short-lived while a skin loads. By default the C library raises its
    // threshold for giving memory straight back to the system after the first large block is
    // freed, and the worker threads then keep whole freed pictures: 12 MB at full HD for the
    // rest of the run. A fixed threshold returns every picture when it is freed. It also gives
    // the heap's top back at every free, which costs Qt's start a tenth more: set once the first
    // picture is on screen, before the skin's pictures are decoded.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

bool StartDetached(const QString& program, const QString& workingFolder)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(workingFolder);
    return process.startDetached();
}

namespace {

// Window sizes used when the settings give none.
constexpr int FallbackWidth = 800;
constexpr int FallbackHeight = 480;

} // namespace

void PlaceWindow(QWidget& window, const StartupSettings& settings)
{
    if (settings.fullScreen) {
        const QRect screenRect =
            window.screen() ? window.screen()->geometry() : QRect(0, 0, FallbackWidth, FallbackHeight);
        window.resize(screenRect.size());
        window.move(screenRect.topLeft());
        window.setWindowState(window.windowState() | Qt::WindowFullScreen);
        return;
    }
    window.resize(settings.windowWidth > 0 ? settings.windowWidth : FallbackWidth,
                  settings.windowHeight > 0 ? settings.windowHeight : FallbackHeight);
    window.move(settings.windowLeft, settings.windowTop);
}

} // namespace app
