#include "tests/support/ScriptedPrompter.h"

Prompter::Answer ScriptedPrompter::ask(Icon icon, Buttons buttons, const QString& text)
{
    m_shown.push_back({icon, buttons, text});
    if (!m_answers.empty()) {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QStringList ScriptedPrompter::texts() const
{
    QStringList result;
    for (const auto& entry : m_shown)
        result << entry.text;
    return result;
}
