// The window's few outside things behind small interfaces: the modal message box and starting
// another program. The real ones use Qt; tests answer message boxes through a script.
#pragma once

#include <QString>

class QWidget;

namespace app {

class MessageBox {
public:
    enum class Icon { None, Question, Error, Information };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageBox() = default;
    // Shows a modal message and returns the button the user chose.
    virtual Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) = 0;
};

// QMessageBox, modal over the window, sized for a touchscreen.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent)
        : m_parent(parent)
    {
    }
    Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) override;

private:
    QWidget* m_parent;
};

// Shows the window and returns once its first picture is painted, or after at most timeoutMs
// when the display is slow to map it. Keyboard and pointer input wait until afterwards.
void ShowPainted(QWidget& window, int timeoutMs);

// Starts a program as a separate process and does not wait for it; false when it cannot start.
bool StartDetached(const QString& program, const QString& workingFolder);

} // namespace app
