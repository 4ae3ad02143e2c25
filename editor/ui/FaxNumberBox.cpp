#include "editor/ui/FaxNumberBox.h"

#include "send/core/FaxNumber.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {
// Control characters that Ctrl combinations deliver as text are commands
// (copy, paste, select all), not typed characters; Backspace is typed.
bool IsTypedCharacter(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Backspace)
        return true;
    const QString text = key.text();
    return !text.isEmpty() && text.at(0).isPrint();
}
} // namespace

FaxNumberBox::FaxNumberBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // The list only offers what was sent; typing neither completes from it
    // nor adds to it.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::editTextChanged, this, &FaxNumberBox::cbFaxNumberChange);
}

void FaxNumberBox::setHistory(const QStringList& numbers)
{
    const QString text = currentText();
    clear();
    addItems(numbers);
    setCurrentIndex(-1);
    setEditText(text);
}

bool FaxNumberBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
        refusesTypedCharacter(static_cast<const QKeyEvent&>(*event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

bool FaxNumberBox::refusesTypedCharacter(const QKeyEvent& key) const
{
    return IsTypedCharacter(key) && currentText().length() > kMaxFaxNumberTyped;
}

void FaxNumberBox::cbFaxNumberChange(const QString& text)
{
    if (text.length() > kMaxFaxNumberText)
        setEditText(text.left(kMaxFaxNumberTyped));
}
