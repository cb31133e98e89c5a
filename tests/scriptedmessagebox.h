// A message box for tests: records what would be shown and answers from a script.
#pragma once

#include "base/messagebox.h"

#include <QStringList>
#include <functional>
#include <optional>

class ScriptedMessageBox : public app::MessageBox {
public:
    struct Shown {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
        // Shown without waiting for an answer.
        bool notice = false;
    };

    // Shared with the test, which keeps a pointer while the window owns the box.
    std::vector<Shown>* log = nullptr;
    std::function<Answer(const Shown&)> answer = [](const Shown&) { return Answer::Ok; };

    // What the window closed the box on screen with, while answer() ran.
    std::optional<Answer> dismissed;

    Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) override
    {
        const Shown shown{title, text, icon, buttons};
        if (log)
            log->push_back(shown);
        dismissed.reset();
        const Answer chosen = answer(shown);
        return dismissed.value_or(chosen);
    }

    void dismiss(Answer answer) override { dismissed = answer; }

    void notify(const QString& title, const QString& text, Icon icon) override
    {
        if (log)
            log->push_back({title, text, icon, Buttons::Ok, true});
    }
};
