// The window's few outside things: the message box on Qt, showing the window, placing it and
// starting another program.
#pragma once

#include "app/startupsettings.h"
#include "base/messagebox.h"

#include <QString>

class QMessageBox;
class QWidget;

namespace app {

// QMessageBox over the window, sized for a touchscreen; show() is modal.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent)
        : m_parent(parent)
    {
    }
    Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) override;
    // Not modal: the window takes input while the box is up; the box goes when it is closed.
    void notify(const QString& title, const QString& text, Icon icon) override;
    void dismiss(Answer answer) override;

private:
    QWidget* m_parent;
    QMessageBox* m_open = nullptr; // the modal box show() waits on
};

// Shows the window and returns once its first picture is painted, or after at most timeoutMs
// when the display is slow to map it. Keyboard and pointer input wait until afterwards.
void ShowPainted(QWidget& window, int timeoutMs);

// Places and sizes the window as the settings say: full screen, or where they put it. A window
// without a size in the settings would be unusable: it gets the car screen's.
void PlaceWindow(QWidget& window, const StartupSettings& settings);

// From here on, every large block the program frees goes straight back to the system.
void ReturnFreedPicturesToTheSystem();

// Starts a program as a separate process and does not wait for it; false when it cannot start.
bool StartDetached(const QString& program, const QString& workingFolder);

} // namespace app
