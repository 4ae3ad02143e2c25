#pragma once

#include "app/core/Prompter.h"

#include <QStringList>

#include <deque>

// A Prompter for tests: answers with the answers queued beforehand (Ok, or
// the box's "close" answer, once the queue is empty) and records every text
// it was shown.
class ScriptedPrompter : public Prompter
{
public:
    struct Shown
    {
        Icon icon;
        Buttons buttons;
        QString text;
    };

    void queue(Answer answer) { m_answers.push_back(answer); }
    Answer ask(Icon icon, Buttons buttons, const QString& text) override;

    const std::vector<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear()
    {
        m_shown.clear();
        m_answers.clear();
    }

private:
    std::deque<Answer> m_answers;
    std::vector<Shown> m_shown;
};
