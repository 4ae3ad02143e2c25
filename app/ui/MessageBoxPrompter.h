#pragma once

#include "app/core/Prompter.h"

class QWidget;

// The desktop's Prompter: a modal message box titled with the product name.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    Answer ask(Icon icon, Buttons buttons, const QString& text) override;

private:
    QWidget* m_parent;
};
