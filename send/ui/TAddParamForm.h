#pragma once

#include "send/core/AdditionalParameters.h"

#include <QDateTime>
#include <QDialog>

class Prompter;
class QCheckBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;

// "Setting Additional Parameters": the options that travel with every fax
// request besides the number — a wanted send time, a debug report and the
// multi-address list. There is one for the whole process, made at start by
// the hidden main window and shared by all editor windows; its controls are
// its state, kept from one send to the next, and the send command takes a
// copy of it (parameters()) when it composes a request.
//
// The multi-address controls are laid out but stay hidden: the mode is
// reached by programs (the command-line sender, tests) that check the box.
class TAddParamForm : public QDialog
{
    Q_OBJECT

public:
    // prompter: must outlive the dialog.
    explicit TAddParamForm(Prompter& prompter, QWidget* parent = nullptr);
    ~TAddParamForm() override;

    // What the "..." button beside Send Fax does: shows the dialog modally.
    // Whatever the user leaves it with, the controls keep what he set.
    void showModal();

    // The wanted send time: the date picker's date with the time picker's
    // time, local time.
    QDateTime GetSendDateTime() const;

    // The state the send command needs, as a value.
    AdditionalParameters parameters() const;

    // Every opening starts the wanted time at the current time.
    void FormShow(const QDateTime& now);
    // OK: closes unless the multi-address list needs the user's attention.
    void Button1Click();
    // Load...: asks for a file, then loadMultyFaxList.
    void btMultyFaxLoadClick();
    // Fills the list from a text file, asking first when it is not empty.
    // Lines are checked only on OK.
    void loadMultyFaxList(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void layOutControls();
    void cbSendDTClick();
    void cbMultyFaxClick();
    QStringList multyFaxLines() const;
    void setMultyFaxLines(const QStringList& lines);

    Prompter& m_prompter;
    QCheckBox* cbSendDT = nullptr;
    QDateEdit* dtpDate = nullptr;
    QTimeEdit* dtpTime = nullptr;
    QCheckBox* cbDebug = nullptr;
    QCheckBox* cbMultyFax = nullptr;
    QPlainTextEdit* meMultyFax = nullptr;
    QLabel* lbMultyFax = nullptr;
    QPushButton* btMultyFaxLoad = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
