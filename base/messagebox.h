// The message box behind a small interface: the window's is Qt's (app/platform.h); tests answer
// through a script. Parts below the window that must tell the user something are handed one.
#pragma once

#include <QString>

namespace app {

class MessageBox {
public:
    enum class Icon { None, Question, Error, Information };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageBox() = default;
    // Shows a modal message and returns the button the user chose.
    virtual Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) = 0;
    // Shows a message with an OK button and returns at once: the window goes on working while it
    // is up. A box whose show() returns at once can leave this as it is.
    virtual void notify(const QString& title, const QString& text, Icon icon) { show(title, text, icon, Buttons::Ok); }
    // Closes the modal message on screen as if the user had chosen answer, for a question that
    // events have answered; nothing when none is up (nor for a box whose show() returns at once).
    virtual void dismiss(Answer) {}
};

} // namespace app
