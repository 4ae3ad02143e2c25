#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// "Sending mail": lists what the SMTP client reports while a request goes
// out. One window serves the whole process; whoever creates it owns it and
// hands it to the send commands. It is not modal, so the other windows stay
// usable during the exchange, and closing it only hides it.
class TFaxSendProgressForm : public QDialog
{
    Q_OBJECT

public:
    explicit TFaxSendProgressForm(QWidget* parent = nullptr);

    // The status lines shown, oldest first.
    QStringList statusLines() const;

public slots:
    void addStatus(const QString& text);

protected:
    // Every showing starts with an empty list.
    void showEvent(QShowEvent* event) override;

private:
    void centreOnScreen();

    QLabel* Label1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
};
