#pragma once

#include <QString>

// Every modal question or message of the program goes through a Prompter, so
// that the windows can be driven without a screen: the desktop answers with
// message boxes, a test with answers it scripted beforehand.
class Prompter
{
public:
    enum class Icon { Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    // Shows one modal message and returns the button the user chose. Closing
    // the box without a button counts as Cancel, or as No where there is no
    // Cancel button, or as Ok for a box with only an Ok button.
    virtual Answer ask(Icon icon, Buttons buttons, const QString& text) = 0;

    void showError(const QString& text) { ask(Icon::Error, Buttons::Ok, text); }
    void showWarning(const QString& text) { ask(Icon::Warning, Buttons::Ok, text); }
    void showInformation(const QString& text) { ask(Icon::Information, Buttons::Ok, text); }
};
