// A message box for tests: records what would be shown and answers from a script.
#pragma once

#include "app/platform.h"

#include <QStringList>
#include <functional>

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

    Answer show(const QString& title, const QString& text, Icon icon, Buttons buttons) override
    {
        const Shown shown{title, text, icon, buttons};
        if (log)
            log->push_back(shown);
        return answer(shown);
    }

    void notify(const QString& title, const QString& text, Icon icon) override
    {
        if (log)
            log->push_back({title, text, icon, Buttons::Ok, true});
    }
};
