#pragma once

#include <QComboBox>

// The fax number box `cbFaxNumber`: an editable drop-down of free text (the
// number, then an optional comment naming the recipient) whose list offers
// the numbers sent before. It keeps the text to about 60 characters: typing
// stops once the text is longer than kMaxFaxNumberTyped, and any other change
// that makes it longer than kMaxFaxNumberText cuts it to kMaxFaxNumberTyped.
class FaxNumberBox : public QComboBox
{
    Q_OBJECT

public:
    explicit FaxNumberBox(QWidget* parent = nullptr);

    // Fills the drop-down list with the history, newest first, keeping the text.
    void setHistory(const QStringList& numbers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The character typed would be discarded (Backspace counts as typed).
    bool refusesTypedCharacter(const QKeyEvent& key) const;
    void cbFaxNumberChange(const QString& text);
};
