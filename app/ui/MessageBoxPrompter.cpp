#include "app/ui/MessageBoxPrompter.h"

#include "about/core/VersionRecord.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Prompter::Answer answerOf(int button, Prompter::Buttons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return Prompter::Answer::Ok;
    case QMessageBox::Yes:
        return Prompter::Answer::Yes;
    case QMessageBox::No:
        return Prompter::Answer::No;
    case QMessageBox::Cancel:
        return Prompter::Answer::Cancel;
    default:
        break;
    }
    // Closed without a button (Escape or the title bar).
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return Prompter::Answer::Ok;
    case Prompter::Buttons::YesNo:
        return Prompter::Answer::No;
    default:
        return Prompter::Answer::Cancel;
    }
}
} // namespace

Prompter::Answer MessageBoxPrompter::ask(Icon icon, Buttons buttons, const QString& text)
{
    QMessageBox box(boxIcon(icon), VersionRecord::value(QStringLiteral("ProductName")), text,
                    boxButtons(buttons), m_parent ? m_parent : QApplication::activeWindow());
    return answerOf(box.exec(), buttons);
}
